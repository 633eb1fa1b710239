#include "engine/foundation/Players.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Paths.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/SavedFile.h"
#include "engine/foundation/TextConversions.h"
#include "platform/CodePage.h"
#include "platform/Directories.h"
#include "platform/Files.h"

namespace {

Ref<Players>& GlobalList() {
    static Ref<Players> list;
    return list;
}

}  // namespace

Players* Players::Create(const std::string& version, bool scrambled) {
    const Defines* defines = Defines::Instance();
    Players* list = new Players(
        !version.empty() || defines == nullptr ? version : defines->GetString("PLAYERS_VERSION"), scrambled);
    GlobalList() = list;
    return list;
}

Players* Players::Instance() {
    return GlobalList().Get();
}

void Players::Free() {
    GlobalList().Reset();
}

Players::Players(std::string version, bool scrambled) : version_(std::move(version)), scrambled_(scrambled) {}

std::string Players::FileNameOf(const std::string& playerName) {
    const std::string escaped = platform::Cp1252ToUtf8(EscapeFileName(playerName, false));
    if (escaped.find_first_not_of('.') != std::string::npos) {
        return escaped;
    }
    std::string safe = escaped.empty() ? "_" : "";
    for (size_t dot = 0; dot < escaped.size(); ++dot) {
        safe += "_._";
    }
    return safe;
}

std::string Players::ListFilePath() const {
    return GetGameDataFolder() + "/" + playersFolder_ + "/players.plrs";
}

std::string Players::PlayerFilePath(const std::string& playerName) const {
    return GetGameDataFolder() + "/" + playersFolder_ + "/" + FileNameOf(playerName) + ".plr";
}

std::string Players::SaveGameFolder(const std::string& playerName) const {
    return GetGameDataFolder() + "/" + saveGamesFolder_ + "/" + FileNameOf(playerName);
}

std::string Players::SaveGamePath(const std::string& playerName, const std::string& saveName) const {
    return SaveGameFolder(playerName) + "/" + saveName + ".sav";
}

void Players::Load() {
    Ref<PropertyFile> file = new PropertyFile();
    file->SetLoadMode(FileMode());
    const SavedFileStatus status = LoadSavedFile(*file, ListFilePath(), "players");
    listUnreadable_ = status == SavedFileStatus::kUnreadable;
    if (listUnreadable_) {
        ENGINE_LOG(1, "The player list could not be read: players are not saved this run");
    }
    if (status == SavedFileStatus::kLoaded) {
        ReadXml(Property::Child(file.Get(), "players"));
    }
    for (const Ref<PlayerProfile>& player : players_) {
        if (player.Get() != current_) {
            LoadPlayer(*player);
        }
    }
    if (current_ != nullptr) {
        LoadPlayer(*current_);
    }
}

void Players::Save() {
    if (listUnreadable_) {
        ENGINE_LOG(2, "Players are not saved: the player list could not be read at start-up");
        ReportKeptUnreadable("the player list", ListFilePath(), FileMode());
        return;
    }
    const SaveBatch batch;
    MakeDirectoryChain(GetGameDataFolder() + "/" + playersFolder_);
    Ref<PropertyFile> file = new PropertyFile();
    file->SetLoadMode(FileMode());
    file->SetOutputFileName(ListFilePath());
    Ref<PropertyNode> node = new PropertyNode("players", "Players");
    WriteXml(node.Get());
    file->Add(node.Get());
    SaveSavedFile(*file, "the player list");
    for (const Ref<PlayerProfile>& player : players_) {
        SavePlayer(*player);
    }
}

void Players::Add(PlayerProfile* player) {
    players_.emplace_back(player);
    if (players_.size() == 1) {
        current_ = player;
    }
}

void Players::DeletePlayerFile(PlayerProfile* player) {
    const Ref<PlayerProfile> kept(player);
    // Without a readable list, files of that name may belong to a player of
    // the list: they stay.
    if (!listUnreadable_) {
        DeletePlayerFiles(player->GetName());
        knownProgress_[PlayerFilePath(player->GetName())] = nullptr;
    }
    players_.erase(std::remove(players_.begin(), players_.end(), kept), players_.end());
    if (current_ == player) {
        current_ = nullptr;
    }
    Save();
}

