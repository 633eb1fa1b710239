#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/Sprite.h"
#include "game/dialogs/KR2Dialog.h"

class Label;
class Property;

// The end credits over the whole map: the screen fades to black, the ten
// section backs with the pieces between them and the landscape baked in are
// laid out as one strip, a title shows, then the strip scrolls from the last
// section to the first while twelve categories of names are typed in letter
// by letter. A click ends it at any time.
class FinalCreditsDialog : public KR2Dialog {
    ENGINE_CLASS(FinalCreditsDialog, KR2Dialog)

public:
    enum State : int32_t { kIdle = 0, kTitle = 1, kPages = 2 };
    using Finished = std::function<void(FinalCreditsDialog*)>;

    static constexpr int32_t kCategoryCount = 12;
    static constexpr std::array<const char*, kCategoryCount> kCategories = {
        "CREDITS_DESIGN",   "CREDITS_PROGRAMMING", "CREDITS_GRAPHICS",      "CREDITS_ARTDIRECTOR",
        "CREDITS_LEVELDESIGN", "CREDITS_PRODUCER", "CREDITS_AUDIO",         "CREDITS_ORIGINALMUSIC",
        "CREDITS_QA",       "CREDITS_LOCALISATION", "CREDITS_TECHSUPPORT", "CREDITS_THANKS"};
    static constexpr int32_t kSectionCount = 10;
    static constexpr int32_t kScreenWidth = 800;
    static constexpr int32_t kScreenHeight = 600;
    static constexpr int32_t kTitleMs = 3200;
    // How long the strip may wait for its pictures before it is built from
    // whatever has loaded.
    static constexpr uint32_t kStripWaitLimitMs = 10000;

    // The dialog keys, then "delayTime", "totalTime", "charShowTime",
    // "LABEL_HEADER", "LABEL_TEXT" and "CLICK_HERE".
    explicit FinalCreditsDialog(Property* definition);
    ~FinalCreditsDialog() override;

    void OnShow() override;
    void OnHide() override;
    void Update(int32_t elapsedMs) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;

    // Fades out over the scene again and closes; the timers run on under the
    // curtain until then.
    void Finish();
    // Lays the map strip out; false when its pictures did not load in time.
    bool BuildStrip();

    // The time of one entry: what the pages share, split over all entries;
    // 0 when there are none.
    static int32_t TimePerEntry(int32_t totalMs, int32_t delayMs, int32_t entryCount);
    // The time a page of `entries` names stays; the last category gets twice
    // the time per entry.
    static int32_t PageTime(int32_t timePerEntry, int32_t entries, bool lastCategory, int32_t delayMs);
    // The strip's x after `elapsedMs` of a `totalMs` scroll from `startX` to 0.
    static int32_t ScrollX(int32_t startX, int32_t elapsedMs, int32_t totalMs);

    void SetOnFinished(Finished function) { onFinished_ = std::move(function); }
    int32_t GetState() const { return state_; }
    int32_t GetPage() const { return page_; }
    int32_t GetCountdown() const { return countdown_; }
    int32_t GetTimePerEntry() const { return timePerEntry_; }
    int32_t GetStripX() const { return stripX_; }
    GameNode* GetStripNode() const { return stripNode_.Get(); }
    Sprite* GetCurtain() const { return curtain_.Get(); }
    Label* GetHeaderLabel() const { return headerLabel_.Get(); }
    const std::vector<Ref<Sprite>>& GetBackSprites() const { return backSprites_; }

private:
    void OnScreenBlack();
    void StartCredits();
    void LoadAnchorPoints();
    void ShowTitle();
    void ShowPage(int32_t category, int32_t pageTime);
    // Hides or shows the scene under the dialog (or the target of a running
    // transition) with its content.
    static void ShowSceneUnder(bool visible);
    static int32_t FinishHandler(void* dialog, GameNode* sender);

    Ref<GameNode> stripNode_;
    int32_t stripX_ = 0;
    int32_t scrollElapsed_ = 0;
    int32_t totalTime_ = 0;
    int32_t countdown_ = 0;
    int32_t timePerEntry_ = 0;
    int32_t page_ = -1;
    int32_t charShowTime_ = 0;
    int32_t delayTime_ = 0;
    Ref<Sprite> curtain_;
    Ref<Label> headerLabel_;
    Ref<Property> textDefinition_;
    std::vector<Ref<Sprite>> backSprites_;
    int32_t state_ = kIdle;
    Finished onFinished_;
    bool finishing_ = false;
};
