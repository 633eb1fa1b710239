#include "platform/EventTranslator.h"

#include <cstdlib>

#include "platform/CodePage.h"
#include "platform/KeyCodes.h"

namespace platform {

namespace {

constexpr uint32_t kHitClient = 1;

bool IsSystemKey(const RawEvent& event) {
    const bool alt = (event.modifiers & kModAlt) && !(event.modifiers & kModCtrl);
    return alt || event.virtualKey == VK_F10 || event.virtualKey == VK_MENU;
}

uint32_t KeyLParam(const RawEvent& event, bool down) {
    uint32_t lParam = 1 | ((event.scancode & 0xFF) << 16);
    if (event.extendedKey) lParam |= 1u << 24;
    if (event.modifiers & kModAlt) lParam |= 1u << 29;
    if (!down || event.repeat) lParam |= 1u << 30;
    if (!down) lParam |= 1u << 31;
    return lParam;
}

// The character a key gives when the text input has none for it: the
// control characters of Backspace, Tab, Enter, Escape and Ctrl+letter.
uint32_t ControlCharacter(const RawEvent& event) {
    switch (event.virtualKey) {
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_RETURN: return 13;
    case VK_ESCAPE: return 27;
    default: break;
    }
    const bool ctrlOnly = (event.modifiers & kModCtrl) && !(event.modifiers & kModAlt) &&
                          !(event.modifiers & kModAltGr);
    if (ctrlOnly && event.virtualKey >= 'A' && event.virtualKey <= 'Z')
        return event.virtualKey - 'A' + 1;
    return 0;
}

uint32_t MouseFlags(const RawEvent& event) {
    uint32_t flags = event.buttonsHeld & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
    if (event.modifiers & kModShift) flags |= MK_SHIFT;
    if (event.modifiers & kModCtrl) flags |= MK_CONTROL;
    return flags;
}

uint32_t ButtonMessage(MouseButton button, uint32_t left, int step) {
    const int index = button == MouseButton::Left ? 0 : button == MouseButton::Right ? 1 : 2;
    return left + static_cast<uint32_t>(index * 3 + step);
}

}  // namespace

void EventTranslator::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

bool EventTranslator::InsideClient(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < clientWidth_ && y < clientHeight_;
}

void EventTranslator::Translate(const RawEvent& event, std::vector<Message>& messages) {
    auto add = [&messages](uint32_t message, uint32_t wParam, uint32_t lParam) {
        messages.push_back(Message{0, message, wParam, lParam});
    };
    switch (event.kind) {
    case RawEvent::Kind::KeyDown: TranslateKey(event, true, messages); break;
    case RawEvent::Kind::KeyUp: TranslateKey(event, false, messages); break;
    case RawEvent::Kind::Text: TranslateText(event, messages); break;
    case RawEvent::Kind::MouseMove:
    case RawEvent::Kind::ButtonDown:
    case RawEvent::Kind::ButtonUp:
    case RawEvent::Kind::Wheel: TranslateMouse(event, messages); break;
    case RawEvent::Kind::PointerLeft: break;
    case RawEvent::Kind::FocusGained:
        add(WM_ACTIVATEAPP, 1, 0);
        add(WM_SETFOCUS, 0, 0);
        break;
    case RawEvent::Kind::FocusLost:
        add(WM_KILLFOCUS, 0, 0);
        add(WM_ACTIVATEAPP, 0, 0);
        break;
    case RawEvent::Kind::Minimized: add(WM_SIZE, SIZE_MINIMIZED, 0); break;
    case RawEvent::Kind::Restored:
        add(WM_SIZE, SIZE_RESTORED, PackPoint(clientWidth_, clientHeight_));
        break;
    case RawEvent::Kind::Maximized: add(WM_SIZE, SIZE_MAXIMIZED, 0); break;
    case RawEvent::Kind::Moved: add(WM_MOVE, 0, PackPoint(event.x, event.y)); break;
    case RawEvent::Kind::Exposed:
        add(WM_NCPAINT, 1, 0);
        add(WM_PAINT, 0, 0);
        break;
    case RawEvent::Kind::Close: add(WM_CLOSE, 0, 0); break;
    case RawEvent::Kind::Quit:
    case RawEvent::Kind::RendererReset: break;
    }
}

void EventTranslator::TranslateKey(const RawEvent& event, bool down,
                                   std::vector<Message>& messages) const {
    const bool system = IsSystemKey(event);
    const uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN)
                                  : (system ? WM_SYSKEYUP : WM_KEYUP);
    messages.push_back(Message{0, message, event.virtualKey, KeyLParam(event, down)});
    if (!down) return;
    // Repeats give their character too, so a held Backspace keeps deleting.
    if (const uint32_t character = ControlCharacter(event))
        messages.push_back(
            Message{0, system ? WM_SYSCHAR : WM_CHAR, character, KeyLParam(event, true)});
}

void EventTranslator::TranslateText(const RawEvent& event,
                                    std::vector<Message>& messages) const {
    const bool system = (event.modifiers & kModAlt) && !(event.modifiers & kModAltGr) &&
                        !(event.modifiers & kModCtrl);
    // Characters the program's text cannot hold arrive as '?', as pasted ones do.
    for (const char c : Utf8ToCp1252(event.text, '?')) {
        messages.push_back(
            Message{0, system ? WM_SYSCHAR : WM_CHAR, static_cast<unsigned char>(c), 1});
    }
}

bool EventTranslator::IsDoubleClick(const RawEvent& event) {
    const LastPress previous = lastPress_;
    const bool isDouble = previous.valid && !previous.wasDoubleClick &&
                          previous.button == event.button &&
                          event.timeMs - previous.timeMs <= kDoubleClickMs &&
                          std::abs(event.x - previous.x) <= kDoubleClickDistance &&
                          std::abs(event.y - previous.y) <= kDoubleClickDistance;
    lastPress_ = LastPress{true, event.button, event.x, event.y, event.timeMs, isDouble};
    return isDouble;
}

void EventTranslator::TranslateMouse(const RawEvent& event, std::vector<Message>& messages) {
    const uint32_t position = PackPoint(event.x, event.y);
    const uint32_t flags = MouseFlags(event);
    auto setCursor = [&](uint32_t mouseMessage) {
        if (InsideClient(event.x, event.y))
            messages.push_back(Message{0, WM_SETCURSOR, 0, kHitClient | (mouseMessage << 16)});
    };
    switch (event.kind) {
    case RawEvent::Kind::MouseMove:
        setCursor(WM_MOUSEMOVE);
        messages.push_back(Message{0, WM_MOUSEMOVE, flags, position});
        break;
    case RawEvent::Kind::ButtonDown: {
        const uint32_t message =
            ButtonMessage(event.button, WM_LBUTTONDOWN, IsDoubleClick(event) ? 2 : 0);
        setCursor(message);
        messages.push_back(Message{0, message, flags, position});
        break;
    }
    case RawEvent::Kind::ButtonUp:
        messages.push_back(Message{0, ButtonMessage(event.button, WM_LBUTTONDOWN, 1), flags,
                                   position});
        break;
    case RawEvent::Kind::Wheel: {
        const uint32_t delta = static_cast<uint16_t>(static_cast<int16_t>(event.wheelSteps * 120));
        messages.push_back(Message{0, WM_MOUSEWHEEL, (delta << 16) | flags, position});
        break;
    }
    default: break;
    }
}

}  // namespace platform