void Players::DeletePlayerFiles(const std::string& name) const {
    if (platform::PathExists(SaveGameFolder(name))) {
        DeleteFolderTree(SaveGameFolder(name));
    }
    const std::string playerFile = MakeMediaFileName(FileMode(), PlayerFilePath(name));
    if (platform::PathExists(playerFile)) {
        platform::RemoveFile(playerFile);
    }
}

void Players::SetAsideListOfAnotherVersion(const List& read, const std::string& listVersion) {
    ENGINE_LOG(2, "Player list version \"%s\" is not \"%s\": its players are set aside", listVersion.c_str(),
               version_.c_str());
    if (!KeepDamagedCopy(ListFilePath(), FileMode())) {
        listUnreadable_ = true;
        return;
    }
    const std::string saveGameEnding = MakeMediaFileName(FileMode(), ".sav");
    for (const Ref<PlayerProfile>& player : read) {
        SetAsideDamaged(PlayerFilePath(player->GetName()), FileMode());
        std::vector<platform::DirectoryEntry> entries;
        platform::ListDirectory(SaveGameFolder(player->GetName()), entries);
        for (const platform::DirectoryEntry& entry : entries) {
            const std::string& name = entry.name;
            if (!entry.isDirectory && name.size() > saveGameEnding.size() &&
                name.compare(name.size() - saveGameEnding.size(), saveGameEnding.size(), saveGameEnding) == 0) {
                SetAsideDamaged(SaveGameFolder(player->GetName()) + "/" + name, LoadMode::File);
            }
        }
    }
    // Rewritten without them, so that the next run does not set aside again.
    Save();
}

bool Players::HasName(const std::string& name) const {
    return FindByName(name) != players_.end();
}

Players::List::const_iterator Players::FindByName(const std::string& name) const {
    const std::string wanted = FileNameOf(name);
    return std::find_if(players_.begin(), players_.end(), [&wanted](const Ref<PlayerProfile>& player) {
        return FileNameOf(player->GetName()) == wanted;
    });
}

void Players::LoadPlayer(PlayerProfile& player) {
    player.ResetProgress();
    Ref<PropertyFile> file = new PropertyFile();
    file->SetLoadMode(FileMode());
    const std::string path = PlayerFilePath(player.GetName());
    const SavedFileStatus status = LoadSavedFile(*file, path, "player");
    if (status == SavedFileStatus::kLoaded) {
        Property* progress = Property::Child(file.Get(), "player");
        knownProgress_[path] = progress;
        player.ReadProgress(progress);
    } else if (status == SavedFileStatus::kUnreadable) {
        unreadablePlayerFiles_.insert(path);
    } else {
        knownProgress_[path] = nullptr;
    }
}

void Players::SavePlayer(const PlayerProfile& player) {
    if (listUnreadable_) {
        return;
    }
    const std::string path = PlayerFilePath(player.GetName());
    if (unreadablePlayerFiles_.count(path) != 0) {
        ENGINE_LOG(2, "Player \"%s\" is not saved: the player's file could not be read at start-up",
                   player.GetName().c_str());
        ReportKeptUnreadable("the player file of \"" + player.GetName() + "\"", path, FileMode());
        return;
    }
    const auto known = knownProgress_.find(path);
    if (&player != current_) {
        if (known != knownProgress_.end() && known->second.Get() != nullptr) {
            WritePlayerFile(player.GetName(), known->second);
        }
        return;
    }
    if (known == knownProgress_.end() && platform::PathExists(MakeMediaFileName(FileMode(), path))) {
        ENGINE_LOG(2, "Player \"%s\" is not saved: the player's file was not read this run",
                   player.GetName().c_str());
        return;
    }
    Ref<Property> progress = new PropertyNode("player", "Player");
    player.WriteProgress(progress.Get());
    if (Property::NodeOf(progress.Get()).IndexOrder().empty()) {
        return;
    }
    // Kept whether or not the write succeeds: the next save tries again with it.
    knownProgress_[path] = progress;
    WritePlayerFile(player.GetName(), progress);
}

void Players::WritePlayerFile(const std::string& playerName, const Ref<Property>& progress) const {
    MakeDirectoryChain(GetGameDataFolder() + "/" + playersFolder_);
    Ref<PropertyFile> file = new PropertyFile();
    file->SetLoadMode(FileMode());
    file->SetOutputFileName(PlayerFilePath(playerName));
    file->Add(progress.Get());
    SaveSavedFile(*file, "the player file of \"" + playerName + "\"");
}

