#include "SceneTestSupport.h"
#include "engine/media/InputDispatcher.h"
#include "engine/scene/HeadlessWindow.h"
#include "engine/ui/AlphaTransition.h"
#include "engine/ui/FadeBlackTransition.h"

namespace {

class SceneTransitionTest : public SceneTest {
protected:
    template <typename T>
    Ref<T> MakeTransition(const std::string& className, const std::string& attributes) {
        UseDialogs("<" + className + " id=\"FADE\" " + attributes + "/>");
        const Ref<Object> built(DialogTable::Instance()->CreateDialog("FADE"));
        return Ref<T>(ObjectCast<T>(built.Get()));
    }

    // A is current; the switch to B through the transition is requested.
    void StartSwitch(SceneTransition* transition) {
        manager_->RequestSwitch(a_.Get());
        manager_->Update(50);
        TakeLog();
        manager_->RequestSwitch(b_.Get(), transition);
    }

    // The transitions' pictures take the window's size.
    HeadlessWindow window_;
    Ref<LoggingScene> a_ = MakeScene("A");
    Ref<LoggingScene> b_ = MakeScene("B");
};

TEST_F(SceneTransitionTest, AFadeCoversThenRevealsTheTargetOnceLoadingAllows) {
    for (const char* wait : {"false", "true"}) {  // nothing is queued for loading here
        SCOPED_TRACE(wait);
        manager_ = SceneManager::Create();
        const Ref<FadeBlackTransition> fade =
            MakeTransition<FadeBlackTransition>("FadeBlackTransition", R"(time="100" color="255" wait=")" + std::string(wait) + "\"");
        ASSERT_TRUE(fade);
        // Made for the switch, it holds no screen before it runs.
        for (const Sprite* screen : {fade->GetColorSprite(), fade->GetSourceSprite(), fade->GetTargetSprite()}) {
            EXPECT_EQ(screen->GetImage(), nullptr);
        }
        StartSwitch(fade.Get());
        std::vector<int32_t> phases;
        for (int i = 0; i < 12 && manager_->GetCurrentScene() != b_.Get(); ++i) {
            const int32_t before = fade->GetPhase();
            manager_->Update(50);
            const std::vector<std::string> log = TakeLog();
            if (manager_->GetCurrentScene() == fade.Get()) {
                EXPECT_EQ(PixelAt(*fade->GetColorSprite()->GetImage(), 0, 0), 0xFF0000FFu);
            }
            phases.push_back(fade->GetPhase());
            const bool built = std::find(log.begin(), log.end(), "B build") != log.end();
            EXPECT_EQ(built, before == FadeBlackTransition::kCovered);  // built when the fade-in begins
            if (fade->GetPhase() == FadeBlackTransition::kFadingOut) {
                EXPECT_EQ(b_->GetBuildState(), Scene::kNotBuilt);
            }
            if (manager_->GetCurrentScene() == fade.Get() && manager_->GetNextScene() == nullptr &&
                b_->GetBuildState() != Scene::kNotBuilt) {
                EXPECT_FALSE(b_->IsActive());  // the target waits for Finish
            }
        }
        ASSERT_EQ(manager_->GetCurrentScene(), b_.Get());
        EXPECT_TRUE(b_->IsActive());
        EXPECT_EQ(std::count(phases.begin(), phases.end(), FadeBlackTransition::kCovered), 1);
        EXPECT_TRUE(std::is_sorted(phases.begin(), phases.end()));
        EXPECT_EQ(fade->GetColorSprite()->GetAlpha(), 0);
        manager_->Update(50);
        EXPECT_EQ(TakeLog(), (std::vector<std::string>{"B frame"}));
        EXPECT_EQ(fade->GetColorSprite()->GetImage(), nullptr);  // ended, it lets its screens go
        SceneManager::ReleaseInstance();
        a_->SetBuildState(Scene::kNotBuilt);
        b_->SetBuildState(Scene::kNotBuilt);
    }
}

