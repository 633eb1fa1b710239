#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/ListenerList.h"
#include "engine/foundation/Ref.h"
#include "engine/ui/Scene.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/progress/LevelStats.h"

class BoostMeter;
class Button;
class Furnace;
class GameMode;
class KR2Player;
class Label;
class LabelTicker;
class Landscape;
class Modifier;
class QueueSlider;
class Sprite;
class TicketInfo;
class WordList;
class WordQueue;
class GameSceneLinks;

// The screen a level is played on: the race strip, furnace, boost meter,
// word bar and queue of the game mode, and the HUD around them. Built once;
// every activation sets a level up on it anew and every deactivation tears
// it down. The subsystems reach it through the hooks it installs.
class GameScene : public Scene, public MessageListener, public GameSceneHooks {
    ENGINE_CLASS(GameScene, Scene)

public:
    // Game-mode states this scene sets or tests.
    static constexpr int32_t kNew = 0;
    static constexpr int32_t kWaitingForStart = 1;
    static constexpr int32_t kPlaying = 2;
    // The level end: banner, coin award, passengers and trophies, the end
    // sign waiting for the player, then the way to the next classic level.
    static constexpr int32_t kBannerShown = 3;
    static constexpr int32_t kCoinAward = 4;
    static constexpr int32_t kRewards = 5;
    static constexpr int32_t kEndShown = 6;
    static constexpr int32_t kLeavingForNextLevel = 7;
    static constexpr int32_t kNextLevelWaiting = 8;
    // Level states: what a save would keep.
    static constexpr int32_t kNothingToSave = 0;
    static constexpr int32_t kClassicWon = 1;
    static constexpr int32_t kRaceRunning = 2;

    explicit GameScene(Property* definition);
    ~GameScene() override;

    void Activate() override;
    void Deactivate() override;
    void Build() override;
    void RequestQuit() override;
    void Update(int32_t elapsedMs) override;

    bool OnKeyDown(int32_t virtualKey) override;
    bool OnChar(int32_t character) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnRButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    // Window messages: a lost focus during play asks for the pause dialog.
    void OnMessage(uint32_t message, uint32_t firstParameter, uint32_t secondParameter) override;

    // GameSceneHooks
    bool IsGameScene(const Scene* scene) const override { return scene == this; }
    bool IsMapScene(const Scene* scene) const override;
    void OnDialogOpened(Scene* scene, Dialog* dialog) override;
    void OnDialogClosed(Dialog* dialog) override;
    void OnLevelStopped() override {}
    void OpenTrophyScreen(Scene* /*scene*/) override {}
    void ArrangeLetters() override;

    void CloseAllDialogs();
    void SetButtonsEnabled(bool enabled);
    void ShowBonusText(bool show);
    void SetMiniTrainPosition(int32_t index, float progress);
    // The player's coins less those still on their way to the counter.
    void RefreshCoins(bool animate);
    void ShowTimer(Modifier* waitFor, int32_t milliseconds);
    void HideTimer();
    // Builds and shows the game mode of the ticket's type (0 to 7); false,
    // logged, for any other type, leaving no mode.
    bool CreateModeGame(bool keepTrains);
    void LayoutModeButtons();

    // The race is over and booked: sound, banner, popped coals.
    void OnLevelEnd();
    // The next step of the level end; each reward calls it when it is done.
    void AdvanceLevelEnd();
    void ShowEndGame();
    // Enter or a click on the end sign: the map, the next classic level or
    // the classic scene.
    void LeaveGame();
    void StartNextClassicLevel();
    // The next level of a classic game on the same scene: raised rating,
    // new words, the score carried over.
    void PrepareNextClassicRace();
    // Keeps a running or just won classic game for later; writes once.
    void WriteSavegame();
    // Arrived, and first or without an opponent.
    bool IsLevelWon() const;

    // The game mode of the running level, or null.
    GameMode* GetMode() const { return mode_.Get(); }
    // The current player (a stand-in when no player is chosen).
    KR2Player& Player() const;
    const TicketInfo* CurrentTicket() const;
    int32_t GameType() const;
    bool IsAdventure() const;
    // Loads the dictionary on first use; null when it never loads.
    const WordList* WaitForWordList();
    const WordList* Words() const { return wordList_.Get(); }

