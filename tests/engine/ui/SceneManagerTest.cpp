#include <functional>

#include "SceneTestSupport.h"
#include "engine/media/InputDispatcher.h"
#include "engine/ui/KeyStates.h"
#include "engine/ui/SceneTransition.h"
#include "engine/ui/ToolTip.h"
#include "engine/ui/ToolTipLabel.h"
#include "UiTestSupport.h"
#include "engine/scene/HeadlessWindow.h"
#include "platform/WindowTypes.h"

namespace {

// A transition that only logs; the test ends it by hand.
class LoggingTransition : public SceneTransition {
public:
    LoggingTransition(Property* definition, std::vector<std::string>& log) : SceneTransition(definition), log_(log) {}
    void Activate() override {
        SceneTransition::Activate();
        log_.push_back("T activate");
    }
    void Deactivate() override {
        SceneTransition::Deactivate();
        log_.push_back("T deactivate");
    }
    void Update(int32_t) override { log_.push_back("T frame"); }

private:
    std::vector<std::string>& log_;
};

class SceneManagerTest : public SceneTest {
protected:
    Ref<LoggingTransition> MakeTransition() {
        Ref<PropertyFile> file = ParseDefinitions(R"(<root><Scene id="T"/></root>)");
        definitions_.push_back(file);
        return Ref<LoggingTransition>(new LoggingTransition(Property::Child(file.Get(), "T"), log_));
    }

    // A shown; B and a transition T ready for the switch to it.
    struct AnimatedSwitch {
        Ref<LoggingScene> a;
        Ref<LoggingScene> b;
        Ref<LoggingTransition> t;
    };
    AnimatedSwitch ShowA() {
        AnimatedSwitch scenes{MakeScene("A"), MakeScene("B"), MakeTransition()};
        manager_->RequestSwitch(scenes.a.Get());
        manager_->Update(16);
        return scenes;
    }

    struct Step {
        std::function<void()> before;  // what game code does before the update
        std::vector<std::string> log;  // what the update does
    };

    void RunSteps(const std::vector<Step>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "update " << i + 1);
            if (steps[i].before) steps[i].before();
            TakeLog();
            manager_->Update(16);
            EXPECT_EQ(TakeLog(), steps[i].log);
        }
    }
};

TEST_F(SceneManagerTest, AnImmediateSwitchActivatesThenDeactivatesAnUpdateLater) {
    const Ref<LoggingScene> a = MakeScene("A");
    const Ref<LoggingScene> b = MakeScene("B");
    manager_->AddScene("A", a.Get());
    manager_->AddScene("B", b.Get());
    const auto to = [this](Scene* scene) { return [this, scene] { manager_->RequestSwitch(scene); }; };
    RunSteps({
        {nullptr, {}},  // nothing to show yet
        {to(a.Get()), {"A build", "A activate", "A frame"}},  // the first scene runs at once
        {nullptr, {"A frame"}},
        {to(b.Get()), {"B build", "B activate"}},  // the switch runs no frame
        {nullptr, {"A deactivate", "B frame"}},
        {to(a.Get()), {"A activate"}},  // built once only
        {nullptr, {"B deactivate", "A frame"}},
    });
    EXPECT_EQ(manager_->GetCurrentScene(), a.Get());
    EXPECT_EQ(manager_->GetPreviousScene(), b.Get());
    EXPECT_EQ(a->GetBuildState(), Scene::kCurrent);
    EXPECT_EQ(b->GetBuildState(), Scene::kBuilt);
}

