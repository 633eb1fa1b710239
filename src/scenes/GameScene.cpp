#include "scenes/GameScene.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/GameWindow.h"
#include "engine/media/MusicStream.h"
#include "engine/media/SoundManager.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierCropSize.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "engine/ui/LabelTicker.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/Slider.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HelpDialog.h"
#include "game/dialogs/HintDialog.h"
#include "game/progress/KR2Player.h"
#include "game/rules/GameMode.h"
#include "game/rules/SubmitButton.h"
#include "game/words/LetterRack.h"
#include "game/words/LetterSlot.h"
#include "game/words/LetterSprite.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordBar.h"
#include "game/words/WordList.h"
#include "game/words/WordQueue.h"
#include "game/world/AutoTrain.h"
#include "game/world/BoostMeter.h"
#include "game/world/Flagpole.h"
#include "game/world/Furnace.h"
#include "game/world/Landscape.h"
#include "game/world/OneShotEffects.h"
#include "game/world/PlayerTrain.h"
#include "platform/KeyCodes.h"
#include "platform/Time.h"
#include "platform/WindowTypes.h"
#include "scenes/GameSceneLinks.h"
#include "scenes/MapScene.h"
#include "scenes/QuitQuestion.h"
#include "scenes/QueueSlider.h"

namespace {

const ClassRegistration registration("GameScene", CreateFromProperty<GameScene>);

constexpr const char* kSection = "gamescene";
constexpr uint32_t kMusicOpenMode = 306;
constexpr int32_t kMusicFadeOutMs = 1000;
constexpr float kMusicLevel = 0.7f;
constexpr int32_t kMusicFadeInMs = 100;
constexpr int32_t kMusicDelayMs = 600;
constexpr int32_t kBonusClipX = 110;
constexpr int32_t kBonusClipY = 395;
constexpr int32_t kBonusClipWidth = 430;
constexpr int32_t kBonusClipHeight = 160;
constexpr int32_t kBonusRestAlpha = 65;
constexpr int32_t kPerfBarClipHeight = 600;
constexpr int32_t kSlotsGameType = 4;
constexpr int32_t kHudFadeMs = 800;
constexpr int32_t kHudTextWaitMs = 400;
constexpr int32_t kHudBlinkWaitMs = 1200;

// The mode's operations, as the HUD buttons call them.
template <void (GameMode::*Operation)()>
int32_t OnModeButton(void* scene, GameNode* /*sender*/) {
    if (GameMode* mode = static_cast<GameScene*>(scene)->GetMode()) {
        (mode->*Operation)();
    }
    return 0;
}

int32_t OnSubmitButton(void* scene, GameNode* /*sender*/) {
    if (GameMode* mode = static_cast<GameScene*>(scene)->GetMode()) {
        mode->OnSubmitPressed(true);
    }
    return 0;
}

// The mode class of each game type; types 0 and 1 both play the classic way.
constexpr const char* kModeClasses[] = {"ClassicGame", "ClassicGame", "ReplaceGame", "AnagramsGame",
                                        "SlotsGame",   "KeepGame",    "SecretGame",  "JokerGame"};

}  // namespace

GameScene::GameScene(Property* definition)
    : Scene(definition), links_(std::make_unique<GameSceneLinks>(*this)) {
    // The furnace and the boost meter look their parts up while the scene's
    // own definition is being built, so the hooks must be there first.
    links_->Install();
    GameSceneHooks::Install(this);
}

GameScene::~GameScene() {
    ReleaseMode();
    if (GameSceneHooks::Installed() == this) {
        GameSceneHooks::Install(nullptr);
    }
    links_->Uninstall();
}

template <typename T>
T* GameScene::Find(const std::string& name) {
    T* found = ObjectCast<T>(FindChild(name));
    if (found == nullptr) {
        ENGINE_LOG(0, "GameScene: the definition lacks the node \"%s\"", name.c_str());
        complete_ = false;
    }
    return found;
}

