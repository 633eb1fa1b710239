#include <cstdlib>
#include <memory>

#include "SceneTestSupport.h"
#include "engine/foundation/RegistrySettings.h"
#include "engine/foundation/RegistryValues.h"
#include "engine/foundation/Settings.h"
#include "engine/media/FrameTimer.h"
#include "engine/media/InputDispatcher.h"
#include "engine/ui/AlphaTransition.h"
#include "engine/ui/Button.h"
#include "engine/ui/FullScreenHandler.h"
#include "platform/Backend.h"
#include "platform/RunOptions.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/TempUserFolders.h"

namespace {

// The game window on a headless desktop of the given size ("WxHxD"); a
// desktop no larger than the window allows full screen only.
class WindowOnDesktop {
public:
    explicit WindowOnDesktop(const char* desktop) {
        setenv("WORDRAIL_DESKTOP", desktop, 1);
        platform::ReloadRunOptionsForTesting();
        platform::SetActiveBackend(std::make_unique<platform::HeadlessBackend>());
        window_ = GameWindow::Create("Scene", 800, 600, false, 0, 102);
    }
    WindowOnDesktop(const WindowOnDesktop&) = delete;
    WindowOnDesktop& operator=(const WindowOnDesktop&) = delete;
    ~WindowOnDesktop() {
        GameWindow::DestroyInstance();
        platform::ResetWindowsForTesting();
        platform::SetActiveBackend(nullptr);
        unsetenv("WORDRAIL_DESKTOP");
        platform::ReloadRunOptionsForTesting();
    }
    GameWindow* operator->() const { return window_; }

private:
    GameWindow* window_ = nullptr;
};

// The three buttons have widths 4 (quit), 2 (restore) and 4 (minimise).
const char* const kHandlerDefinitions = R"(
    <FullScreenHandler id="DEFAULT_FSH" x="800" y="0">
        <Button id="button_quit" image="STRIP" section="ui"/>
        <Button id="button_restore" image="KNOB" section="ui"/>
        <Button id="button_minimize" image="EIGHT" section="ui"/>
    </FullScreenHandler>)";

// A scene that notes the close request instead of closing the window.
class QuitLoggingScene : public LoggingScene {
public:
    using LoggingScene::LoggingScene;
    void RequestQuit() override { ++quitRequests; }
    int quitRequests = 0;
};

class FullScreenHandlerTest : public SceneTest {
protected:
    explicit FullScreenHandlerTest(const char* desktop = "1024x768x32") : window_(desktop) {
        const std::string text = std::string("<root><Node id=\"dialogs\"/>") + kHandlerDefinitions + "</root>";
        const std::string path = folder_.Path() + "/dialogs.xml";
        WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
        DialogTable::Create(path);
        FrameTimer::Create();
        RegistrySettings::Create(std::make_unique<Settings>(false, true, true, true, 255, 255));
    }
    ~FullScreenHandlerTest() override {
        FullScreenHandler::ReleaseDefault();
        FrameTimer::DestroyInstance();
        RegistrySettings::Free();
    }

    // A scene made current through the manager, with the handler shown in it.
    void MakeCurrent(Scene* scene) {
        manager_->RequestSwitch(scene);
        manager_->Update(16);
        manager_->Update(16);
        FullScreenHandler::EnableInCurrentScene();
    }

    static GameNode* LastChild(GameNode* node) {
        GameNode* last = nullptr;
        for (GameNode* child = node->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) last = child;
        return last;
    }

    TempUserFolders userFolders_;
    WindowOnDesktop window_;
};

class SmallDesktopTest : public FullScreenHandlerTest {
protected:
    SmallDesktopTest() : FullScreenHandlerTest("800x600x32") {}
};

TEST_F(FullScreenHandlerTest, ButtonsStandRightAlignedQuitRestoreMinimise) {
    FullScreenHandler* handler = FullScreenHandler::CreateDefault();
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(FullScreenHandler::GetDefault(), handler);
    EXPECT_FALSE(handler->IsEnabled());
    EXPECT_EQ(handler->GetQuitButton()->GetX(), -4);
    ASSERT_NE(handler->GetRestoreButton(), nullptr);
    EXPECT_EQ(handler->GetRestoreButton()->GetX(), -6);
    EXPECT_EQ(handler->GetMinimizeButton()->GetX(), -10);
    const std::vector<InputListener*> frontToBack = {handler->GetMinimizeButton(), handler->GetRestoreButton(),
                                                      handler->GetQuitButton()};
    EXPECT_EQ(handler->GetInputList()->Listeners(), frontToBack);
}

