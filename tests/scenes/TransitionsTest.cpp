#include "ScenesTestSupport.h"
#include "game/dialogs/KR2Dialog.h"
#include "engine/ui/Label.h"
#include "scenes/FadeBlackLabelTransition.h"
#include "scenes/SquareTwistTransitionScene.h"

namespace {

class TransitionsTest : public ScenesTest {
protected:
    template <typename T>
    Ref<T> MakeTransition(const std::string& className, const std::string& attributes) {
        UseDialogs("<" + className + " id=\"T\" " + attributes +
                   "/><KR2Dialog id=\"DIALOG_LOADING\" width=\"200\" height=\"60\"/>");
        const Ref<Object> built(DialogTable::Instance()->CreateDialog("T"));
        return Ref<T>(ObjectCast<T>(built.Get()));
    }

    // A is current; the switch to B through the transition is requested.
    void StartSwitch(SceneTransition* transition) {
        manager_->RequestSwitch(a_.Get());
        manager_->Update(100);
        manager_->RequestSwitch(b_.Get(), transition);
    }

    bool AtB() const { return manager_->GetCurrentScene() == b_.Get(); }

    Ref<LoggingScene> a_ = MakeScene("A");
    Ref<LoggingScene> b_ = MakeScene("B");
};

// --- Fade to a colour with a loading label ------------------------------------

TEST_F(TransitionsTest, FadeWithEverythingLoadedNeverShowsTheLabel) {
    const Ref<FadeBlackLabelTransition> fade =
        MakeTransition<FadeBlackLabelTransition>("FadeBlackLabelTransition", R"(color="255")");
    ASSERT_TRUE(fade);
    EXPECT_EQ(fade->GetColorScreen()->GetImage(), nullptr);  // made only once the fade runs
    StartSwitch(fade.Get());
    std::vector<int32_t> stages;
    const int32_t took = RunFrames(100, 5000, [&] { return AtB(); }, [&](int32_t) {
        if (SceneManager::Instance()->GetCurrentScene() == fade.Get()) {
            EXPECT_EQ(PixelAt(*fade->GetColorScreen()->GetImage(), 0, 0), 0xFF0000FFu);
        }
        stages.push_back(fade->GetStage());
        EXPECT_EQ(fade->GetLabel()->GetAlpha(), 0);
        EXPECT_TRUE(fade->GetLabel()->GetText().empty());
    });
    ASSERT_TRUE(AtB());
    EXPECT_TRUE(std::is_sorted(stages.begin(), stages.end()));
    EXPECT_EQ(std::count(stages.begin(), stages.end(), FadeBlackLabelTransition::kLabelShown), 0);
    // Without "time" each way takes 1000 ms.
    EXPECT_GE(took, 2000);
    EXPECT_LE(took, 2400);
}

TEST_F(TransitionsTest, FadeWaitingForLoadingShowsTheDottedLabelAndKeepsItTwoSeconds) {
    const Ref<FadeBlackLabelTransition> fade =
        MakeTransition<FadeBlackLabelTransition>("FadeBlackLabelTransition", R"(time="100")");
    ASSERT_TRUE(fade);
    QueueGated("scene-b");
    StartSwitch(fade.Get());
    RunFrames(100, 1000, [&] { return fade->GetStage() != FadeBlackLabelTransition::kFadingOut; });
    ASSERT_EQ(fade->GetStage(), FadeBlackLabelTransition::kFadedOut);

    // Time from here on counts from the end of the fade-out.
    std::vector<std::wstring> texts;
    int32_t shownAt = -1;
    int32_t finishingAt = -1;
    RunFrames(100, 4000, [&] { return finishingAt >= 0; }, [&](int32_t now) {
        if (now == 700) {
            OpenGate();
        }
        if (shownAt < 0 && fade->GetStage() == FadeBlackLabelTransition::kLabelShown) {
            shownAt = now;
        }
        if (fade->GetStage() == FadeBlackLabelTransition::kLabelShown) {
            texts.push_back(fade->GetLabel()->GetText());
            if (texts.back() == L"load") {
                EXPECT_EQ(fade->GetLabel()->GetX(), (800 - fade->GetLabel()->GetWidth()) / 2);
            }
        }
        if (fade->GetStage() == FadeBlackLabelTransition::kFinishing) {
            finishingAt = now;
        }
    });
    EXPECT_EQ(shownAt, 600);      // the first frame past 500 ms
    EXPECT_EQ(finishingAt, 2100);  // the first poll past 2000 ms, though loading ended at 700
    // One more dot every 400 ms; the label is centred on 800 pixels when the word starts again.
    const std::vector<std::wstring> expected = {L"load",   L"load",   L"load",   L"load",   L"load.",
                                                L"load.",  L"load.",  L"load.",  L"load..", L"load..",
                                                L"load..", L"load..", L"load...", L"load...", L"load..."};
    EXPECT_EQ(texts, expected);
    RunFrames(100, 1000, [&] { return AtB(); });
    EXPECT_TRUE(AtB());
}

// --- Square twist -----------------------------------------------------------

TEST_F(TransitionsTest, TwistCutsTheScreenIntoWholeTiles) {
    const struct {
        const char* attributes;
        int32_t columns;
        int32_t rows;
    } cases[] = {
        {"", 16, 12},
        {R"(spacingx="30")", 26, 12},
        // Tiles are 10 pixels at least (0 would divide by zero, 1 make
        // 480,000 tiles) and at most the screen.
        {R"(spacingx="0" spacingy="600")", 80, 1},
        {R"(spacingx="1" spacingy="1")", 80, 60},
        {R"(spacingx="NaN" spacingy="2147483647")", 80, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        const Ref<SquareTwistTransitionScene> twist =
            MakeTransition<SquareTwistTransitionScene>("SquareTwistTransitionScene", c.attributes);
        ASSERT_TRUE(twist);
        EXPECT_EQ(twist->GetColumns(), c.columns);
        EXPECT_EQ(twist->GetRows(), c.rows);
        EXPECT_EQ(twist->GetTiles().size(), static_cast<size_t>(c.columns * c.rows));
    }
}

TEST_F(TransitionsTest, EveryTileShowsTheOldPictureUnderItsOwnPlace) {
    const Ref<MemorySurface> background = CreateMemorySurface(800, 600);
    for (int32_t y = 0; y < 600; ++y) {
        for (int32_t x = 0; x < 800; ++x) {
            background->Pixels32()[background->PixelIndex(x, y)] = 0xFF000000u | (y << 10) | x;
        }
    }
    a_->SetBackground(background.Get());
    const Ref<SquareTwistTransitionScene> twist =
        MakeTransition<SquareTwistTransitionScene>("SquareTwistTransitionScene", R"(spacingx="30" spacingy="40")");
    StartSwitch(twist.Get());
    manager_->Update(0);
    for (const auto& [r, c] : {std::pair{0, 0}, std::pair{3, 7}, std::pair{14, 25}}) {
        const Sprite& tile = *twist->GetTiles()[r * 26 + c];
        EXPECT_EQ(tile.GetX(), 30 * c + 15);
        EXPECT_EQ(tile.GetY(), 40 * r + 20);
        EXPECT_EQ(PixelAt(*tile.GetImage(), 0, 0) & 0xFFFFFF, static_cast<uint32_t>((40 * r) << 10 | 30 * c));
        EXPECT_EQ(PixelAt(*tile.GetImage(), 29, 39) & 0xFFFFFF,
                  static_cast<uint32_t>((40 * r + 39) << 10 | (30 * c + 29)));
    }
}

TEST_F(TransitionsTest, TwistWithEverythingLoadedStartsAtOnceAndEndsAfterTheLastTile) {
    const Ref<SquareTwistTransitionScene> twist =
        MakeTransition<SquareTwistTransitionScene>("SquareTwistTransitionScene", "");
    StartSwitch(twist.Get());
    manager_->Update(20);  // the switch
    manager_->Update(20);  // the transition's first update
    EXPECT_EQ(twist->GetPhase(), SquareTwistTransitionScene::kTwisting);
    EXPECT_EQ(twist->GetLoadingDialog(), nullptr);
    const int32_t took = RunFrames(20, 4000, [&] { return AtB(); });
    EXPECT_TRUE(AtB());
    // The last tile starts 26 x 20 ms after the first and turns for 1000 ms.
    EXPECT_GE(took, 1520);
    EXPECT_LE(took, 1620);
    // Ended, it keeps no picture of the screen, in whole or in tiles.
    manager_->Update(20);
    EXPECT_EQ(twist->GetSourceSprite()->GetImage(), nullptr);
    EXPECT_TRUE(std::all_of(twist->GetTiles().begin(), twist->GetTiles().end(),
                            [](const Ref<Sprite>& tile) { return tile->GetImage() == nullptr; }));
}

TEST_F(TransitionsTest, TwistWaitingForLoadingShowsTheDialogFromHalfASecondToTwoSeconds) {
    const Ref<SquareTwistTransitionScene> twist =
        MakeTransition<SquareTwistTransitionScene>("SquareTwistTransitionScene", "");
    QueueGated("scene-b");
    StartSwitch(twist.Get());
    int32_t openedAt = -1;
    int32_t closedAt = -1;
    RunFrames(100, 4000, [&] { return closedAt >= 0; }, [&](int32_t now) {
        if (now == 700) {
            OpenGate();
        }
        if (openedAt < 0 && twist->GetLoadingDialog() != nullptr) {
            openedAt = now;
            EXPECT_TRUE(twist->IsDialogShown("DIALOG_LOADING"));
            EXPECT_EQ(twist->GetLoadingLabel()->GetText(), L"load");
        }
        if (openedAt >= 0 && twist->GetLoadingDialog() == nullptr) {
            closedAt = now;
        }
        EXPECT_EQ(twist->GetPhase() == SquareTwistTransitionScene::kTwisting, closedAt >= 0);
    });
    // The switch frame does not run the transition, so its own time is 100 ms
    // behind: opened in its first frame past 500 ms, closed in its first past 2000.
    EXPECT_EQ(openedAt - 100, 600);
    EXPECT_EQ(closedAt - 100, 2100);
    RunFrames(100, 1000, [&] { return !twist->IsDialogShown("DIALOG_LOADING"); });  // it fades out
    EXPECT_FALSE(twist->IsDialogShown("DIALOG_LOADING"));
}

}  // namespace
