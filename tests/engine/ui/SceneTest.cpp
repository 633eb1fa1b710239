#include "SceneTestSupport.h"
#include "engine/media/InputDispatcher.h"
#include "engine/ui/Button.h"
#include "platform/KeyCodes.h"

namespace {

TEST_F(SceneTest, DialogsAreKeptByInstanceNameAndReshownOnTop) {
    UseDialogs(R"(<Dialog id="ASK" width="10" height="10"/><Dialog id="INFO" width="10" height="10"/>)");
    const Ref<LoggingScene> scene = MakeScene("SCENE_A");
    Dialog* ask = scene->GetDialog("ASK");
    Dialog* info = scene->GetDialog("INFO");
    Dialog* second = scene->GetDialog("ASK", false, "ASK_2");
    ASSERT_TRUE(ask && info && second);
    EXPECT_NE(second, ask);  // one definition, two independent instances
    EXPECT_EQ(second->GetName(), "ASK_2");
    // The flag asked for is stored in the dialog made; a later fetch keeps it.
    EXPECT_TRUE(ask->IsModal());
    EXPECT_FALSE(second->IsModal());
    EXPECT_EQ(scene->GetDialog("ASK", false, "ASK_2"), second);
    EXPECT_EQ(scene->GetDialog("ASK", true, "ASK_2"), second);
    EXPECT_FALSE(second->IsModal());
    EXPECT_EQ(scene->GetDialog("NO_SUCH"), nullptr);
    EXPECT_FALSE(scene->IsDialogShown("ASK"));

    scene->ShowDialog(ask);
    scene->ShowDialog(info);
    EXPECT_TRUE(ask->IsActive());
    EXPECT_TRUE(scene->IsDialogShown("ASK"));
    ask->SetX(33);

    // Asking for a shown dialog hides it; showing it again puts it over the others.
    EXPECT_EQ(scene->GetDialog("ASK"), ask);
    EXPECT_FALSE(scene->IsDialogShown("ASK"));
    EXPECT_FALSE(ask->IsActive());
    EXPECT_TRUE(ask->IsRemoved());
    scene->ShowDialog(ask);
    EXPECT_FALSE(ask->IsRemoved());
    EXPECT_EQ(ask->GetNextSibling(), nullptr);
    EXPECT_EQ(ask->GetParent(), scene->GetRootNode());
    EXPECT_EQ(ask->GetX(), 33);  // the same object, state kept
    EXPECT_EQ(scene->GetShownDialogs().back().Get(), ask);

    // A hidden dialog stays for reuse; a closed one is forgotten.
    scene->HideDialog(info);
    scene->RunDeletePass();
    EXPECT_EQ(info->GetParent(), nullptr);
    EXPECT_EQ(scene->GetDialog("INFO"), info);
    scene->CloseDialog(ask);
    EXPECT_FALSE(scene->IsDialogShown("ASK"));
    EXPECT_EQ(scene->GetDialogMap().count("ASK"), 0u);
    EXPECT_NE(scene->GetDialog("ASK"), ask);
}

TEST_F(SceneTest, CloseDialogActsOnTheCurrentScene) {
    UseDialogs(R"(<Dialog id="ASK" width="10" height="10"/>)");
    const Ref<LoggingScene> scene = MakeScene("SCENE_A");
    Dialog* ask = scene->GetDialog("ASK");
    scene->ShowDialog(ask);
    Dialog::CloseDialog(ask);  // no current scene yet: nothing happens
    EXPECT_TRUE(scene->IsDialogShown("ASK"));
    manager_->RequestSwitch(scene.Get());
    manager_->Update(10);
    Dialog::CloseDialog(nullptr);
    Dialog::CloseDialog(ask);
    EXPECT_EQ(scene->GetDialogMap().count("ASK"), 0u);
    EXPECT_TRUE(scene->GetShownDialogs().empty());
}

TEST_F(SceneTest, AShownDialogReceivesInputBeforeTheScene) {
    UseDialogs(R"(<Dialog id="ASK" x="0" y="0" width="10" height="10"/>)");
    const Ref<LoggingScene> scene = MakeScene("SCENE_A");
    scene->SetWidth(100);
    scene->SetHeight(100);
    scene->SetMovable(true);
    scene->Activate();
    Dialog* ask = scene->GetDialog("ASK");
    ask->SetMovable(true);
    scene->ShowDialog(ask);
    scene->GetInputDispatcher()->OnLButtonDown(5, 5, 0, false);
    EXPECT_EQ(ask->GetDragState(), Dialog::kPressed);
    EXPECT_EQ(scene->GetDragState(), Dialog::kIdle);  // the dialog used the press
    scene->HideDialog(ask);
    scene->GetInputDispatcher()->OnLButtonDown(5, 5, 0, false);
    EXPECT_EQ(scene->GetDragState(), Dialog::kPressed);
}

// Keys act on the top dialog alone: Enter on its default button, Escape on
// its own Escape button or, without one, on the button it names; none of
// them in the first half second after it was shown, when a click still acts.
TEST_F(SceneTest, KeysReachOnlyTheTopDialogAndNotWhileItIsNew) {
    UseDialogs(R"(<Dialog id="MENU" x="0" y="0" width="50" height="50"><Vector id="components">)"
               R"(<Button name="resume" firekeycode="#1B" x="0" y="0" image="KNOB" section="ui"/>)"
               R"(</Vector></Dialog>)"
               R"(<Dialog id="HELP" x="0" y="0" width="50" height="50" escapebutton="ok"><Vector id="components">)"
               R"(<Button name="ok" firekeycode="#0D" x="0" y="0" image="KNOB" section="ui"/>)"
               R"(</Vector></Dialog>)");
    const Ref<LoggingScene> scene = MakeScene("SCENE_A");
    scene->Activate();
    Dialog* menu = scene->GetDialog("MENU");
    Dialog* help = scene->GetDialog("HELP");
    HandlerLog resumed, closed;
    menu->BindControlByName("resume", HandlerLog::Record, &resumed);
    help->BindControlByName("ok", HandlerLog::Record, &closed);
    scene->ShowDialog(menu);
    scene->ShowDialog(help);
    InputDispatcher* input = scene->GetInputDispatcher();
    const auto press = [input](uint32_t key) {
        input->OnKeyDown(static_cast<int32_t>(key));
        input->OnKeyUp(static_cast<int32_t>(key));
    };

    press(platform::VK_RETURN);
    press(platform::VK_ESCAPE);
    EXPECT_EQ(closed.calls, 0);
    EXPECT_EQ(resumed.calls, 0);
    scene->RunFrame(Dialog::kNewKeyHoldMs - 1);
    press(platform::VK_RETURN);
    EXPECT_EQ(closed.calls, 0);
    scene->RunFrame(1);
    press(platform::VK_RETURN);
    EXPECT_EQ(closed.calls, 1);
    press(platform::VK_ESCAPE);
    EXPECT_EQ(closed.calls, 2);
    EXPECT_EQ(resumed.calls, 0);

    scene->HideDialog(help);
    press(platform::VK_ESCAPE);
    EXPECT_EQ(resumed.calls, 1);
    // A newly shown dialog takes a click at once.
    scene->ShowDialog(help);
    input->OnLButtonDown(1, 1, 0, false);
    input->OnLButtonUp(1, 1, 0);
    EXPECT_EQ(closed.calls, 3);
}

TEST_F(SceneTest, BuildRunsOnceAndStaleInputIsDropped) {
    UseDialogs(R"(<Scene id="SCENE_A" scenebackground="KNOB" section="ui"/>)");
    const Ref<LoggingScene> scene =
        MakeScene("SCENE_A", R"(<Vector id="scenecomponents"><Sprite name="logo" x="3"/></Vector>)");
    EXPECT_EQ(scene->FindChild("logo"), nullptr);
    InputDispatcher* input = scene->GetInputDispatcher();
    input->QueueMessage(0x100, 65, 0);
    input->QueueMessage(0x201, 0, 0);
    scene->Activate();
    EXPECT_TRUE(input->QueuedEvents().empty());
    EXPECT_EQ(scene->GetBuildState(), Scene::kBuilt);
    EXPECT_TRUE(scene->IsActive());
    ASSERT_NE(scene->FindChild("logo"), nullptr);
    EXPECT_EQ(scene->FindChild("logo")->GetParent()->GetParent(), scene->GetRootNode());
    ASSERT_NE(scene->GetBackground(), nullptr);
    EXPECT_EQ(scene->GetBackground()->GetWidth(), 2);

    scene->Deactivate();
    input->QueueMessage(0x100, 65, 0);
    scene->Activate();
    EXPECT_TRUE(input->QueuedEvents().empty());
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"SCENE_A build", "SCENE_A activate", "SCENE_A deactivate",
                                                   "SCENE_A activate"}));
}

}  // namespace