void GameScene::Build() {
    Scene::Build();
    WaitForWordList();

    complete_ = true;
    buttons_ = {Find<Button>("BUTTON_PAUSE"), Find<Button>("BUTTON_MENU"),    Find<Button>("BUTTON_SUBMIT"),
                Find<Button>("BUTTON_CLEAR"), Find<Button>("BUTTON_SHUFFLE"), Find<Button>("BUTTON_SKIP")};
    landscape_ = Find<Landscape>("MINIMAP");
    furnace_ = Find<Furnace>("FURNACE");
    boostMeter_ = Find<BoostMeter>("BOOSTMETER");
    wordQueue_ = Find<WordQueue>("WORDQUEUE");
    Slider* queueScroll = Find<Slider>("SCROLL_QUEUE");
    miniTrainStrip_ = Find<GameNode>("MINI_TRAINS");
    perfBars_ = {Find<Sprite>("PERF_BAR0"), Find<Sprite>("PERF_BAR1")};
    miniTrains_ = {Find<Sprite>("MINI_TRAIN1"), Find<Sprite>("MINI_TRAIN2")};
    scoreTicker_ = Find<LabelTicker>("SCORE_TICKER");
    gameTypeLabel_ = Find<Label>("LABEL_GAMETYPE");
    scoreCaption_ = Find<Label>("LABEL_SCORE_TXT");
    levelCaption_ = Find<Label>("LABEL_LEVEL_TXT");
    levelLabel_ = Find<Label>("LABEL_LEVEL");
    coinLabel_ = Find<Label>("LABEL_COINS");
    coinIcon_ = Find<GameNode>("HUD_COINS");
    hudPanel_ = Find<Sprite>("HUD");
    boostGlow_ = Find<Sprite>("BOOST_GLOW");
    endGameSign_ = Find<Sprite>("END_GAME");
    steamNode_ = Find<GameNode>("STEAMNODE");
    bonusText_ = Find<Sprite>("BONUS_TEXT");
    const auto findLettered = [this](const std::string& stem, auto& nodes) {
        for (size_t i = 0; i < nodes.size(); ++i) {
            nodes[i] = Find<GameNode>(stem + static_cast<char>('A' + i));
        }
    };
    findLettered("HAND_", hands_);
    findLettered("PUMP_", pumps_);
    findLettered("KNOB_", knobs_);
    if (!complete_) {
        // Every later step counts on these nodes: no level is set up on a
        // HUD with holes in it.
        ENGINE_LOG(0, "GameScene: the HUD is incomplete; no level will start");
        return;
    }

    BindControlByName("BUTTON_PAUSE", &GameScene::OnPauseButton, this);
    BindControlByName("BUTTON_MENU", &GameScene::OnMenuButton, this);
    BindControlByName("BUTTON_SKIP", &OnModeButton<&GameMode::Skip>, this);
    BindControlByName("BUTTON_CLEAR", &OnModeButton<&GameMode::ClearWordBar>, this);
    BindControlByName("BUTTON_SHUFFLE", &OnModeButton<&GameMode::Shuffle>, this);
    BindControlByName("BUTTON_SUBMIT", &OnSubmitButton, this);
    links_->SetFurnace(furnace_);
    queueSlider_ = std::make_unique<QueueSlider>(*queueScroll, *this);
    wordQueue_->AttachScrollControl(queueSlider_.get());

    miniTrackEnd_ = miniTrains_[0]->GetX();
    // A bar shows wherever it stands on the track, and never past its end.
    const int32_t trackRight = miniTrainStrip_->GetX() + miniTrackEnd_;
    for (Sprite* bar : perfBars_) {
        bar->SetClipRect(0, 0, trackRight, kPerfBarClipHeight);
    }
    // Drawn relative to the strip, the player's train last.
    for (Sprite* train : {miniTrains_[1], miniTrains_[0]}) {
        miniTrainStrip_->AddChild(train);
    }

    auto* submit = ObjectCast<SubmitButton>(buttons_[kSubmit]);
    if (const auto* furnaceDoor = ObjectCast<Sprite>(furnace_->GetDoor()); submit != nullptr && furnaceDoor != nullptr) {
        submit->SetHitArea(*furnaceDoor);
    }

    backEffects_ = new GameNode();
    frontEffects_ = new GameNode();
    GetRootNode()->AddChild(backEffects_.Get());
    GetRootNode()->AddChild(frontEffects_.Get());

    bonusText_->SetClipRect(kBonusClipX, kBonusClipY, kBonusClipWidth, kBonusClipHeight);
    bonusText_->SetVisible(false);

    endPanel_ = new Sprite();
    endPanel_->AddChild(Ref<Sprite>(new Sprite()).Get());
    AddChild(endPanel_.Get());
}

const WordList* GameScene::WaitForWordList() {
    if (wordList_) {
        return wordList_.Get();
    }
    SectionManager* manager = SectionManager::Instance();
    if (manager == nullptr) {
        return nullptr;
    }
    while (manager->RequestSection("wordlist")) {
        platform::SleepMs(10);
    }
    wordList_ = Ref<WordList>(ObjectCast<WordList>(FindResourceData("WORDLIST", "wordlist").Get()));
    if (!wordList_) {
        ENGINE_LOG(1, "GameScene: the word list did not load; no word will count");
    }
    return wordList_.Get();
}

