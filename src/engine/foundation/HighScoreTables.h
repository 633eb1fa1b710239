#pragma once

#include <map>
#include <string>

#include "engine/foundation/Archive.h"
#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/ScoreTable.h"

class Property;

// The named high-score tables, kept in one file beside the player files.
class HighScoreTables : public Object {
    ENGINE_CLASS(HighScoreTables, Object)

public:
    using TableMap = std::map<std::string, Ref<ScoreTable>>;

    // Builds the store and makes it the global one. With `scrambledFile` the
    // file is read and written scrambled.
    static HighScoreTables* Create(bool scrambledFile, const std::string& version);
    // The global store, or null before Create and after Free.
    static HighScoreTables* Instance();
    static void Free();

    // Reads the file; a missing or unusable one leaves the tables as they are.
    void Load();
    // Writes the file, unless Load found it there but could not read it.
    void Save() const;
    // Takes the version and the tables of a "highscoretables" node, each
    // table replacing one of the same name.
    void ReadXml(const Property* node);

    TableMap& GetTables() { return tables_; }
    const TableMap& GetTables() const { return tables_; }
    const std::string& GetVersion() const { return version_; }
    void SetKeepLastScores(bool keep) { keepLastScores_ = keep; }

    // Where the tables are stored, without the ".!" of the scrambled form.
    static std::string FilePath();

private:
    HighScoreTables(bool scrambledFile, std::string version);
    LoadMode FileMode() const { return scrambledFile_ ? LoadMode::ScrambledFile : LoadMode::File; }

    std::string version_;
    TableMap tables_;
    bool keepLastScores_ = false;
    bool scrambledFile_;
    bool fileUnreadable_ = false;
};
