#pragma once

#include <cstdint>
#include <string>

class KR2Player;
class LevelStats;

// What the map's result dialogs ask of the map scene, which lives in a
// folder above them: its interaction state, the score counter, the rank
// display, the player and the level just played. The map scene installs one
// implementation; without it the dialogs show their own content only.
class MapDialogHooks {
public:
    // The map's interaction states the dialogs set.
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kRankDialog = 7;

    // Installs the hooks (null removes them); the caller keeps them alive
    // while installed.
    static void Install(MapDialogHooks* hooks);
    static MapDialogHooks* Installed();

    virtual KR2Player* Player() const = 0;
    // The game scene's record of the level just won.
    virtual const LevelStats* LastLevel() const = 0;
    virtual void SetMapState(int32_t state) = 0;
    // The score counter counts up to `total` from where it stands, or jumps.
    virtual void CountScoreTo(int32_t total) = 0;
    virtual void SetScore(int32_t total) = 0;
    // The tooltip of the rank name label and, with `onSprite`, of the rank sprite.
    virtual void SetRankToolTip(const std::wstring& text, bool onSprite) = 0;
    virtual void ShowRank(const std::wstring& name, int32_t frame) = 0;
    // The award of a trophy, the map scene carrying on after it.
    virtual void PresentTrophy(int32_t trophy) = 0;

protected:
    ~MapDialogHooks() = default;
};
