#pragma once

#include <string>

#include "engine/foundation/Archive.h"

class PropertyFile;

// Reading and writing the files the program keeps for the player (player
// list, player files, save games, high scores).

// kUnreadable: the file is there but could not be read (a folder in its
// place, an I/O error), or it is damaged and no copy of it could be kept.
// Either way it is the only copy of its data, so nothing may be saved over
// it this run.
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

// Writes the file to its output name; a failed write is logged and leaves the
// previous file in place.
void SaveSavedFile(const PropertyFile& file);