TEST_F(SceneTransitionTest, ACrossFadeActivatesTheTargetAtOnceButLetsItActOnlyAtTheEnd) {
    const Ref<AlphaTransition> cross = MakeTransition<AlphaTransition>("AlphaTransition", R"(time="100")");
    ASSERT_TRUE(cross);
    StartSwitch(cross.Get());
    manager_->Update(50);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"B build", "B activate"}));
    EXPECT_FALSE(a_->IsActive());
    EXPECT_FALSE(b_->IsActive());
    EXPECT_EQ(cross->GetTargetSprite()->GetAlpha(), 0);
    for (int i = 0; i < 10 && manager_->GetCurrentScene() != b_.Get(); ++i) {
        manager_->Update(50);
    }
    EXPECT_EQ(manager_->GetCurrentScene(), b_.Get());
    EXPECT_EQ(cross->GetTargetSprite()->GetAlpha(), 255);
    EXPECT_TRUE(b_->IsActive());
    EXPECT_EQ(manager_->GetPreviousScene(), cross.Get());

    // Ended, the transition stays the previous scene without its screen
    // pictures; run again, it has them anew.
    manager_->Update(50);
    EXPECT_EQ(cross->GetSourceSprite()->GetImage(), nullptr);
    EXPECT_EQ(cross->GetTargetSprite()->GetImage(), nullptr);
    manager_->RequestSwitch(a_.Get(), cross.Get());
    manager_->Update(50);
    for (const Sprite* screen : {cross->GetSourceSprite(), cross->GetTargetSprite()}) {
        ASSERT_NE(screen->GetImage(), nullptr);
        EXPECT_EQ(screen->GetWidth(), 800);
    }
}

TEST_F(SceneTransitionTest, TheTargetPictureShowsItsBackgroundOnlyWhenVisible) {
    b_->SetBackground(FilledSurface(800, 600, 0xFFFF0000u).Get());
    b_->GetRootNode()->AddChild(new Sprite(10, 10, FilledSurface(2, 2, 0xFF00FF00u).Get()));
    for (const bool visible : {false, true}) {
        SCOPED_TRACE(visible);
        const Ref<AlphaTransition> cross = MakeTransition<AlphaTransition>("AlphaTransition", "");
        ASSERT_TRUE(cross);
        cross->SetScenes(a_.Get(), b_.Get());
        b_->SetVisible(visible);
        cross->Activate();  // its pictures are made and drawn
        const Surface& picture = *cross->GetTargetSprite()->GetImage();
        EXPECT_EQ(PixelAt(picture, 11, 11) & 0xFFFFFFu, 0x00FF00u);  // the picture keeps no alpha
        EXPECT_EQ(PixelAt(picture, 0, 0) & 0xFFFFFFu, visible ? 0xFF0000u : 0u);
    }
}

TEST_F(SceneTransitionTest, TheCurrentSceneHearsTheWindowAndClosesItWhenAsked) {
    manager_->RequestSwitch(a_.Get());
    manager_->Update(16);
    ListenerList* listeners = window_->GetListeners();
    EXPECT_TRUE(listeners->Contains(a_->GetInputDispatcher()));
    manager_->RequestSwitch(b_.Get());
    manager_->Update(16);
    manager_->Update(16);
    EXPECT_FALSE(listeners->Contains(a_->GetInputDispatcher()));
    EXPECT_TRUE(listeners->Contains(b_->GetInputDispatcher()));

    const platform::WindowHandle handle = window_->GetHwnd();
    GameWindow::WindowProc(handle, platform::WM_CLOSE, 0, 0);
    EXPECT_FALSE(platform::IsWindow(handle));
    bool quit = false;
    platform::Message message;
    while (platform::PeekMessage(message)) {
        quit = quit || message.message == platform::WM_QUIT;
        if (message.message != platform::WM_QUIT) platform::DispatchMessage(message);
    }
    EXPECT_TRUE(quit);
}

}  // namespace