TEST_F(SceneManagerTest, AnAnimatedSwitchRunsTheTransitionAndHandsOverAtFinish) {
    const AnimatedSwitch s = ShowA();
    RunSteps({
        {[&] { manager_->RequestSwitch(s.b.Get(), s.t.Get()); }, {"T activate"}},
        {[&] { EXPECT_FALSE(s.a->IsActive()); }, {"A deactivate", "T frame"}},
        {nullptr, {"T frame"}},
        {[&] {
             s.t->PrepareTarget();
             EXPECT_EQ(TakeLog(), (std::vector<std::string>{"B build", "B activate"}));
             EXPECT_FALSE(s.b->IsActive());  // it must not act while the transition shows
             s.t->Finish();
             EXPECT_TRUE(s.b->IsActive());
         },
         {}},  // B becomes current without a second activation
        {nullptr, {"T deactivate", "B frame"}},
    });
    EXPECT_EQ(s.t->GetSourceScene(), s.a.Get());
    EXPECT_EQ(s.t->GetTargetScene(), s.b.Get());
    EXPECT_EQ(manager_->GetCurrentScene(), s.b.Get());
    EXPECT_EQ(manager_->GetPreviousScene(), s.t.Get());
    EXPECT_EQ(manager_->GetPendingTransition(), nullptr);

    // A transition to the scene already shown still runs.
    RunSteps({{[&] { manager_->RequestSwitch(s.b.Get(), s.t.Get()); }, {"T activate"}},
              {nullptr, {"B deactivate", "T frame"}}});
}

TEST_F(SceneManagerTest, TheSectionsOfTheSceneEnteredAreAskedForOnceTheSceneLeftHasLetGo) {
    SectionManager* sections = SectionManager::Instance();
    auto* section = new Section("B-SECTION", false);
    section->AddResource("B-PICTURE", new HeldResource(new Object));
    sections->AddSection(section);
    sections->SetDeclared();
    // Asked for, it is loaded once the loader has done its work.
    const auto asked = [&] {
        sections->FinishLoadWork();
        return section->IsLoaded();
    };
    const auto unload = [&] {
        sections->UnloadSection("B-SECTION");
        sections->ClearLoadQueue();
    };
    // With no scene to leave the section is asked for at once.
    manager_->RequestSectionAfterLeaving("B-SECTION");
    EXPECT_TRUE(asked());
    unload();

    const AnimatedSwitch s = ShowA();
    RunSteps({
        {[&] {
             manager_->RequestSectionAfterLeaving("B-SECTION");
             manager_->RequestSwitch(s.b.Get(), s.t.Get());
         },
         {"T activate"}},
        {[&] { EXPECT_FALSE(asked()); }, {"A deactivate", "T frame"}},
        {[&] { EXPECT_TRUE(asked()); }, {"T frame"}},
    });
    unload();

    // A switch without a transition activates the scene entered at once: it
    // is asked for before that.
    s.t->PrepareTarget();
    s.t->Finish();
    manager_->Update(16);
    manager_->Update(16);
    manager_->RequestSectionAfterLeaving("B-SECTION");
    manager_->RequestSwitch(s.a.Get());
    manager_->Update(16);
    EXPECT_EQ(manager_->GetCurrentScene(), s.a.Get());
    EXPECT_TRUE(asked());
}

TEST_F(SceneManagerTest, RemovalFlaggedScenesAreDroppedUnlessCurrent) {
    const Ref<LoggingScene> a = MakeScene("A");
    const Ref<LoggingScene> b = MakeScene("B");
    manager_->AddScene("A", a.Get());
    manager_->AddScene("B", b.Get());
    manager_->RequestSwitch(a.Get());
    manager_->Update(16);
    a->SetRemoved(true);
    b->SetRemoved(true);
    manager_->Update(16);
    EXPECT_EQ(manager_->FindScene("A"), a.Get());
    EXPECT_EQ(manager_->FindScene("B"), nullptr);
}

TEST_F(SceneManagerTest, TheCurrentSceneIsAskedWhenTheWindowCloses) {
    EXPECT_FALSE(manager_->RequestQuitOfCurrentScene());  // no scene: the window closes by default
    EXPECT_EQ(manager_->GetCurrentSceneSprite(), nullptr);
    const Ref<LoggingScene> a = MakeScene("A");
    manager_->RequestSwitch(a.Get());
    manager_->Update(16);
    EXPECT_EQ(manager_->GetCurrentSceneSprite(), a.Get());
    EXPECT_TRUE(manager_->RequestQuitOfCurrentScene());
}

