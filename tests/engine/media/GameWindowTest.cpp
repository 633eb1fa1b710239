#include "engine/media/GameWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/foundation/Folders.h"
#include "engine/media/Canvas.h"
#include "engine/media/InputDispatcher.h"
#include "engine/media/Surface.h"
#include "platform/KeyCodes.h"
#include "platform/RunOptions.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/TempFolder.h"

using namespace platform;

namespace {

class MessageRecorder : public MessageListener {
public:
    void OnMessage(uint32_t message, uint32_t wParam, uint32_t) override {
        if (message >= GameWindow::GW_MODE_SWITCHED) own.emplace_back(message, wParam);
    }
    std::vector<std::pair<uint32_t, uint32_t>> own;
};

class SceneStandIn : public CloseRequestTarget {
public:
    bool RequestQuitOfCurrentScene() override {
        ++requests;
        return hasScene;
    }
    bool hasScene = true;
    int requests = 0;
};

// A headless desktop of the given size and depth, and the window made on it.
class GameWindowTest : public ::testing::Test {
protected:
    void UseDesktop(const char* desktop) {
        setenv("WORDRAIL_DESKTOP", desktop, 1);
        ReloadRunOptionsForTesting();
        auto backend = std::make_unique<HeadlessBackend>();
        backend_ = backend.get();
        SetActiveBackend(std::move(backend));
    }
    void SetUp() override { UseDesktop("1024x768x32"); }
    void TearDown() override {
        if (GameWindow::Instance()) GameWindow::Instance()->GetListeners()->RemoveListener(&recorder_);
        GameWindow::SetCloseRequestTarget(nullptr);
        GameWindow::DestroyInstance();
        ResetWindowsForTesting();
        SetActiveBackend(nullptr);
        unsetenv("WORDRAIL_DESKTOP");
        ReloadRunOptionsForTesting();
    }
    GameWindow* Make(bool fullScreen) {
        GameWindow* window = GameWindow::Create("Game", 800, 600, fullScreen, 0, 102);
        window->GetListeners()->AddListener(&recorder_);
        return window;
    }
    // Runs the waiting messages as the main loop does; true at the quit message.
    bool Pump() {
        Message message;
        while (PeekMessage(message)) {
            if (message.message == WM_QUIT) return true;
            DispatchMessage(message);
        }
        return false;
    }
    void Inject(RawEvent::Kind kind, uint32_t key = 0, uint32_t modifiers = 0) {
        RawEvent event;
        event.kind = kind;
        event.virtualKey = key;
        event.modifiers = modifiers;
        backend_->InjectEvent(event);
    }