void GameScene::Activate() {
    LetterSlot::LoadResources();
    LetterSprite::LoadResources();
    Scene::Activate();
    if (!complete_) {
        return;
    }
    StartMusic();
    if (GameWindow* window = GameWindow::Instance()) {
        window->GetListeners()->AddListener(this);
    }

    levelStats_ = LevelStats();
    KR2Player& player = Player();
    player.rankChanged = false;
    player.lastPlaytime = 0;
    player.lastWon = false;
    player.lastScore = 0;
    player.lastResult = 0;
    player.coinsBefore = player.coins;
    // The map's next activation follows this level.
    if (const SceneManager* manager = SceneManager::Instance()) {
        if (auto* map = ObjectCast<MapScene>(manager->FindScene("SCENE_MAP"))) map->SetReturnFromGame(true);
    }

    // A new game replaces the old save. A resumed one keeps its save until a
    // newer save replaces it or the game ends, so that leaving before the race
    // starts or a crash loses nothing; a save that could not be resumed is
    // left to ReadSavegame.
    const bool newGame = !resumeFromSaveGame_;
    PrepareLevel();
    ShowHudForMissionKind();
    RefreshCoins(false);
    UpdateHud();
    if (newGame) {
        DeleteSavegame();
    }

    if (player.stats.score == 0) {
        if (auto* help = ObjectCast<HelpDialog>(GetDialog("DIALOG_HELP", true, ""))) {
            help->SetShowAtOnce(true);
            ShowDialog(help);
            OnDialogOpened(this, help);
        }
    }
    StepIntro();

    for (GameNode* layer : {backEffects_.Get(), frontEffects_.Get()}) {
        GetRootNode()->AddChild(layer);
    }
}

void GameScene::StartMusic() const {
    SoundManager* sound = SoundManager::Get();
    const Ref<Object> data = FindResourceData("MUSIC_GAME", "music");
    if (auto* stream = ObjectCast<MusicStream>(data.Get()); sound != nullptr && stream != nullptr) {
        sound->CrossfadeTo(stream, kMusicFadeOutMs, kMusicLevel, kMusicFadeInMs, kMusicDelayMs, kMusicOpenMode);
    }
}

void GameScene::Deactivate() {
    WriteSavegame();
    ResetLevel();
    resumeFromSaveGame_ = false;
    if (GameWindow* window = GameWindow::Instance()) {
        window->GetListeners()->RemoveListener(this);
    }
    Scene::Deactivate();
    // Every way into the race asks for the section again, and its transition
    // waits for it: meanwhile what only the race showed goes.
    LetterSlot::ReleaseResources();
    LetterSprite::ReleaseResources();
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ReleaseSection(kSection);
    }
}

void GameScene::RequestQuit() { AskQuit(this, nullptr); }

KR2Player& GameScene::Player() const {
    const Players* players = Players::Instance();
    if (auto* current = ObjectCast<KR2Player>(players != nullptr ? players->GetCurrent() : nullptr)) {
        return *current;
    }
    if (!standInPlayer_) {
        ENGINE_LOG(1, "GameScene: no current player; a nameless one plays");
        standInPlayer_ = new KR2Player("");
    }
    return *standInPlayer_;
}

const TicketInfo* GameScene::CurrentTicket() const { return Player().currentTicket.Get(); }

int32_t GameScene::GameType() const {
    const TicketInfo* ticket = CurrentTicket();
    return ticket != nullptr ? ticket->GameType : 0;
}

bool GameScene::IsAdventure() const {
    const TicketInfo* ticket = CurrentTicket();
    return ticket == nullptr || ticket->GameMode == TicketInfo::kMapTicket;
}

