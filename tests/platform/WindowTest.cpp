#include "platform/Window.h"

#include <vector>

#include "HeadlessFixture.h"

using namespace platform;

namespace {

std::vector<uint32_t> received;
bool destroyWhenClosed = true;

int32_t RecordingProcedure(WindowHandle window, uint32_t message, uint32_t wParam,
                           uint32_t lParam) {
    received.push_back(message);
    if (message == WM_DESTROY) PostQuitMessage(7);
    if (message == WM_CLOSE && !destroyWhenClosed) return 0;
    return DefWindowProc(window, message, wParam, lParam);
}

class WindowTest : public HeadlessFixture {
protected:
    void SetUp() override {
        HeadlessFixture::SetUp();
        received.clear();
        destroyWhenClosed = true;
        ASSERT_TRUE(RegisterWindowClass("Game", RecordingProcedure, CS_DBLCLKS, 0));
    }
    WindowHandle Make(uint32_t style) {
        return CreateWindowEx(0, "Game", "Game", style, 100, 100, 800, 600);
    }
    // Runs the queue dry, as the main loop would; returns the quit code or -1.
    int Pump() {
        Message message;
        while (PeekMessage(message)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            DispatchMessage(message);
        }
        return -1;
    }
};

TEST_F(WindowTest, CreationShowAndPaintAreSentInOrder) {
    const WindowHandle window = Make(WS_CAPTION);
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(Backend().WindowOpen());
    EXPECT_FALSE(Backend().WindowFullScreen());
    ShowWindow(window, SW_SHOWDEFAULT);
    UpdateWindow(window);
    EXPECT_EQ(received, (std::vector<uint32_t>{WM_CREATE, WM_SIZE, WM_MOVE, WM_PAINT}));
    received.clear();
    EXPECT_EQ(Pump(), -1);
    // The focus comes with showing; the paint was done by UpdateWindow.
    EXPECT_EQ(received, (std::vector<uint32_t>{WM_ACTIVATEAPP, WM_SETFOCUS}));
}

TEST_F(WindowTest, UnknownClassOrSecondWindowFails) {
    EXPECT_EQ(CreateWindowEx(0, "Other", "x", 0, 0, 0, 10, 10), 0u);
    ASSERT_NE(Make(WS_POPUP), 0u);
    EXPECT_TRUE(Backend().WindowFullScreen());
    EXPECT_EQ(Make(WS_POPUP), 0u);
}

TEST_F(WindowTest, CloseBoxDestroysTheWindowAndQuitComesLast) {
    const WindowHandle window = Make(WS_CAPTION);
    ShowWindow(window, SW_SHOWDEFAULT);
    Pump();
    received.clear();
    RawEvent close;
    close.kind = RawEvent::Kind::Close;
    Backend().InjectEvent(close);
    PostMessage(window, 0x0400, 0, 0);
    EXPECT_EQ(Pump(), 7);
    // The quit posted while destroying waits until the queue is empty.
    EXPECT_EQ(received, (std::vector<uint32_t>{0x0400, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(window));
    Message message;
    EXPECT_FALSE(PeekMessage(message));
    EXPECT_FALSE(Backend().WindowOpen());   // closed at the next collection
}

TEST_F(WindowTest, RecreatedWindowTakesOverTheNativeWindow) {
    const WindowHandle first = Make(WS_CAPTION);
    EXPECT_TRUE(DestroyWindow(first));
    EXPECT_FALSE(DestroyWindow(first));
    const WindowHandle second = Make(WS_POPUP);
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, first);
    Pump();
    EXPECT_TRUE(Backend().WindowOpen());
    EXPECT_TRUE(Backend().WindowFullScreen());
}

TEST_F(WindowTest, DefaultSystemCommandsMinimizeAndMaximize) {
    const WindowHandle window = Make(WS_CAPTION);
    ShowWindow(window, SW_SHOWDEFAULT);
    Pump();
    received.clear();
    PostMessage(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    PostMessage(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump();
    EXPECT_EQ(received, (std::vector<uint32_t>{WM_SYSCOMMAND, WM_SIZE, WM_SYSCOMMAND, WM_SIZE}));
}

TEST_F(WindowTest, CursorPositionRoundTripsThroughScreenCoordinates) {
    const WindowHandle window = Make(WS_CAPTION);
    MoveWindow(window, 30, 40, 800, 600, false);
    RawEvent move;
    move.kind = RawEvent::Kind::MouseMove;
    move.x = -3;
    move.y = 599;
    Backend().InjectEvent(move);
    Pump();
    Point point;
    GetCursorPos(point);
    EXPECT_EQ(point.x, 27);
    EXPECT_EQ(point.y, 639);
    ScreenToClient(window, point);
    EXPECT_EQ(point.x, -3);
    EXPECT_EQ(point.y, 599);
}

}  // namespace
