#pragma once

#include <array>
#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/Scene.h"

class GameNode;
class Label;
class Sprite;
class Switch;

// The single games: a column of game-type switches, the five best results
// of the selected type with its description on a panel in the type's
// colour, START and BACK. A type unlocks when the player has won a race of
// it on the map; the mixed type once every track is bought, which moves the
// column apart once per player. A result that entered a table is
// highlighted the next time the scene shows.
class ClassicScene : public Scene {
    ENGINE_CLASS(ClassicScene, Scene)

public:
    static constexpr int32_t kTypeCount = 9;
    static constexpr int32_t kMixedType = 8;
    static constexpr int32_t kRows = 5;
    static constexpr int32_t kSwitchX = 30;
    static constexpr int32_t kSwitchGroup = 1248;
    static constexpr int32_t kSwitchHitThreshold = 100;
    static constexpr int32_t kPanelX = 279;
    static constexpr int32_t kPanelY = 7;
    static constexpr int32_t kHighlightTop = 276;
    static constexpr int32_t kHighlightGap = 6;
    static constexpr int32_t kClassicHint = 43;
    static constexpr int32_t kAllTablesTrophy = 22;
    static constexpr size_t kToolTipMaxLength = 255;

    explicit ClassicScene(Property* definition);
    ~ClassicScene() override;

    void Build() override;
    void Activate() override;
    void Deactivate() override;
    void RequestQuit() override;

    // Shows the type's table, colour and description; a click on the
    // selected type (`animate` and the same type) pulses the START glow.
    static void SelectGameType(ClassicScene* scene, int32_t type, bool animate);
    // Whether the current player may play the type.
    static bool IsGameTypeAvailable(int32_t type);
    // Every track of the map is bought.
    static bool AllTracksBought();
    // The colour of the type's description and high-score cells.
    static int32_t GameTypeColor(int32_t type);
    // The top of the switch column and the gap between switches.
    struct ColumnLayout {
        int32_t top;
        int32_t spacing;
    };
    ColumnLayout Layout(bool withMixedType) const;

    static int32_t OnGameTypeSwitch(void* context, GameNode* sender);
    static int32_t StartGame(void* context, GameNode* sender);
    static int32_t Back(void* context, GameNode* sender);

    int32_t GetSelectedGameType() const { return selectedGameType_; }
    Switch* GetGameTypeSwitch(int32_t type) const { return gameTypeSwitches_[static_cast<size_t>(type)].Get(); }
    Sprite* GetPanel() const { return panel_.Get(); }
    Sprite* GetStartGlow() const { return startGlow_.Get(); }
    Sprite* GetHighScoreAnim() const { return highScoreAnim_; }
    Label* GetDescriptionLabel() const { return descriptionLabel_; }
    Label* GetHighScoreCell(int32_t row, int32_t column) const {
        return highScoreCells_[static_cast<size_t>(row)][static_cast<size_t>(column)];
    }

private:
    void MakeGameTypeSwitches();
    void MakePanel();
    void ArrangeSwitches(bool allBought, bool unlockShow);
    void DecorateSwitch(Switch& typeSwitch, int32_t type);
    void PlayUnlockMove(const ColumnLayout& from);
    void ShowNewResult();
    void PulseStartGlow();
    void FillRows(int32_t type);
    void ShowGameTypePanel(int32_t type, bool animate);
    static void OnUnlockAnimationDone(ClassicScene& scene);
    static void OnHighScoreShown();

    Ref<Property> highScorePanelDef_;
    int32_t selectedGameType_ = -1;
    int32_t maxY_ = 0;
    int32_t topY_ = 0;
    int32_t bottomY_ = 0;
    std::array<Ref<Switch>, kTypeCount> gameTypeSwitches_;
    Ref<Sprite> panel_;
    Ref<Sprite> startGlow_;
    GameNode* startButton_ = nullptr;      // held by the panel
    Sprite* highScoreAnim_ = nullptr;      // held by the panel
    Label* descriptionLabel_ = nullptr;    // held by the panel
    std::array<std::array<Label*, 3>, kRows> highScoreCells_{};  // held by the rows
};