void GameScene::PrepareLevel() {
    ResetLevel();
    links_->ResetCoinsInFlight();
    boostMeter_->Reset();
    levelStats_ = LevelStats();
    landscape_->Clear(true);

    const bool resumed = resumeFromSaveGame_ && ReadSavegame();
    if (resumeFromSaveGame_ && !resumed) {
        // A save game that cannot be played is no level: back to the choice
        // of classic games.
        resumeFromSaveGame_ = false;
        landscape_->CreateTrains();
        LeaveForClassicScene();
    } else if (!resumed) {
        if (CreateModeGame(false)) {
            mode_->SetUpWordBar(true);
        }
        landscape_->CreateTrains();
        scoreTicker_->SetValue(0);
        scoreTicker_->JumpToTarget();
        for (Sprite* train : miniTrains_) {
            train->SetX(0);
        }
    }

    SetButtonsEnabled(true);
    LayoutModeButtons();

    const bool opponent = !PlaysWithoutOpponent();
    miniTrains_[1]->SetVisible(opponent);
    if (AutoTrain* train = landscape_->GetAutoTrain()) {
        train->SetVisible(opponent);
    }
    landscape_->PlaceStations();
    AttachModeNodes();

    const PlayerTrain* train = landscape_->GetPlayerTrain();
    if (resumed && train != nullptr && train->GetBonus()) {
        if (Flagpole* pole = landscape_->GetFlagpole()) {
            pole->SetFlag(-1);
            Sprite& flag = *pole->GetFlag();
            flag.SetY(flag.GetY() - flag.GetHeight());
        }
        ShowBonusText(false);
    }
}

bool GameScene::PlaysWithoutOpponent() const {
    if (!IsAdventure()) {
        return false;
    }
    return Player().GetTotalPlayCount() < NO_OPPONENT_FIRST_MISSIONS;
}

bool GameScene::CreateModeGame(bool keepTrains) {
    const int32_t type = GameType();
    if (type < 0 || type >= static_cast<int32_t>(std::size(kModeClasses))) {
        ENGINE_LOG(0, "GameScene: game type %d plays no game mode", static_cast<int>(type));
        ReleaseMode();
        return false;
    }
    const Ref<PropertyNode> fresh(new PropertyNode("game", kModeClasses[type]));
    const Ref<Object> made = ClassFactory::Instance().Create(fresh.Get());
    Ref<GameMode> created(ObjectCast<GameMode>(made.Get()));
    if (mode_) {
        mode_->ReleaseNodes(keepTrains);
        mode_->SetRemoved(true);
    }
    mode_ = created;
    return mode_.Get() != nullptr;
}

void GameScene::AttachModeNodes() {
    if (!mode_) {
        return;
    }
    AddChild(mode_.Get());
    mode_->SetTrains(landscape_->GetPlayerTrain(), landscape_->GetAutoTrain());
    const TicketInfo* ticket = CurrentTicket();
    const int32_t units = ticket != nullptr ? ticket->GetRaceUnits() : 0;
    if (PlayerTrain* train = landscape_->GetPlayerTrain()) {
        train->SetUnitsToTravel(units);
    }
    if (AutoTrain* train = landscape_->GetAutoTrain()) {
        train->SetUnitsToTravel(units);
    }
    mode_->AnimateControls();
    nextPerformanceBar_ = 1;
    const int32_t opponentWidth = miniTrains_[1]->GetWidth();
    for (size_t i = 0; i < perfBars_.size(); ++i) {
        const float performance = ticket != nullptr ? ticket->Performance[i] : 0.0f;
        perfBars_[i]->SetX(miniTrainStrip_->GetX() + opponentWidth / 2 +
                           static_cast<int32_t>(static_cast<float>(miniTrackEnd_ - opponentWidth) * performance));
    }
}

void GameScene::LayoutModeButtons() {
    const bool skipAllowed = mode_ && mode_->IsSingleWord();
    const bool notSlots = GameType() != kSlotsGameType;
    Button* skip = buttons_[kSkip];
    Button* shuffle = buttons_[kShuffle];
    for (Button* button : {skip, shuffle}) {
        button->ClearModifiers();
        button->SetAlpha(255);
    }
    const bool wide = notSlots && skipAllowed;
    buttons_[kClear]->SetX(wide ? 200 : 240);
    shuffle->SetX(wide ? 305 : 360);
    skip->SetX(wide ? 410 : 360);
    skip->SetVisible(skipAllowed);
    skip->SetInputEnabled(skipAllowed);
    shuffle->SetVisible(notSlots);
    shuffle->SetInputEnabled(notSlots);
}

void GameScene::SetButtonsEnabled(bool enabled) {
    if (!complete_) {
        return;
    }
    for (Button* button : buttons_) {
        button->SetEnabled(enabled);
    }
}

