#include "SceneTestSupport.h"
#include "engine/media/InputDispatcher.h"
#include "engine/ui/Button.h"

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
