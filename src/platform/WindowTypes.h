#pragma once

#include <cstdint>

// Window handles, rectangles and the window-message numbers the engine
// reads. The values are the ones the engine's message handling and its data
// files rely on.
namespace platform {

using WindowHandle = uint32_t;   // 0: no window

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct Message {
    WindowHandle window = 0;
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
};

using WindowProcedure = int32_t (*)(WindowHandle, uint32_t message, uint32_t wParam,
                                    uint32_t lParam);

constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_NCCALCSIZE = 0x0083;
constexpr uint32_t WM_NCPAINT = 0x0085;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;

constexpr uint32_t SIZE_RESTORED = 0;
constexpr uint32_t SIZE_MINIMIZED = 1;
constexpr uint32_t SIZE_MAXIMIZED = 2;

constexpr uint32_t SC_MINIMIZE = 0xF020;
constexpr uint32_t SC_MAXIMIZE = 0xF030;
constexpr uint32_t SC_CLOSE = 0xF060;
constexpr uint32_t SC_KEYMENU = 0xF100;
constexpr uint32_t SC_RESTORE = 0xF120;

constexpr uint32_t MK_LBUTTON = 0x01;
constexpr uint32_t MK_RBUTTON = 0x02;
constexpr uint32_t MK_SHIFT = 0x04;
constexpr uint32_t MK_CONTROL = 0x08;
constexpr uint32_t MK_MBUTTON = 0x10;

constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000;
constexpr uint32_t WS_EX_TOPMOST = 0x00000008;

constexpr uint32_t CS_VREDRAW = 0x1;
constexpr uint32_t CS_HREDRAW = 0x2;
constexpr uint32_t CS_DBLCLKS = 0x8;

// Packs client coordinates the way mouse messages carry them: x in the low
// 16 bits, y in the high 16 bits, each as a 16-bit two's complement value.
constexpr uint32_t PackPoint(int32_t x, int32_t y) {
    return (static_cast<uint32_t>(static_cast<uint16_t>(x))) |
           (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16);
}

}  // namespace platform
