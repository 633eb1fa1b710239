#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/Object.h"
#include "engine/foundation/PlayerProfile.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/SavedFile.h"

class PropertyFile;

// The one list of player profiles with the current player. Keeps the list
// file, one progress file per player and each player's save games, all under
// the game data folder; a player's files are named after the player's name
// made safe for file names. A list file that is there but cannot be read is
// never written over: the run then goes on without saving any player's files,
// which the list would no longer name. A player file that cannot be read is
// likewise left alone.
//
// A profile may keep part of its progress in a record shared by every player
// (the game's map), which only ever holds the current player's. So a player
// who is not current is saved with the progress last read from or written to
// that player's file, never with what the profiles hold at that moment; and a
// file that is on disk but was not read this run is never written over.
class Players : public Object {
    ENGINE_CLASS(Players, Object)

public:
    using List = std::vector<Ref<PlayerProfile>>;

    // Makes the list and the global one. An empty `version` takes the
    // constant PLAYERS_VERSION. With `scrambled` every file is stored
    // scrambled.
    static Players* Create(const std::string& version, bool scrambled);
    // The global list, or null before Create and after Free.
    static Players* Instance();
    static void Free();

    // Reads the list file, then every listed player's file, the current
    // player's last, so that the shared record is left with that player's.
    void Load();
    // Writes the list file, then every listed player's file.
    void Save();

    // Appends the player; the first player of an empty list becomes current.
    void Add(PlayerProfile* player);
    // Removes the player for good: save games, player file and list entry,
    // then saves the list. Clears the current player when it is this one.
    void DeletePlayerFile(PlayerProfile* player);

    // Names compare by their file-name form, so names that share files match.
    bool HasName(const std::string& name) const;
    List::const_iterator FindByName(const std::string& name) const;

    // Forgets the player's progress (ResetProgress), then reads the player's
    // file into it.
    void LoadPlayer(PlayerProfile& player);
    // The current player is written as the profile has it now; any other with
    // what its file was last read with or written with this run, and not at
    // all when nothing was.
    void SavePlayer(const PlayerProfile& player);

    // Reads the save game into `file`. A damaged one is kept aside as a
    // numbered damaged copy and removed, so it is not offered again; one that
    // cannot be read is left where it is.
    SavedFileStatus LoadSaveGame(const PlayerProfile& player, const std::string& saveName, PropertyFile& file) const;
    // A save game that was read but holds no game it can be resumed as: kept
    // aside as a numbered damaged copy and removed; left where it is when no
    // copy could be kept, and then false.
    bool DiscardSaveGame(const PlayerProfile& player, const std::string& saveName) const;
    void StoreSaveGame(const PlayerProfile& player, const std::string& saveName, PropertyFile& file) const;
    bool HasSaveGame(const PlayerProfile& player, const std::string& saveName) const;
    void DeleteSaveGame(const PlayerProfile& player, const std::string& saveName) const;

    virtual void ReadXml(const Property* node);
    virtual void WriteXml(Property* node) const;

    const List& GetPlayers() const { return players_; }
    PlayerProfile* GetCurrent() const { return current_; }
    void SetCurrent(PlayerProfile* player) { current_ = player; }
    const std::string& GetVersion() const { return version_; }

    // A player's name as it appears in file and folder names: EscapeFileName
    // without kept spaces, in UTF-8, and a name that would escape to nothing or to dots
    // only gets each dot as "_._" ("" becomes "_"), so that it can never name
    // the folder it stands in or the one above it.
    static std::string FileNameOf(const std::string& playerName);

    std::string ListFilePath() const;
    std::string PlayerFilePath(const std::string& playerName) const;
    std::string SaveGameFolder(const std::string& playerName) const;
    std::string SaveGamePath(const std::string& playerName, const std::string& saveName) const;

private:
    Players(std::string version, bool scrambled);
    LoadMode FileMode() const { return scrambled_ ? LoadMode::ScrambledFile : LoadMode::File; }
    // The player file and save games stored under the name.
    void DeletePlayerFiles(const std::string& name) const;
    // A list written under another version names players this version
    // cannot take: their files and save games, and the list, are kept aside
    // as damaged copies before the list is rewritten without them.
    void SetAsideListOfAnotherVersion(const List& read, const std::string& listVersion);
    void WritePlayerFile(const std::string& playerName, const Ref<Property>& progress) const;

    List players_;
    std::string version_;
    std::string playersFolder_ = "players";
    std::string saveGamesFolder_ = "savegames";
    PlayerProfile* current_ = nullptr;  // one of players_, or null
    bool scrambled_;
    bool listUnreadable_ = false;
    std::set<std::string> unreadablePlayerFiles_;
    // By player file path: the progress that file was last read with or
    // written with this run; null when it was found missing or damaged.
    std::map<std::string, Ref<Property>> knownProgress_;
};