void GameScene::StepIntro() {
    if (!mode_) {
        return;
    }
    switch (mode_->GetState()) {
        case kNew: {
            mode_->SetState(kWaitingForStart);
            // The race starts when the meter's upgrade show is over, else after the delay.
            if (Modifier* show = boostMeter_->Build()) {
                mode_->AddModifier(Blocking(new ModifierWait(show)));
            } else {
                const int32_t delay = IsAdventure() ? GAME_START_DELAY_ADVENTURE : GAME_START_DELAY_CLASSIC;
                mode_->AddModifier(Blocking(new ModifierWait(delay)));
            }
            mode_->AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { StepIntro(); }, 0));
            break;
        }
        case kWaitingForStart: {
            PlayGameSound("SOUND_MISSIONSTART");
            levelState_ = kRaceRunning;
            mode_->SetState(kPlaying);
            // A game kept at the end sign of a won level holds the next level
            // before its start: that one starts as new, with its own words.
            mode_->StartLevel(resumeFromSaveGame_ && mode_->Stats().playtime > 0);
            NoteQueueWordsAtStart();
            break;
        }
        default:
            break;
    }
}

void GameScene::NoteQueueWordsAtStart() {
    const int32_t type = GameType();
    if (mode_ && type != GameMode::kReplace && type != GameMode::kKeep && type != GameMode::kSecret &&
        type != GameMode::kJoker) {
        mode_->Stats().numWordsInQueue = static_cast<int32_t>(wordQueue_->Words().size());
    }
}

void GameScene::ShowHudForMissionKind() {
    const bool adventure = IsAdventure();
    levelLabel_->SetVisible(!adventure);
    levelCaption_->SetVisible(!adventure);
    coinLabel_->SetVisible(adventure);
    coinIcon_->SetVisible(adventure);
    for (Sprite* bar : perfBars_) {
        bar->SetVisible(adventure);
    }
}

void GameScene::FadeOutCopy(Sprite& node, int32_t milliseconds) {
    const Surface* image = node.GetImage();
    if (image == nullptr || node.GetParent() == nullptr) {
        return;
    }
    Ref<Sprite> copy(new Sprite());
    copy->SetImage(Ref<Surface>(new MemorySurface(*image)).Get());
    copy->SetAnchorKind(node.GetAnchorKind());
    int32_t y = node.GetY();
    if (const auto* label = ObjectCast<Label>(&node); label != nullptr && label->GetFont() != nullptr) {
        // A label draws its picture raised by its font's top pad.
        y -= label->GetFont()->GetTopPad();
    }
    copy->SetPosition(node.GetX(), y);
    if (GameNode* following = node.GetNextSibling()) {
        copy->InsertBefore(following);
    } else {
        node.GetParent()->AddChild(copy.Get());
    }
    auto* fade = new ModifierValue(node.GetAlpha(), 0, milliseconds);
    fade->SetOptions(Modifier::kRemoveNodeAtEnd);
    copy->AddModifier(fade);
}

void GameScene::UpdateHud(bool animate) {
    if (animate) {
        for (Sprite* node : std::initializer_list<Sprite*>{hudPanel_, gameTypeLabel_, scoreCaption_, levelCaption_,
                                                           levelLabel_, scoreTicker_->GetLabel()}) {
            if (node != nullptr) {
                FadeOutCopy(*node, kHudFadeMs);
            }
        }
        for (Label* label : {gameTypeLabel_, levelLabel_}) {
            label->SetAlpha(0);
            label->AddModifier(Blocking(new ModifierWait(kHudTextWaitMs)));
            label->AddModifier(new ModifierValue(0, 255, kHudFadeMs));
        }
    }
    const int32_t type = GameType();
    const std::string suffix = std::to_string(type);
    gameTypeLabel_->SetText(LookUpText("GAME_TYPE" + suffix));
    const TicketInfo* ticket = CurrentTicket();
    levelLabel_->SetText(std::to_wstring(ticket != nullptr ? ticket->CurLevel + 1 : 1));

    if (auto* panel = ObjectCast<Surface>(FindResourceData("HUD_" + suffix, kSection).Get())) {
        hudPanel_->SetImage(panel);
    }
    const Ref<Object> fontData = FindResourceData("FONT_GAME_HEADER_" + suffix, "dialogs");
    if (auto* font = ObjectCast<BitmapFont>(fontData.Get())) {
        for (Label* label : {gameTypeLabel_, scoreCaption_, levelCaption_, levelLabel_, coinLabel_,
                             scoreTicker_->GetLabel()}) {
            if (label != nullptr) {
                label->SetFont(font);
                label->Rebuild();
            }
        }
    }
    if (animate) {
        Ref<AdditiveSprite> blink(new AdditiveSprite());
        if (auto* image = ObjectCast<Surface>(FindResourceData("HUD_BLINK", kSection).Get())) {
            blink->SetImage(image);
        }
        blink->SetPosition(hudPanel_->GetX() - 33 - hudPanel_->GetWidth() / 2, 0);
        blink->SetAlpha(0);
        blink->InsertBefore(gameTypeLabel_);
        blink->AddModifier(Blocking(new ModifierWait(kHudBlinkWaitMs)));
        auto* pulse = new ModifierPulse(0, 128, {120, 120, 0, 0}, 6);
        pulse->SetOptions(Modifier::kRemoveNodeAtEnd);
        blink->AddModifier(pulse);
    }
}

