#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/WindowTypes.h"

// What differs between a real display (SDL) and the headless stand-in used by
// tests and CI: the one native window, presenting a frame, raw input, the
// pointer, cursor, clipboard and message boxes. Everything above this (the
// message queue, translation into window messages, surfaces) is shared.
namespace platform {

enum class CursorShape { None, AppStarting, Arrow, Hand, Help, Wait, IBeam };

struct DesktopMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;   // bytes per pixel x 8
};

// Modifier bits of a raw key or mouse event.
constexpr uint32_t kModShift = 0x1;
constexpr uint32_t kModCtrl = 0x2;
constexpr uint32_t kModAlt = 0x4;     // left Alt, or right Alt that is not AltGr
constexpr uint32_t kModAltGr = 0x8;

enum class MouseButton { Left, Right, Middle };

// One input or window event as the backend saw it, before translation.
struct RawEvent {
    enum class Kind {
        KeyDown, KeyUp, Text,
        MouseMove, ButtonDown, ButtonUp, Wheel, PointerLeft,
        FocusGained, FocusLost, Minimized, Restored, Maximized, Moved, Exposed,
        Close, Quit, RendererReset,
    };
    Kind kind = Kind::MouseMove;
    uint32_t virtualKey = 0;     // key events
    uint32_t scancode = 0;
    bool extendedKey = false;
    bool repeat = false;
    uint32_t modifiers = 0;      // kMod* bits held during the event
    std::string text;            // Text: UTF-8
    int32_t x = 0;               // mouse events, Moved: client (or screen) position
    int32_t y = 0;
    MouseButton button = MouseButton::Left;
    uint32_t buttonsHeld = 0;    // MK_LBUTTON / MK_RBUTTON / MK_MBUTTON after the event
    int32_t wheelSteps = 0;
    uint32_t timeMs = 0;         // for double-click detection
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual DesktopMode Desktop() const = 0;

    // The one native window. Opening again while open reconfigures it.
    virtual bool OpenWindow(const std::string& titleUtf8, int width, int height,
                            bool fullScreen) = 0;
    virtual void CloseWindow() = 0;
    virtual void ShowWindow() = 0;
    virtual void MinimizeWindow() = 0;
    virtual void RestoreWindow() = 0;
    virtual void RaiseWindow() = 0;
    virtual void MoveWindow(int x, int y) = 0;
    virtual Point WindowPosition() const = 0;

    // Shows one frame of tightly packed pixels (RGB565 or 0x??RRGGBB).
    // False when the renderer is gone (the primary surface is lost).
    virtual bool Present(const uint8_t* pixels, int width, int height, int bytesPerPixel,
                         bool waitForVerticalBlank) = 0;
    // Makes a lost renderer anew; false when that fails.
    virtual bool ResetRenderer() = 0;

    // Appends the events that arrived since the last call.
    virtual void PollEvents(std::vector<RawEvent>& events) = 0;
    // The pointer in client coordinates; may lie outside the client area.
    virtual Point PointerPosition() const = 0;
    virtual void SetCursorShape(CursorShape shape) = 0;
    virtual void SetMouseCapture(bool captured) = 0;

    virtual void SetClipboardText(const std::string& utf8) = 0;
    virtual std::string GetClipboardText() const = 0;
    virtual void ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                bool isError) = 0;
    // Hands the address to the desktop's handler; false when that fails.
    virtual bool OpenUrl(const std::string& urlUtf8) = 0;
};

// The backend chosen by WORDRAIL_BACKEND ("sdl", the default, or
// "headless"), made on first use.
Backend& ActiveBackend();

// Replaces the active backend (tests); null returns to the default choice.
void SetActiveBackend(std::unique_ptr<Backend> backend);

}  // namespace platform