SavedFileStatus Players::LoadSaveGame(const PlayerProfile& player, const std::string& saveName,
                                      PropertyFile& file) const {
    file.SetLoadMode(FileMode());
    const SavedFileStatus status = LoadSavedFile(file, SaveGamePath(player.GetName(), saveName), "");
    if (status == SavedFileStatus::kDamaged) {
        DeleteSaveGame(player, saveName);
    }
    return status;
}

bool Players::DiscardSaveGame(const PlayerProfile& player, const std::string& saveName) const {
    if (!KeepDamagedCopy(SaveGamePath(player.GetName(), saveName), FileMode())) {
        return false;
    }
    DeleteSaveGame(player, saveName);
    return true;
}

void Players::StoreSaveGame(const PlayerProfile& player, const std::string& saveName, PropertyFile& file) const {
    if (listUnreadable_) {
        ReportSaveFailure("the save game", MakeMediaFileName(FileMode(), SaveGamePath(player.GetName(), saveName)),
                          "the player list could not be read at start-up, so no player's files are saved this run");
        return;
    }
    MakeDirectoryChain(SaveGameFolder(player.GetName()));
    file.SetLoadMode(FileMode());
    file.SetOutputFileName(SaveGamePath(player.GetName(), saveName));
    SaveSavedFile(file, "the save game");
}

bool Players::HasSaveGame(const PlayerProfile& player, const std::string& saveName) const {
    return platform::FileExists(MakeMediaFileName(FileMode(), SaveGamePath(player.GetName(), saveName)));
}

void Players::DeleteSaveGame(const PlayerProfile& player, const std::string& saveName) const {
    if (!HasSaveGame(player, saveName)) {
        return;
    }
    // A save game this run cannot read is left for the player, as nothing is
    // saved over it either: it may be theirs again once it can be read.
    const std::string path = MakeMediaFileName(FileMode(), SaveGamePath(player.GetName(), saveName));
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        ENGINE_LOG(2, "\"%s\" cannot be read, so it is not deleted", path.c_str());
        return;
    }
    platform::RemoveFile(path);
}

void Players::ReadXml(const Property* node) {
    const Property* names = Property::Child(node, "playernames");
    if (names != nullptr && names->GetKind() == Property::kVector) {
        // Every entry is built before the list is acted on: setting the list
        // aside rewrites it, and an entry that builds no player must still be
        // in the copy kept of the file.
        List read;
        for (const Ref<Property>& item : static_cast<const PropertyVector*>(names)->Items()) {
            const Ref<Object> created = ClassFactory::Instance().Create(&Property::NodeOf(item.Get()));
            if (PlayerProfile* player = ObjectCast<PlayerProfile>(created.Get())) {
                read.emplace_back(player);
            } else {
                ENGINE_LOG(3, "A player list entry of type \"%s\" is not a player and is skipped",
                           item->TypeName().c_str());
            }
        }
        if (read.size() != static_cast<const PropertyVector*>(names)->Items().size() &&
            !KeepDamagedCopy(ListFilePath(), FileMode())) {
            listUnreadable_ = true;
        }
        const std::string listVersion = Property::AsString(Property::Child(node, "version"));
        if (version_.empty()) {
            // Without the expected version (the constants did not load) a
            // mismatch proves nothing.
            ENGINE_LOG(3, "No player list version is expected; the list's version is not checked");
        }
        if (!version_.empty() && listVersion != version_) {
            SetAsideListOfAnotherVersion(read, listVersion);
            return;
        }
        players_.insert(players_.end(), read.begin(), read.end());
    }
    if (!players_.empty()) {
        const auto found = FindByName(Property::AsString(Property::Child(node, "currentplayer")));
        if (found != players_.end()) {
            current_ = found->Get();
        }
    }
}

void Players::WriteXml(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    target.Add(PropertyValue::FromText("version", NarrowToWide(version_), false));
    if (current_ != nullptr) {
        target.Add(PropertyValue::FromText("currentplayer", NarrowToWide(current_->GetName()), false));
    }
    Ref<PropertyVector> names = new PropertyVector("playernames");
    for (const Ref<PlayerProfile>& player : players_) {
        Ref<PropertyNode> item = new PropertyNode("", "");
        player->Write(item.Get());
        names->Add(item.Get());
    }
    target.Add(names.Get());
}