void GameScene::ReleaseMode() {
    if (!mode_) {
        return;
    }
    mode_->ReleaseNodes(false);
    mode_->SetRemoved(true);
    mode_ = nullptr;
}

void GameScene::ResetLevel() {
    if (timer_) {
        timer_->SetRemoved(true);
        timer_ = nullptr;
    }
    if (complete_) {
        for (Sprite* hidden : {boostGlow_, bonusText_, endPanel_.Get(), endGameSign_}) {
            hidden->SetVisible(false);
        }
    }
    CloseAllDialogs();
    // A bubble that lets play go on under it is in no open-dialog list.
    HintDialog::CloseOpenIn(*this);
    for (GameNode* layer : {backEffects_.Get(), frontEffects_.Get()}) {
        if (layer == nullptr) {
            continue;
        }
        layer->RemoveChildren();
    }
    if (furnace_ != nullptr) {
        furnace_->ShutDoor();
    }
    ReleaseMode();
    if (complete_) {
        wordQueue_->Clear();
    }
}

void GameScene::PlayGameSound(const std::string& id) const {
    const Ref<Object> data = FindResourceData(id, kSection);
    if (const auto* sample = ObjectCast<SoundSample>(data.Get())) {
        sample->PlaySample(255, 128, false);
    }
}

bool GameScene::IsPlaying() const { return mode_ && mode_->GetState() == kPlaying && !mode_->IsPaused(); }

// ---- input and in-game events ----

void GameScene::Update(int32_t elapsedMs) {
    Scene::Update(elapsedMs);
    if (!pauseRequested_ && !menuRequested_) {
        return;
    }
    Dialog* dialog = GetDialog(pauseRequested_ ? "DIALOG_PAUSE" : "DIALOG_MENU", true, "");
    if (dialog != nullptr) {
        ShowDialog(dialog);
    }
    pauseRequested_ = false;
    menuRequested_ = false;
    buttons_[kPause]->SetEnabled(true);
    buttons_[kMenu]->SetEnabled(true);
    if (mode_ && mode_->GetWordBar() != nullptr) {
        mode_->GetWordBar()->HideLetters(true);
    }
}

bool GameScene::OnKeyDown(int32_t virtualKey) {
    if (!mode_) {
        return false;
    }
    if (mode_->GetState() == kEndShown) {
        if (virtualKey == static_cast<int32_t>(platform::VK_RETURN)) {
            LeaveGame();
        }
        return false;
    }
    if (!IsPlaying()) {
        return false;
    }
    WordBar* bar = mode_->GetWordBar();
    // The platform's key codes: the scene's own names (Sprite's anchor kinds
    // among them) would shadow plain local ones.
    switch (static_cast<uint32_t>(virtualKey)) {
        case platform::VK_BACK:
            if (mode_->WrongLetterTime() <= 0 && bar != nullptr) {
                mode_->ClearJudgement();
                bar->TakeBackLetters(true, false);
            }
            break;
        case platform::VK_RETURN:
            mode_->OnSubmitPressed();
            break;
        case platform::VK_ESCAPE:
            if (bar == nullptr || bar->Rack(WordBar::kWordRack).OccupiedCount() == 0) {
                mode_->Skip();
            } else {
                mode_->ClearWordBar();
            }
            break;
        case platform::VK_SPACE:
            mode_->Shuffle();
            break;
        case platform::VK_LEFT:
        case platform::VK_RIGHT:
            wordQueue_->ScrollStep(virtualKey == static_cast<int32_t>(platform::VK_RIGHT));
            break;
        case platform::VK_DELETE:
            mode_->Skip();
            break;
        default:
            return false;
    }
    Player().hints[LevelHints::kKeyboardHint] = false;
    return false;
}

bool GameScene::OnChar(int32_t character) {
    if (mode_ && character > 0 && character < 256) {
        mode_->OnCharTyped(static_cast<char>(character));
    }
    return false;
}