    HeadlessBackend* backend_ = nullptr;
    MessageRecorder recorder_;
};

TEST_F(GameWindowTest, OpensWindowedWithACanvasOnTheBackSurface) {
    GameWindow* window = Make(false);
    EXPECT_FALSE(Pump());
    EXPECT_TRUE(backend_->WindowOpen());
    EXPECT_FALSE(backend_->WindowFullScreen());
    EXPECT_EQ(backend_->WindowTitle(), "Game");
    EXPECT_TRUE(window->IsModeSwitchAllowed());
    EXPECT_FALSE(window->IsInactive());
    EXPECT_TRUE(window->IsFocused());
    EXPECT_EQ(window->GetPixelBytes(), 4);
    ASSERT_NE(window->GetCanvas(), nullptr);
    ASSERT_NE(window->GetBackSurface(), nullptr);
    EXPECT_EQ(window->GetBackSurface()->GetWidth(), 800);
    EXPECT_EQ(window->GetBackSurface()->GetPitch(), 800 * 4);
    window->Update(16);
    int width = 0, height = 0;
    backend_->Frames().LastFrame(width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
}

TEST_F(GameWindowTest, DesktopDecidesTheModeAndDepth) {
    struct Case {
        const char* desktop;
        bool askFullScreen;
        bool fullScreen;
        bool switchAllowed;
        int pixelBytes;
    };
    const Case cases[] = {
        {"800x600x32", false, true, false, 4},    // no room for a window
        {"1024x768x8", false, true, false, 2},    // no window on 8 bits: 16-bit full screen
        {"1024x768x24", false, false, true, 4},   // 24 bits take four bytes
        {"1024x768x16", true, true, true, 2},
    };
    for (const Case& c : cases) {
        UseDesktop(c.desktop);
        GameWindow* window = Make(c.askFullScreen);
        EXPECT_EQ(window->IsFullScreen(), c.fullScreen) << c.desktop;
        EXPECT_EQ(backend_->WindowFullScreen(), c.fullScreen) << c.desktop;
        EXPECT_EQ(window->IsModeSwitchAllowed(), c.switchAllowed) << c.desktop;
        EXPECT_EQ(window->GetPixelBytes(), c.pixelBytes) << c.desktop;
        EXPECT_NE(window->GetCanvas(), nullptr) << c.desktop;
        EXPECT_FALSE(Pump()) << c.desktop;
        GameWindow::DestroyInstance();
        ResetWindowsForTesting();
    }
}

TEST_F(GameWindowTest, AltEnterSwitchesModeWithoutQuitting) {
    GameWindow* window = Make(false);
    Pump();
    recorder_.own.clear();
    Inject(RawEvent::Kind::KeyDown, VK_RETURN, kModAlt);
    EXPECT_FALSE(Pump());   // the old window's destruction posts no quit
    EXPECT_TRUE(window->IsFullScreen());
    EXPECT_TRUE(backend_->WindowFullScreen());
    EXPECT_NE(window->GetCanvas(), nullptr);
    // Showing the new window restores it, then the switch is announced.
    EXPECT_EQ(recorder_.own, (std::vector<std::pair<uint32_t, uint32_t>>{
                                 {GameWindow::GW_ACTIVATED, 0}, {GameWindow::GW_MODE_SWITCHED, 1}}));
    Inject(RawEvent::Kind::Maximized);   // the maximise box switches back
    EXPECT_FALSE(Pump());
    EXPECT_FALSE(window->IsFullScreen());
}

TEST_F(GameWindowTest, AltEnterDoesNothingWhenTheModeCannotSwitch) {
    UseDesktop("800x600x32");
    GameWindow* window = Make(false);
    Pump();
    recorder_.own.clear();
    Inject(RawEvent::Kind::KeyDown, VK_RETURN, kModAlt);
    EXPECT_FALSE(Pump());
    EXPECT_TRUE(window->IsFullScreen());
    EXPECT_TRUE(recorder_.own.empty());
}

TEST_F(GameWindowTest, CloseAsksTheSceneOrClosesWithoutOne) {
    GameWindow* window = Make(false);
    Pump();
    SceneStandIn scene;
    GameWindow::SetCloseRequestTarget(&scene);
    Inject(RawEvent::Kind::Close);
    EXPECT_FALSE(Pump());
    EXPECT_EQ(scene.requests, 1);
    EXPECT_NE(window->GetHwnd(), 0u);
    EXPECT_TRUE(IsWindow(window->GetHwnd()));
    scene.hasScene = false;
    Inject(RawEvent::Kind::Close);
    EXPECT_TRUE(Pump());
    EXPECT_FALSE(IsWindow(window->GetHwnd()));
}

TEST_F(GameWindowTest, MinimisedOrUnfocusedFullScreenPresentsNothing) {
    GameWindow* window = Make(true);
    Pump();
    recorder_.own.clear();
    window->Update(16);
    const uint64_t frames = backend_->Frames().PresentedFrames();
    Inject(RawEvent::Kind::Minimized);
    Pump();
    EXPECT_TRUE(window->IsInactive());
    window->Update(16);
    EXPECT_EQ(backend_->Frames().PresentedFrames(), frames);
    Inject(RawEvent::Kind::Restored);
    Inject(RawEvent::Kind::FocusLost);
    Pump();
    EXPECT_TRUE(window->IsInactive());   // full screen without the focus
    EXPECT_FALSE(window->IsFocused());
    Inject(RawEvent::Kind::FocusGained);
    Pump();
    EXPECT_FALSE(window->IsInactive());
    window->Update(16);
    EXPECT_EQ(backend_->Frames().PresentedFrames(), frames + 1);
    using Own = std::vector<std::pair<uint32_t, uint32_t>>;
    EXPECT_EQ(recorder_.own, (Own{{GameWindow::GW_DEACTIVATED, 0}, {GameWindow::GW_ACTIVATED, 0},
                                  {GameWindow::GW_DEACTIVATED, 0}, {GameWindow::GW_ACTIVATED, 0}}));
}

TEST_F(GameWindowTest, LostDisplayIsRestoredOrMakesTheWindowInactive) {
    GameWindow* window = Make(false);
    Pump();
    const uint64_t frames = backend_->Frames().PresentedFrames();
    backend_->LoseRenderer(false);
    window->Update(16);   // lost: restored, nothing shown
    EXPECT_FALSE(window->IsInactive());
    window->Update(16);
    EXPECT_EQ(backend_->Frames().PresentedFrames(), frames + 1);
    backend_->LoseRenderer(true);
    window->Update(16);
    EXPECT_TRUE(window->IsInactive());
}

TEST_F(GameWindowTest, CreationFailureTellsThePlayerAndQuits) {
    class NoWindows : public HeadlessBackend {
        bool OpenWindow(const std::string&, int, int, bool) override { return false; }
    };
    auto backend = std::make_unique<NoWindows>();
    backend_ = backend.get();
    SetActiveBackend(std::move(backend));
    GameWindow* window = GameWindow::Create("Game", 800, 600, false, 0, 102);
    EXPECT_TRUE(window->IsInactive());
    EXPECT_EQ(window->GetCanvas(), nullptr);
    ASSERT_EQ(backend_->MessageBoxes().size(), 1u);
    EXPECT_EQ(backend_->MessageBoxes()[0],
              "Error: Something went wrong with creating the game-window.\nThis game will quit now.");
    window->Update(16);   // nothing to present, and no crash
    EXPECT_TRUE(Pump());
}

TEST_F(GameWindowTest, CursorShapesAndClipboard) {
    GameWindow* window = Make(false);
    const std::pair<int, CursorShape> shapes[] = {
        {0, CursorShape::None}, {1, CursorShape::AppStarting}, {3, CursorShape::Hand},
        {4, CursorShape::Help}, {5, CursorShape::Wait},        {6, CursorShape::IBeam},
        {9, CursorShape::Arrow},
    };
    for (const auto& [number, shape] : shapes) {
        window->SetCursorShape(number);
        EXPECT_EQ(backend_->Cursor(), shape) << number;
    }
    GameWindow::SetClipboardText("caf\xE9 \x80");
    EXPECT_EQ(GameWindow::GetClipboardText(), "caf\xE9 \x80");
}

// The dispatcher reads the window's size and focus.
TEST_F(GameWindowTest, DispatcherClampsPositionsAndReportsAPointerOutside) {
    class Moves : public InputListener {
    public:
        bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override {
            seen.push_back({x, y, static_cast<int32_t>(flags)});
            return true;
        }
        void SetInputEnabled(bool) override {}
        bool IsInputEnabled() const override { return true; }
        std::vector<std::vector<int32_t>> seen;
    } moves;
    Make(false);
    Pump();
    Ref<InputListenerList> list = new InputListenerList();
    list->AddListener(&moves, false);
    Ref<InputDispatcher> dispatcher = new InputDispatcher();
    dispatcher->AddList(list.Get());
    const int32_t points[][2] = {{-5, 10}, {900, 700}, {400, 300}};
    for (const auto& point : points)
        dispatcher->QueueMessage(WM_MOUSEMOVE, MK_LBUTTON, PackPoint(point[0], point[1]));
    dispatcher->DispatchFrame();
    EXPECT_EQ(moves.seen, (std::vector<std::vector<int32_t>>{
                              {0, 10, MK_LBUTTON}, {800, 600, MK_LBUTTON}, {400, 300, MK_LBUTTON}}));
    // Nothing queued: a pointer that left the window is reported every frame.
    moves.seen.clear();
    RawEvent leave;
    leave.kind = RawEvent::Kind::PointerLeft;
    leave.x = -1;
    leave.y = -1;
    backend_->InjectEvent(leave);
    Pump();
    dispatcher->DispatchFrame();
    dispatcher->DispatchFrame();
    EXPECT_EQ(moves.seen, (std::vector<std::vector<int32_t>>{{0, 0, 0}, {0, 0, 0}}));
    // Not without the focus, and not while the pointer is inside.
    moves.seen.clear();
    Inject(RawEvent::Kind::FocusLost);
    Pump();
    dispatcher->DispatchFrame();
    EXPECT_TRUE(moves.seen.empty());
}

TEST_F(GameWindowTest, SecondCopyIsRefused) {
    TempFolder data;
    setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    ForgetFoldersForTesting();
    std::string problem;
    EXPECT_FALSE(GameWindow::CheckSingleInstance(problem));
    EXPECT_TRUE(GameWindow::CheckSingleInstance(problem));
    EXPECT_EQ(problem, "");
    GameWindow::ReleaseSingleInstanceForTesting();
    EXPECT_FALSE(GameWindow::CheckSingleInstance(problem));
    GameWindow::ReleaseSingleInstanceForTesting();
    unsetenv("XDG_DATA_HOME");
    ForgetFoldersForTesting();
}

}  // namespace