    WordQueue* GetWordQueue() const { return wordQueue_; }
    Landscape* GetLandscape() const { return landscape_; }
    Furnace* GetFurnace() const { return furnace_; }
    BoostMeter* GetBoostMeter() const { return boostMeter_; }
    GameNode* GetBackEffectLayer() const { return backEffects_.Get(); }
    GameNode* GetFrontEffectLayer() const { return frontEffects_.Get(); }
    Sprite* GetBonusText() const { return bonusText_; }
    Sprite* GetBoostGlow() const { return boostGlow_; }
    Sprite* GetTimer() const { return timer_.Get(); }
    Sprite* GetMiniTrain(int index) const { return miniTrains_[static_cast<size_t>(index)]; }
    Sprite* GetPerformanceBar(int index) const { return perfBars_[static_cast<size_t>(index)]; }
    Button* GetButton(int index) const { return buttons_[static_cast<size_t>(index)]; }
    Label* GetCoinLabel() const { return coinLabel_; }
    LevelStats& GetLevelStats() { return levelStats_; }
    LabelTicker* GetScoreTicker() const { return scoreTicker_; }
    const std::vector<Dialog*>& GetOpenDialogs() const { return openDialogs_; }
    bool IsPauseRequested() const { return pauseRequested_; }
    bool IsMenuRequested() const { return menuRequested_; }
    int32_t GetLevelState() const { return levelState_; }
    void SetLevelState(int32_t state) { levelState_ = state; }
    int32_t GetCoinsPending() const;
    bool IsComplete() const { return complete_; }
    int32_t GetNextPerformanceBar() const { return nextPerformanceBar_; }
    void SetResumeFromSaveGame(bool resume) { resumeFromSaveGame_ = resume; }

    // Button order of GetButton.
    enum ButtonIndex { kPause = 0, kMenu, kSubmit, kClear, kShuffle, kSkip, kButtonCount };

    static int32_t OnPauseButton(void* scene, GameNode* sender);
    static int32_t OnMenuButton(void* scene, GameNode* sender);

private:
    // The node of the definition; null, logged, marks the HUD incomplete.
    template <typename T>
    T* Find(const std::string& name);
    void PrepareLevel();
    void AttachModeNodes();
    // The HUD of the ticket's game type; animated, the old panel and texts
    // fade out over the new ones and the panel blinks.
    void UpdateHud(bool animate = false);
    // A copy of the node's picture that fades out where it stands.
    void FadeOutCopy(Sprite& node, int32_t milliseconds);
    void ShowHudForMissionKind();
    void ResetLevel();
    void ReleaseMode();
    // Runs the start sequence one step further; re-schedules itself.
    void StepIntro();
    bool PlaysWithoutOpponent() const;
    // The stored game replaces ticket and mode; false, logged, with nothing
    // changed, when there is none to resume. A save game that is damaged,
    // or makes no ticket, no known game type or no game mode, is kept aside
    // as a damaged copy; one that cannot be read stays where it is.
    bool ReadSavegame();
    void PlaceMiniTrainsFromTrains();
    void DeleteSavegame();
    // With the classic scene's sections asked for, as the menu's way there.
    void LeaveForClassicScene() const;
    void FadeMusic(float target, int32_t durationMs) const;
    void SwitchToScene(const char* sceneName) const;
    void CrossfadeMiniTrainsToStart();
    // The queue's size at the start, for the words-found trophy; types whose
    // queue grows as they play keep none.
    void NoteQueueWordsAtStart();
    void RequestDialog(bool pause);
    void PlayGameSound(const std::string& id) const;
    void StartMusic() const;
    bool IsPlaying() const;

    // False until a build found every node of the HUD.
    bool complete_ = false;
    bool pauseRequested_ = false;
    bool menuRequested_ = false;
    int32_t levelState_ = kNothingToSave;
    std::array<Button*, kButtonCount> buttons_{};
    GameNode* miniTrainStrip_ = nullptr;
    std::array<Sprite*, 2> miniTrains_{};
    std::array<Sprite*, 2> perfBars_{};
    int32_t miniTrackEnd_ = 0;
    int32_t nextPerformanceBar_ = 1;
    std::array<GameNode*, 9> hands_{};
    std::array<GameNode*, 2> pumps_{};
    std::array<GameNode*, 4> knobs_{};
    Sprite* bonusText_ = nullptr;
    Ref<Sprite> endPanel_;
    Sprite* endGameSign_ = nullptr;
    Sprite* hudPanel_ = nullptr;
    Label* gameTypeLabel_ = nullptr;
    Label* scoreCaption_ = nullptr;
    Label* levelLabel_ = nullptr;
    Label* levelCaption_ = nullptr;
    Sprite* boostGlow_ = nullptr;
    Landscape* landscape_ = nullptr;
    Furnace* furnace_ = nullptr;
    BoostMeter* boostMeter_ = nullptr;
    WordQueue* wordQueue_ = nullptr;
    Ref<WordList> wordList_;
    LabelTicker* scoreTicker_ = nullptr;
    GameNode* coinIcon_ = nullptr;
    Label* coinLabel_ = nullptr;
    GameNode* steamNode_ = nullptr;
    Ref<GameNode> backEffects_;
    Ref<GameNode> frontEffects_;
    Ref<Sprite> timer_;
    LevelStats levelStats_;
    bool resumeFromSaveGame_ = false;
    std::vector<Dialog*> openDialogs_;
    Ref<GameMode> mode_;
    // Only for a run without a chosen player, made on first need.
    mutable Ref<KR2Player> standInPlayer_;
    std::unique_ptr<QueueSlider> queueSlider_;
    std::unique_ptr<GameSceneLinks> links_;
};