bool GameScene::OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
    Scene::OnLButtonDown(x, y, flags, doubleClick);
    if (!mode_) {
        return false;
    }
    if (IsPlaying()) {
        if (WordBar* bar = mode_->GetWordBar()) {
            bar->PickLetterAt(x, y);
            mode_->OnWordBarChanged();
        }
    } else if (mode_->GetState() == kEndShown) {
        const bool inBonusArea = x >= kBonusClipX && x < kBonusClipX + kBonusClipWidth && y >= kBonusClipY &&
                                 y < kBonusClipY + kBonusClipHeight;
        // The sign the player waits at answers a click as well.
        if (inBonusArea || endPanel_->HitTest(x, y) || endGameSign_->HitTest(x, y)) {
            LeaveGame();
        }
    }
    return false;
}

bool GameScene::OnRButtonDown(int32_t /*x*/, int32_t /*y*/, uint32_t /*flags*/, bool /*doubleClick*/) {
    if (IsPlaying()) {
        if (WordBar* bar = mode_->GetWordBar()) {
            bar->TakeBackLetters(true, false);
        }
    }
    return false;
}

void GameScene::OnMessage(uint32_t message, uint32_t /*firstParameter*/, uint32_t /*secondParameter*/) {
    if (message != platform::WM_KILLFOCUS || !IsPlaying() || !buttons_[kPause]->IsEnabled()) {
        return;
    }
    RequestDialog(true);
}

void GameScene::RequestDialog(bool pause) {
    (pause ? pauseRequested_ : menuRequested_) = true;
    buttons_[kPause]->SetEnabled(true);
    buttons_[kMenu]->SetEnabled(true);
}

int32_t GameScene::OnPauseButton(void* scene, GameNode* /*sender*/) {
    static_cast<GameScene*>(scene)->RequestDialog(true);
    return 0;
}

int32_t GameScene::OnMenuButton(void* scene, GameNode* /*sender*/) {
    static_cast<GameScene*>(scene)->RequestDialog(false);
    return 0;
}

bool GameScene::IsMapScene(const Scene* scene) const {
    const SceneManager* manager = SceneManager::Instance();
    return scene != nullptr && manager != nullptr && manager->FindScene("SCENE_MAP") == scene;
}

void GameScene::OnDialogOpened(Scene* /*scene*/, Dialog* dialog) {
    openDialogs_.push_back(dialog);
    if (mode_) {
        mode_->SetPaused(true);
    }
    SetButtonsEnabled(false);
}

void GameScene::OnDialogClosed(Dialog* dialog) {
    std::erase(openDialogs_, dialog);
    if (!openDialogs_.empty()) {
        return;
    }
    if (mode_) {
        mode_->SetPaused(false);
    }
    const int32_t state = mode_ ? mode_->GetState() : kNew;
    const bool levelEnding = state >= 3 && state <= kEndShown;
    if (!levelEnding) {
        SetButtonsEnabled(true);
    }
}

void GameScene::CloseAllDialogs() {
    while (!openDialogs_.empty()) {
        Dialog* last = openDialogs_.back();
        const auto& dialogs = GetDialogMap();
        const auto found = std::find_if(dialogs.begin(), dialogs.end(),
                                        [last](const auto& entry) { return entry.second.Get() == last; });
        if (found == dialogs.end()) {
            // Not one of ours: nothing to hide, only forget it.
            std::erase(openDialogs_, last);
            continue;
        }
        const Ref<Dialog> keep(last);
        Scene::CloseDialog(last);
        // A dialog whose hide did not report back is forgotten all the same.
        std::erase(openDialogs_, last);
    }
}

void GameScene::ArrangeLetters() {
    if (mode_ && mode_->GetWordBar() != nullptr) {
        mode_->GetWordBar()->ArrangeLetters(true);
    }
}

void GameScene::ShowBonusText(bool show) {
    bonusText_->SetVisible(true);
    const Rect& clip = *bonusText_->GetClipRect();
    const int32_t centreX = clip.x + clip.w / 2;
    const int32_t startX = clip.x + clip.w + bonusText_->GetWidth() / 2;
    const int32_t y = bonusText_->GetY();
    if (!show) {
        bonusText_->SetX(centreX);
        bonusText_->SetAlpha(kBonusRestAlpha);
        return;
    }
    bonusText_->SetX(startX);
    bonusText_->SetAlpha(255);
    bonusText_->AddModifier(
        Blocking(new ModifierEaseMove(static_cast<float>(startX), static_cast<float>(y), centreX, y, 500, true, true,
                                      &Smoothstep)));
    if (links_->HighQuality()) {
        bonusText_->AddModifier(new ModifierCallback(
            [layer = frontEffects_](uint32_t, GameNode*) { SpawnBonusSpark(*layer, 325, 470, 0); }, 0));
    }
    bonusText_->AddModifier(Blocking(new ModifierWait(2000)));
    bonusText_->AddModifier(Blocking(new ModifierValue(255, kBonusRestAlpha, 2000)));
}

