#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/foundation/Archive.h"
#include "engine/foundation/Object.h"
#include "engine/foundation/PlayerProfile.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/SavedFile.h"

class Property;
class PropertyFile;

// The one list of player profiles with the current player. Keeps the list
// file, one progress file per player and each player's save games, all under
// the game data folder; a player's files are named after the player's name
// made safe for file names. A list file that is there but cannot be read is
// never written over: the run then goes on without saving any player's files,
// which the list would no longer name. A player file that cannot be read is
// likewise left alone.
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

    // Reads the list file, then every listed player's file.
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

    void LoadPlayer(PlayerProfile& player);
    void SavePlayer(const PlayerProfile& player) const;

    // Reads the save game into `file`. A damaged one is kept aside as a
    // numbered damaged copy and removed, so it is not offered again; one that
    // cannot be read is left where it is.
    SavedFileStatus LoadSaveGame(const PlayerProfile& player, const std::string& saveName, PropertyFile& file) const;
    // A save game that was read but holds no game it can be resumed as: kept
    // aside as a numbered damaged copy and removed; left where it is when no
    // copy could be kept.
    void DiscardSaveGame(const PlayerProfile& player, const std::string& saveName) const;
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

    List players_;
    std::string version_;
    std::string playersFolder_ = "players";
    std::string saveGamesFolder_ = "savegames";
    PlayerProfile* current_ = nullptr;  // one of players_, or null
    bool scrambled_;
    bool listUnreadable_ = false;
    std::set<std::string> unreadablePlayerFiles_;
};