TEST_F(SceneManagerTest, KeysCountAsHeldAsTheCurrentSceneSawThem) {
    const Ref<LoggingScene> a = MakeScene("A");
    manager_->RequestSwitch(a.Get());
    manager_->Update(16);
    InputDispatcher* input = a->GetInputDispatcher();
    input->QueueMessage(0x100, 0x10, 0);  // key down, not yet delivered
    EXPECT_FALSE(KeyStates::IsDown(0x10));
    manager_->Update(16);
    EXPECT_TRUE(KeyStates::IsDown(0x10));
    EXPECT_FALSE(KeyStates::IsDown(0x11));
    input->QueueMessage(0x100, 0x1234, 0);  // out of range: ignored safely
    input->QueueMessage(0x101, 0x10, 0);
    manager_->Update(16);
    EXPECT_FALSE(KeyStates::IsDown(0x10));
    EXPECT_FALSE(KeyStates::IsDown(0x1234));
}

// The tooltip draws on the window, with the tiny font.
class SceneManagerToolTipTest : public SceneManagerTest {
protected:
    SceneManagerToolTipTest() {
        auto* fonts = new Section("fonts", false);
        fonts->AddResource("TINY", new HeldResource(font_.Get()));
        sections_.Load(fonts);
        renderer_ = BuildFromXml<ToolTipLabel>(R"(<ToolTipLabel id="tip" font="TINY" section="fonts"/>)");
    }

    HeadlessWindow window_;
    Ref<BitmapFont> font_ = MakeTinyFont();
    Ref<ToolTipLabel> renderer_;
};

TEST_F(SceneManagerToolTipTest, TheTipListensInEverySceneAndFollowsTheSceneShown) {
    UseDialogs(R"(<Dialog id="D"/><Dialog id="E"/>)");
    const Ref<LoggingScene> a = MakeScene("A");
    const Ref<LoggingScene> b = MakeScene("B");
    manager_->AddScene("A", a.Get());
    manager_->AddScene("B", b.Get());
    Dialog* dialog = a->GetDialog("D");
    ASSERT_NE(dialog, nullptr);
    auto* sprite = new Sprite(20, 20, 10, 10);
    sprite->SetToolTip(L"ab");
    a->GetRootNode()->AddChild(sprite);

    const Ref<ToolTip> old(ToolTip::ToolTipFromValues(renderer_.Get(), 0, 1000));
    manager_->SetToolTip(old.Get());
    const Ref<ToolTip> tip(ToolTip::ToolTipFromValues(renderer_.Get(), 0, 1000));
    manager_->RequestSwitch(a.Get());
    manager_->SetToolTip(tip.Get());
    manager_->SetToolTip(tip.Get());  // installing it again changes nothing
    EXPECT_EQ(manager_->GetToolTip(), tip.Get());
    EXPECT_EQ(tip->GetRoot(), a->GetRootNode());  // the scene about to show
    for (InputListenerList* list : {a->GetListenerList(), b->GetListenerList(), dialog->GetListenerList()}) {
        const std::vector<InputListener*>& listeners = list->Listeners();
        EXPECT_EQ(std::count(listeners.begin(), listeners.end(), tip.Get()), 1);
        EXPECT_EQ(std::count(listeners.begin(), listeners.end(), old.Get()), 0);
        EXPECT_EQ(listeners.back(), tip.Get());
    }
    // A dialog made once the tip is installed takes it at the front.
    Dialog* later = a->GetDialog("E");
    ASSERT_NE(later, nullptr);
    ASSERT_FALSE(later->GetListenerList()->Listeners().empty());
    EXPECT_EQ(later->GetListenerList()->Listeners().front(), tip.Get());

    // The move reaches the tip through the scene's input and the tip finds
    // the sprite in the same frame, after the scene has drawn.
    manager_->Update(16);
    EXPECT_EQ(tip->GetCurrentSprite(), nullptr);
    a->GetInputDispatcher()->QueueMessage(platform::WM_MOUSEMOVE, 0, (25 << 16) | 25);
    manager_->Update(16);
    EXPECT_EQ(tip->GetCurrentSprite(), sprite);

    manager_->RequestSwitch(b.Get());
    manager_->Update(16);
    EXPECT_EQ(tip->GetRoot(), b->GetRootNode());
    manager_->Update(16);
    EXPECT_EQ(tip->GetCurrentSprite(), nullptr);
}

}  // namespace
