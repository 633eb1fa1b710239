#pragma once

#include <string>

#include "engine/foundation/Archive.h"

class PropertyFile;

// Reading and writing the files the program keeps for the player (player
// list, player files, save games, high scores).

// kUnreadable: the file is there but could not be read (a folder, FIFO or
// device in its place, an I/O error), or it is damaged and no copy of it
// could be kept. Either way it is the only copy of its data, so nothing may
// be saved over it this run.
enum class SavedFileStatus { kAbsent, kLoaded, kDamaged, kUnreadable };

// Loads `path` into `file` in the file's load mode. With a non-empty
// `rootName` the file must hold a node of that name. A file that is there but
// cannot be parsed, or lacks that node, is reported in the log, adds nothing
// to `file` and is copied aside (see KeepDamagedCopy).
SavedFileStatus LoadSavedFile(PropertyFile& file, const std::string& path, const std::string& rootName);

// Copies the file stored for `path` in `loadMode` aside under the next
// numbered ".damaged-N" name, so that the next save, which replaces it, loses
// nothing. Logs where the copy went; false, also logged, when none was made.
bool KeepDamagedCopy(const std::string& path, LoadMode loadMode);

// Renames the file stored for `path` in `loadMode`, when there is one, to the
// name KeepDamagedCopy would give its copy, and logs where it went.
void SetAsideDamaged(const std::string& path, LoadMode loadMode);

// Writes the file to its output name, or, while a SaveBatch is open on this
// thread, into that batch. A failed write leaves the previous file in place
// and is logged and told to the player (ReportSaveFailure); so is finding
// something other than a readable regular file at that name, which is never
// replaced. A file changed on disk since this run last read or wrote it is
// first copied aside under the next numbered ".changed-N" name, and the
// player told (once a run); without a copy it is not replaced. `what` names
// the file for the player, as in "the player list". False when nothing was
// written.
bool SaveSavedFile(const PropertyFile& file, const std::string& what);

// While one is open, the saved files of this thread are written and flushed
// but not yet put in place; when the first one opened ends, they are renamed
// over their names one after another, so that the files of one save change
// together. One opened inside another adds to the outer one.
class SaveBatch {
public:
    SaveBatch();
    SaveBatch(const SaveBatch&) = delete;
    SaveBatch& operator=(const SaveBatch&) = delete;
    ~SaveBatch();

private:
    bool opened_;
};

// Tells the player that `what`, stored at `path`, could not be saved, and
// why: the first time in a run in the game's message box, besides the log;
// later failures of the run reach the log only.
void ReportSaveFailure(const std::string& what, const std::string& path, const std::string& why);

// A file left as it is because it could not be read at start-up
// (kUnreadable) is not saved this run: that is told as a failure to save.
void ReportKeptUnreadable(const std::string& what, const std::string& path, LoadMode loadMode);

// Lets the next failure or change show its message box again.
void ForgetReportedSaveFailureForTesting();
