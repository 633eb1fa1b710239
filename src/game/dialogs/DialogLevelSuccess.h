#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "game/dialogs/KR2Dialog.h"

class KR2Player;
class Label;
class LevelStats;
class Modifier;
class Sprite;

// The result of a won adventure level on the map: the game type, the rank
// before the level and the points missing to the next, then score, coins,
// time and words revealed one by one with stars while the map's score
// counts up. Closing opens the rank dialog when the level raised the rank.
class DialogLevelSuccess : public KR2Dialog {
    ENGINE_CLASS(DialogLevelSuccess, KR2Dialog)

public:
    static constexpr int32_t kTopRank = 14;
    // The space key.
    static constexpr int32_t kSkipKey = 0x20;

    explicit DialogLevelSuccess(Property* definition);

    void OnShow() override;
    void OnHide() override;
    // Ends the reveal at once; a second call does nothing.
    void FinishAnimation();

    bool OnKeyDown(int32_t virtualKey) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;

    // "m:ss" of a play time; whole hours are dropped.
    static std::wstring FormatPlayTime(int32_t ms);
    // "found/queued (p%)".
    static std::wstring FormatWords(int32_t found, int32_t queued);

    bool IsFinished() const { return finished_; }
    bool RankChanged() const { return rankChanged_; }
    Label* GetScoreLabel() const { return values_[kScore]; }
    Label* GetCoinsLabel() const { return values_[kCoins]; }
    Label* GetTimeLabel() const { return values_[kTime]; }
    Label* GetWordsLabel() const { return values_[kWords]; }
    Label* GetRankScoreLabel() const { return rankScoreLabel_; }
    Label* GetRankNameLabel() const { return rankNameLabel_; }

private:
    enum Value : size_t { kScore = 0, kCoins, kTime, kWords, kValueCount };
    static constexpr int32_t kValueSpacing = 20;

    void BuildValueLabels(const LevelStats& level);
    void StartReveal();
    void NextRankStep();
    // The label's text fades over to `text`.
    void CrossFade(Label& label, const std::wstring& text);
    static void ThrowStars(Label* label);

    Ref<Modifier> sequence_;
    bool finished_ = false;
    bool revealRunning_ = false;
    bool rankChanged_ = false;
    // The rank the name and the badge show: before the level, then now.
    int32_t shownRank_ = 0;
    std::array<Label*, kValueCount> values_{};
    Label* rankScoreLabel_ = nullptr;
    Label* rankNameLabel_ = nullptr;
    Sprite* rankSprite_ = nullptr;
};
