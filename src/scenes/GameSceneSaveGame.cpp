// The save game of a classic game: the ticket, the game mode with its level
// session, the word queue and the race strip, kept in the player's "kr2".
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/LabelTicker.h"
#include "game/constants/GameConstants.h"
#include "game/progress/KR2Player.h"
#include "game/rules/GameMode.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordQueue.h"
#include "game/world/AutoTrain.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"
#include "platform/MessageBox.h"
#include "scenes/GameScene.h"

namespace {

constexpr const char* kSaveName = "kr2";
constexpr const char* kDamagedKeptAside = "its file is damaged; it is kept beside it as a numbered copy";

// The train's share of its race; 0 for a race without length.
float RaceShare(const Train& train) {
    const int64_t length = train.RaceLengthPixels(MINIMAP_PIXELS_PER_UNIT);
    return length > 0 ? train.GetRealX() / static_cast<float>(length) : 0.0f;
}

// Said on screen as well as in the log: the player asked to carry on and
// would otherwise only find the classic games' choice.
void TellCannotResume(const std::string& playerName, const std::string& why) {
    ENGINE_LOG(0, "GameScene: the game of \"%s\" cannot be resumed: %s", playerName.c_str(), why.c_str());
    platform::MessageBox(0, "The saved classic game of \"" + playerName + "\" cannot be carried on: " + why + ".",
                         "Saved game", platform::MB_OK | platform::MB_ICONWARNING);
}

template <typename T>
Ref<T> CreateFromNode(const Property* file, const char* child) {
    const Ref<Object> made(ClassFactory::Instance().Create(Property::Child(file, child)));
    return Ref<T>(ObjectCast<T>(made.Get()));
}

}  // namespace

void GameScene::WriteSavegame() {
    if (levelState_ == kNothingToSave || !complete_) {
        return;
    }
    const TicketInfo* ticket = CurrentTicket();
    if (ticket == nullptr || ticket->GameMode == TicketInfo::kMapTicket || !mode_) {
        return;
    }
    if (levelState_ == kClassicWon) {
        // The finished level is over: keep the start of the next one.
        PrepareNextClassicRace();
        wordQueue_->Clear();
    }
    const Ref<PropertyFile> file(new PropertyFile());
    auto* ticketNode = new PropertyNode("ticket", "TicketInfo");
    file->Add(ticketNode);
    CurrentTicket()->Save(*ticketNode);
    auto* gameNode = new PropertyNode("game", "");
    file->Add(gameNode);
    mode_->Save(*gameNode);
    auto* queueNode = new PropertyNode("wordqueue", "WordQueue");
    file->Add(queueNode);
    wordQueue_->Save(*queueNode);
    auto* landscapeNode = new PropertyNode("landscape", "LandScape");
    file->Add(landscapeNode);
    landscape_->Save(*landscapeNode);

    KR2Player& player = Player();
    if (const Players* players = Players::Instance(); players != nullptr && &player != standInPlayer_.Get()) {
        players->StoreSaveGame(player, kSaveName, *file);
    }
    levelState_ = kNothingToSave;
}

bool GameScene::ReadSavegame() {
    KR2Player& player = Player();
    const Players* players = Players::Instance();
    if (players == nullptr || &player == standInPlayer_.Get()) {
        ENGINE_LOG(0, "GameScene: no game can be resumed without a player");
        return false;
    }
    const std::string& name = player.GetName();
    const Ref<PropertyFile> file(new PropertyFile());
    switch (players->LoadSaveGame(player, kSaveName, *file)) {
        case SavedFileStatus::kLoaded:
            break;
        case SavedFileStatus::kAbsent:
            TellCannotResume(name, "there is no saved game");
            return false;
        case SavedFileStatus::kDamaged:
            TellCannotResume(name, kDamagedKeptAside);
            return false;
        case SavedFileStatus::kUnreadable:
            TellCannotResume(name, "its file could not be read; it is left as it is, and no other game is saved "
                                   "over it");
            return false;
    }
    // The mode reads its session against the ticket it belongs to, so the
    // stored ticket goes in first and comes out again when the mode fails.
    const Ref<TicketInfo> ticket = CreateFromNode<TicketInfo>(file.Get(), "ticket");
    const char* fault = nullptr;
    Ref<GameMode> mode;
    if (!ticket) {
        fault = "holds no ticket";
    } else if (ticket->GameType < 0 || ticket->GameType > TicketInfo::kGameTypeCount) {
        // Entry kGameTypeCount of the game types is the random classic game.
        fault = "names no game type";
    } else {
        const Ref<TicketInfo> previous = player.currentTicket;
        player.currentTicket = ticket;
        mode = CreateFromNode<GameMode>(file.Get(), "game");
        if (!mode) {
            fault = "holds no game mode";
            player.currentTicket = previous;
        }
    }
    if (fault != nullptr) {
        ENGINE_LOG(0, "GameScene: the save game of \"%s\" %s", name.c_str(), fault);
        TellCannotResume(name, players->DiscardSaveGame(player, kSaveName) ? kDamagedKeptAside
                                                                             : "its file is damaged; it is left as it is");
        return false;
    }
    ReleaseMode();
    mode_ = mode;
    landscape_->Load(Property::Child(file.Get(), "landscape"));
    wordQueue_->Load(Property::Child(file.Get(), "wordqueue"));
    scoreTicker_->SetValue(mode_->Stats().score);
    scoreTicker_->JumpToTarget();
    PlaceMiniTrainsFromTrains();
    return true;
}

void GameScene::DeleteSavegame() {
    KR2Player& player = Player();
    if (const Players* players = Players::Instance(); players != nullptr && &player != standInPlayer_.Get()) {
        players->DeleteSaveGame(player, kSaveName);
    }
}

void GameScene::PlaceMiniTrainsFromTrains() {
    if (const PlayerTrain* train = landscape_->GetPlayerTrain()) {
        Sprite* mini = miniTrains_[0];
        mini->SetX(static_cast<int32_t>(static_cast<float>(miniTrackEnd_ - mini->GetWidth()) * RaceShare(*train)));
    }
    if (const AutoTrain* train = landscape_->GetAutoTrain()) {
        SetMiniTrainPosition(1, RaceShare(*train));
    }
}
