#include "ScenesTestSupport.h"
#include "game/constants/GameConstants.h"
#include "scenes/LoadTransitionScene.h"

namespace {

class LoadTransitionSceneTest : public ScenesTest {
protected:
    LoadTransitionSceneTest() { LOGO_END_SCALE_Y = 110; }
    ~LoadTransitionSceneTest() override { LOGO_END_SCALE_Y = 0; }

    struct Run {
        int32_t finishedAt = -1;
        int32_t adventureAt = -1;  // when each button copy starts to grow
        int32_t classicAt = -1;
    };

    // From a load scene with its named pieces to a menu with its two
    // buttons, in 10 ms frames.
    Run Switch(const std::string& attributes) {
        UseDialogs("<LoadTransitionScene id=\"T\" " + attributes + "/>");
        const Ref<Object> built(DialogTable::Instance()->CreateDialog("T"));
        transition_ = ObjectCast<LoadTransitionScene>(built.Get());
        Ref<LoggingScene> load = MakeScene("LOAD", R"(<Vector id="scenecomponents">
            <Sprite name="LOGO_GAME" x="400" y="220" width="100" height="40" anchorpoint="center"/>
            <Sprite name="LOGO_QUELT" x="80" y="540" width="10" height="10"/>
            <Sprite name="PROGRESS_BAR" x="400" y="430" width="10" height="10"/>
            <Sprite name="PROGRESS_BAR_OVERLAY" x="400" y="430" width="10" height="10"/>
            <Sprite name="LOADING_BAR_BG" x="400" y="430" width="10" height="10"/>
            <Sprite name="CLICK_TEXT" x="400" y="475" width="10" height="10"/></Vector>)");
        Ref<LoggingScene> menu = MakeScene("MENU", R"(<Vector id="scenecomponents">
            <Sprite name="BUTTON_ADVENTURE" x="300" y="400" width="20" height="20"/>
            <Sprite name="BUTTON_CLASSIC" x="500" y="400" width="20" height="20"/></Vector>)");
        manager_->RequestSwitch(load.Get());
        manager_->Update(10);
        manager_->RequestSwitch(menu.Get(), transition_.Get());
        manager_->Update(10);  // the switch
        Run run;
        const int32_t took = RunFrames(10, 10000, [&] { return manager_->GetCurrentScene() == menu.Get(); }, [&](int32_t now) {
            if (run.adventureAt < 0 && transition_->GetAdventureCopy()->GetScale() > 0.0f) {
                run.adventureAt = now;
            }
            if (run.classicAt < 0 && transition_->GetClassicCopy()->GetScale() > 0.0f) {
                run.classicAt = now;
            }
        });
        run.finishedAt = manager_->GetCurrentScene() == menu.Get() ? took : -1;
        return run;
    }

    Ref<LoadTransitionScene> transition_;
};

TEST_F(LoadTransitionSceneTest, TheButtonsPopAfterTheLogoAndTheFinishFollowsTheLongerDelay) {
    const Run equal = Switch("");
    ASSERT_TRUE(transition_->GetLogo());
    EXPECT_EQ(transition_->GetLogo()->GetY(), 110);
    EXPECT_FLOAT_EQ(transition_->GetLogo()->GetScale(), LoadTransitionScene::kLogoEndScale);
    // Without delays both pop together once the pieces, the 1000 ms moves,
    // the picture's and the logo's fades are over.
    EXPECT_EQ(equal.adventureAt, equal.classicAt);
    EXPECT_GE(equal.adventureAt, 200 + 1000 + 200 + 150);
    EXPECT_LE(equal.adventureAt, 200 + 1000 + 200 + 150 + 80);

    SceneManager::ReleaseInstance();
    manager_ = SceneManager::Create();
    const Run delayed = Switch(R"(time="500" classicDelay="300")");
    EXPECT_NEAR(delayed.adventureAt, equal.adventureAt - 500, 20);
    EXPECT_NEAR(delayed.classicAt - delayed.adventureAt, 300, 20);
    // The hand-over waits for the later bounce, as long after it as without delays.
    ASSERT_GT(equal.finishedAt, 0);
    ASSERT_GT(delayed.finishedAt, 0);
    EXPECT_NEAR(delayed.finishedAt - delayed.classicAt, equal.finishedAt - equal.adventureAt, 20);
}

}  // namespace