void GameScene::SetMiniTrainPosition(int32_t index, float progress) {
    if (index < 0 || index > 1) {
        return;
    }
    const TicketInfo* ticket = CurrentTicket();
    if (index == 1 && nextPerformanceBar_ >= 0 && perfBars_[0]->IsVisible() && ticket != nullptr &&
        progress > ticket->Performance[static_cast<size_t>(nextPerformanceBar_)]) {
        const Sprite* bar = perfBars_[static_cast<size_t>(nextPerformanceBar_)];
        ShowTrainGlow(*frontEffects_, bar->GetAbsoluteX() + 3, bar->GetAbsoluteY() + bar->GetHeight() / 2);
        --nextPerformanceBar_;
    }
    Sprite* train = miniTrains_[static_cast<size_t>(index)];
    train->SetX(static_cast<int32_t>(static_cast<float>(miniTrackEnd_ - train->GetWidth()) * progress));
}

void GameScene::RefreshCoins(bool animate) {
    coinLabel_->SetText(std::to_wstring(Player().coins - GetCoinsPending()));
    if (!animate) {
        return;
    }
    coinLabel_->ClearModifiers();
    const int32_t w = coinLabel_->GetWidth();
    const int32_t h = coinLabel_->GetHeight();
    const auto scaled = [](int32_t size, float factor) { return static_cast<int32_t>(static_cast<float>(size) * factor); };
    const std::array<std::pair<float, float>, 5> steps = {
        {{1.0f, 1.0f}, {1.2f, 0.8f}, {0.8f, 1.2f}, {1.2f, 0.8f}, {1.0f, 1.0f}}};
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        coinLabel_->AddModifier(Blocking(new ModifierCropSize(scaled(w, steps[i].first), scaled(h, steps[i].second),
                                                              scaled(w, steps[i + 1].first),
                                                              scaled(h, steps[i + 1].second), 80)));
    }
    PlayGameSound("SOUND_COIN_ADDED");
}

// The coin effects count their coins in flight through the scene's links.
int32_t GameScene::GetCoinsPending() const { return links_->CoinsInFlight(); }

void GameScene::ShowTimer(Modifier* waitFor, int32_t milliseconds) {
    HideTimer();
    Sprite* opponent = miniTrains_[1];
    timer_ = new Sprite();
    if (auto* image = ObjectCast<Surface>(FindResourceData("TIMER", kSection).Get())) {
        timer_->SetImage(image);
    }
    constexpr int32_t kFrames = 16;
    timer_->SetFrameCount(kFrames, false);
    timer_->SetPosition(opponent->GetWidth() / 2, -(opponent->GetHeight() / 2));
    timer_->SetAlpha(0);
    timer_->SetScale(4.0f);
    timer_->SetAnchorKind(Sprite::kCenter);
    opponent->AddChild(timer_.Get());

    if (waitFor != nullptr) {
        timer_->AddModifier(Blocking(new ModifierWait(waitFor)));
    }
    timer_->AddModifier(new ModifierValue(0, 255, 200));
    timer_->AddModifier(new ModifierZoom(450, 4.0f, 1.0f));
    timer_->AddModifier(new ModifierFrame(1, COAL_TIME_DURATION / kFrames));
    timer_->AddModifier(Blocking(new ModifierWait(std::max(0, COAL_TIME_DURATION - (milliseconds + 1580)))));
    timer_->AddModifier(Blocking(new ModifierPulse(255, 0, {80, 80, 100, 180}, 3)));
    timer_->AddModifier(Blocking(new ModifierWait(180)));
    timer_->AddModifier(new ModifierValue(255, 0, 80));
}

void GameScene::HideTimer() {
    if (!timer_) {
        return;
    }
    timer_->ClearModifiers();
    auto* fade = new ModifierValue(timer_->GetAlpha(), 0, 300);
    fade->SetOptions(Modifier::kRemoveNodeAtEnd);
    timer_->AddModifier(fade);
    timer_ = nullptr;
}