TEST_F(SmallDesktopTest, WithoutModeSwitchingOnlyQuitAndMinimiseAppear) {
    ASSERT_TRUE(window_->IsFullScreen());
    FullScreenHandler* handler = FullScreenHandler::CreateDefault();
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(handler->GetRestoreButton(), nullptr);
    EXPECT_EQ(handler->GetMinimizeButton()->GetX(), -8);  // directly left of quit
    EXPECT_EQ(handler->GetInputList()->Listeners().size(), 2u);
}

TEST_F(FullScreenHandlerTest, TheHandlerHearsTheWindowAndRunsOnTheFrameTimerUntilItGoes) {
    FullScreenHandler* handler = FullScreenHandler::CreateDefault();
    ListenerList* listeners = window_->GetListeners();
    InputDispatcher* dispatcher = handler->GetInputDispatcher();
    EXPECT_TRUE(listeners->Contains(handler));
    EXPECT_TRUE(listeners->Contains(dispatcher));
    const int timerServices = FrameTimer::Instance()->Count();
    FullScreenHandler::ReleaseDefault();
    EXPECT_EQ(FullScreenHandler::GetDefault(), nullptr);
    EXPECT_EQ(listeners->Count(), 0);
    EXPECT_EQ(FrameTimer::Instance()->Count(), timerServices - 1);
    // A mode switch after it has gone reaches nothing freed.
    window_->ToggleFullScreen();
}

TEST_F(FullScreenHandlerTest, ModeSwitchesStoreTheSettingAndShowTheButtonsOnlyInFullScreen) {
    FullScreenHandler* handler = FullScreenHandler::CreateDefault();
    const Ref<LoggingScene> scene = MakeScene("A");
    MakeCurrent(scene.Get());
    EXPECT_EQ(LastChild(scene->GetRootNode()), handler);
    EXPECT_FALSE(handler->IsVisible());
    EXPECT_FALSE(handler->GetInputList()->IsOpenToAll());

    RegistryDword stored(MakeGameRegistryPath() + "\\fullscreen", false, 7);
    for (const bool fullScreen : {true, false, true}) {
        SCOPED_TRACE(fullScreen);
        window_->ToggleFullScreen();
        ASSERT_EQ(window_->IsFullScreen(), fullScreen);
        EXPECT_EQ(RegistrySettings::Instance()->GetSettings().GetFullScreen(), fullScreen);
        EXPECT_EQ(stored.Read(), fullScreen ? 1u : 0u);
        EXPECT_EQ(handler->IsVisible(), fullScreen);
        EXPECT_EQ(handler->GetInputList()->IsOpenToAll(), fullScreen);
    }
}

TEST_F(FullScreenHandlerTest, AnInactiveWindowSilencesSoundUntilItIsActiveAgain) {
    FullScreenHandler::CreateDefault();
    SoundManager* sound = SoundManager::Get();
    ASSERT_FALSE(sound->IsMuted());
    window_->GetListeners()->Dispatch(GameWindow::GW_DEACTIVATED, 0, 0);
    EXPECT_TRUE(sound->IsMuted());
    window_->GetListeners()->Dispatch(GameWindow::GW_ACTIVATED, 0, 0);
    EXPECT_FALSE(sound->IsMuted());
}

TEST_F(FullScreenHandlerTest, TheButtonsQuitRestoreAndMinimiseThroughTheSceneAndWindow) {
    FullScreenHandler* handler = FullScreenHandler::CreateDefault();
    Ref<PropertyFile> file = ParseDefinitions(R"(<root><Scene id="Q"/></root>)");
    const Ref<QuitLoggingScene> scene(new QuitLoggingScene(Property::Child(file.Get(), "Q"), log_));
    MakeCurrent(scene.Get());
    handler->GetQuitButton()->Invoke(handler->GetQuitButton());
    EXPECT_EQ(scene->quitRequests, 1);
    handler->GetRestoreButton()->Invoke(handler->GetRestoreButton());
    EXPECT_TRUE(window_->IsFullScreen());
    handler->GetMinimizeButton()->Invoke(handler->GetMinimizeButton());
    bool minimised = false;
    platform::Message message;
    while (platform::PeekMessage(message)) {
        minimised = minimised || (message.message == platform::WM_SYSCOMMAND && message.wParam == platform::SC_MINIMIZE);
    }
    EXPECT_TRUE(minimised);
}

TEST_F(FullScreenHandlerTest, DuringATransitionTheHandlerWaitsHiddenInTheTargetAndShowsAtTheEnd) {
    FullScreenHandler* handler = FullScreenHandler::CreateDefault();
    window_->ToggleFullScreen();
    const Ref<LoggingScene> a = MakeScene("A");
    const Ref<LoggingScene> b = MakeScene("B");
    MakeCurrent(a.Get());
    EXPECT_TRUE(handler->IsVisible());
    UseDialogs(R"(<AlphaTransition id="CROSS" time="32"/>)");
    const Ref<Object> built(DialogTable::Instance()->CreateDialog("CROSS"));
    const Ref<SceneTransition> cross(ObjectCast<SceneTransition>(built.Get()));
    ASSERT_TRUE(cross);
    manager_->RequestSwitch(b.Get(), cross.Get());
    manager_->Update(16);
    EXPECT_EQ(handler->GetParent(), b->GetRootNode());
    EXPECT_FALSE(handler->IsVisible());
    EXPECT_FALSE(handler->GetInputList()->IsOpenToAll());
    // A scene activated now (as the target is) finds the transition current.
    FullScreenHandler::AttachToScene();
    EXPECT_EQ(handler->GetParent(), b->GetRootNode());
    for (int i = 0; i < 10 && manager_->GetCurrentScene() != b.Get(); ++i) manager_->Update(16);
    ASSERT_EQ(manager_->GetCurrentScene(), b.Get());
    EXPECT_EQ(LastChild(b->GetRootNode()), handler);
    EXPECT_TRUE(handler->IsVisible());
    EXPECT_TRUE(handler->GetInputList()->IsOpenToAll());
}

// The buttons take a click exactly when they are drawn: after a switch of
// mode from a scene entered in a window through a transition, and during a
// transition (hidden, deaf) when the switch comes then.
TEST_F(FullScreenHandlerTest, AfterAModeSwitchTheButtonsAreDrawnWheneverTheyTakeClicks) {
    FullScreenHandler* handler = FullScreenHandler::CreateDefault();
    const Ref<LoggingScene> a = MakeScene("A");
    const Ref<LoggingScene> b = MakeScene("B");
    MakeCurrent(a.Get());
    UseDialogs(R"(<AlphaTransition id="CROSS" time="32"/>)");
    const auto crossTo = [this](Scene* target) {
        const Ref<Object> built(DialogTable::Instance()->CreateDialog("CROSS"));
        manager_->RequestSwitch(target, ObjectCast<SceneTransition>(built.Get()));
        manager_->Update(16);
    };
    const auto finish = [this](Scene* target) {
        for (int i = 0; i < 10 && manager_->GetCurrentScene() != target; ++i) manager_->Update(16);
        ASSERT_EQ(manager_->GetCurrentScene(), target);
    };
    crossTo(b.Get());
    finish(b.Get());
    for (const bool fullScreen : {true, false, true}) {
        SCOPED_TRACE(fullScreen);
        window_->ToggleFullScreen();
        EXPECT_EQ(handler->IsVisible(), fullScreen);
        EXPECT_EQ(handler->GetInputList()->IsOpenToAll(), fullScreen);
    }

    window_->ToggleFullScreen();
    crossTo(a.Get());
    window_->ToggleFullScreen();
    EXPECT_FALSE(handler->IsVisible());
    EXPECT_FALSE(handler->GetInputList()->IsOpenToAll());
    finish(a.Get());
    EXPECT_TRUE(handler->IsVisible());
    EXPECT_TRUE(handler->GetInputList()->IsOpenToAll());
}

TEST_F(FullScreenHandlerTest, AShownDialogStaysBelowTheHandler) {
    FullScreenHandler* handler = FullScreenHandler::CreateDefault();
    const Ref<LoggingScene> scene = MakeScene("A");
    MakeCurrent(scene.Get());
    UseDialogs(R"(<Dialog id="D"/>)");
    Dialog* dialog = scene->GetDialog("D");
    ASSERT_NE(dialog, nullptr);
    scene->ShowDialog(dialog);
    EXPECT_EQ(LastChild(scene->GetRootNode()), handler);
    EXPECT_EQ(dialog->GetNextSibling(), handler);
}

}  // namespace
