#include "platform/sdl/SdlEvents.h"

#include <cstring>

#include "platform/sdl/SdlKeyMap.h"

namespace platform {

namespace {

uint32_t ButtonFlag(uint8_t button) {
    switch (button) {
    case SDL_BUTTON_LEFT: return MK_LBUTTON;
    case SDL_BUTTON_RIGHT: return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE: return MK_MBUTTON;
    default: return 0;
    }
}

uint8_t SdlButton(MouseButton button) {
    return button == MouseButton::Left ? SDL_BUTTON_LEFT
           : button == MouseButton::Right ? SDL_BUTTON_RIGHT : SDL_BUTTON_MIDDLE;
}

uint16_t SdlModifiers(uint32_t modifiers) {
    uint16_t mod = KMOD_NONE;
    if (modifiers & kModShift) mod |= KMOD_LSHIFT;
    if (modifiers & kModCtrl) mod |= KMOD_LCTRL;
    if (modifiers & kModAlt) mod |= KMOD_LALT;
    if (modifiers & kModAltGr) mod |= KMOD_RALT | KMOD_MODE;
    return mod;
}

bool WindowEvent(const SDL_WindowEvent& window, RawEvent& raw) {
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: raw.kind = RawEvent::Kind::FocusGained; return true;
    case SDL_WINDOWEVENT_FOCUS_LOST: raw.kind = RawEvent::Kind::FocusLost; return true;
    case SDL_WINDOWEVENT_MINIMIZED: raw.kind = RawEvent::Kind::Minimized; return true;
    case SDL_WINDOWEVENT_RESTORED: raw.kind = RawEvent::Kind::Restored; return true;
    case SDL_WINDOWEVENT_MAXIMIZED: raw.kind = RawEvent::Kind::Maximized; return true;
    case SDL_WINDOWEVENT_EXPOSED: raw.kind = RawEvent::Kind::Exposed; return true;
    case SDL_WINDOWEVENT_CLOSE: raw.kind = RawEvent::Kind::Close; return true;
    case SDL_WINDOWEVENT_LEAVE: raw.kind = RawEvent::Kind::PointerLeft; return true;
    case SDL_WINDOWEVENT_MOVED:
        raw.kind = RawEvent::Kind::Moved;
        raw.x = window.data1;
        raw.y = window.data2;
        return true;
    default: return false;
    }
}

}  // namespace

uint32_t ModifiersFromSdl(uint16_t mod) {
    uint32_t modifiers = 0;
    if (mod & KMOD_SHIFT) modifiers |= kModShift;
    if (mod & KMOD_CTRL) modifiers |= kModCtrl;
    if (mod & KMOD_MODE) modifiers |= kModAltGr;
    if ((mod & KMOD_LALT) || ((mod & KMOD_RALT) && !(mod & KMOD_MODE))) modifiers |= kModAlt;
    return modifiers;
}

bool RawEventFromSdl(const SDL_Event& event, SdlInputState& state, RawEvent& raw) {
    raw = RawEvent{};
    raw.timeMs = event.common.timestamp;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (event.key.windowID != state.windowId) return false;
        const SDL_Keysym& key = event.key.keysym;
        raw.kind = event.type == SDL_KEYDOWN ? RawEvent::Kind::KeyDown : RawEvent::Kind::KeyUp;
        raw.virtualKey = VirtualKeyFromSdl(key.sym, key.scancode);
        raw.scancode = static_cast<uint32_t>(key.scancode);
        raw.extendedKey = IsExtendedSdlKey(key.sym);
        raw.repeat = event.key.repeat != 0;
        raw.modifiers = ModifiersFromSdl(key.mod);
        state.modifiers = raw.modifiers;
        return raw.virtualKey != 0;
    }
    case SDL_TEXTINPUT:
        if (event.text.windowID != state.windowId) return false;
        raw.kind = RawEvent::Kind::Text;
        raw.text = event.text.text;
        raw.modifiers = state.modifiers;
        return true;
    case SDL_MOUSEMOTION:
        if (event.motion.windowID != state.windowId) return false;
        raw.kind = RawEvent::Kind::MouseMove;
        raw.x = event.motion.x;
        raw.y = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (event.button.windowID != state.windowId) return false;
        const uint32_t flag = ButtonFlag(event.button.button);
        if (flag == 0) return false;
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        raw.kind = down ? RawEvent::Kind::ButtonDown : RawEvent::Kind::ButtonUp;
        raw.button = flag == MK_LBUTTON ? MouseButton::Left
                     : flag == MK_RBUTTON ? MouseButton::Right : MouseButton::Middle;
        raw.x = event.button.x;
        raw.y = event.button.y;
        state.buttonsHeld = down ? state.buttonsHeld | flag : state.buttonsHeld & ~flag;
        break;
    }
    case SDL_MOUSEWHEEL: {
        if (event.wheel.windowID != state.windowId) return false;
        raw.kind = RawEvent::Kind::Wheel;
        raw.wheelSteps = event.wheel.y;
        raw.x = state.pointer.x;
        raw.y = state.pointer.y;
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.windowID != state.windowId || !WindowEvent(event.window, raw))
            return false;
        // A captured drag goes on outside the window; otherwise the pointer
        // is gone.
        if (raw.kind == RawEvent::Kind::PointerLeft && state.buttonsHeld == 0)
            state.pointer = Point{-1, -1};
        raw.x = raw.kind == RawEvent::Kind::Moved ? raw.x : state.pointer.x;
        raw.y = raw.kind == RawEvent::Kind::Moved ? raw.y : state.pointer.y;
        return true;
    case SDL_QUIT:
        raw.kind = RawEvent::Kind::Quit;
        return true;
    case SDL_RENDER_DEVICE_RESET:
        raw.kind = RawEvent::Kind::RendererReset;
        return true;
    default:
        return false;
    }
    if (raw.kind != RawEvent::Kind::Wheel) state.pointer = Point{raw.x, raw.y};
    raw.buttonsHeld = state.buttonsHeld;
    raw.modifiers = state.modifiers;
    return true;
}

bool SdlEventFromRaw(const RawEvent& raw, uint32_t windowId, SDL_Event& event) {
    std::memset(&event, 0, sizeof event);
    auto windowEvent = [&](SDL_WindowEventID id) {
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = windowId;
        event.window.event = id;
        return true;
    };
    switch (raw.kind) {
    case RawEvent::Kind::KeyDown:
    case RawEvent::Kind::KeyUp: {
        const SDL_Keycode key = SdlKeyFromVirtualKey(raw.virtualKey);
        if (key == SDLK_UNKNOWN) return false;
        const bool down = raw.kind == RawEvent::Kind::KeyDown;
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = windowId;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = raw.repeat ? 1 : 0;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        event.key.keysym.mod = SdlModifiers(raw.modifiers);
        return true;
    }
    case RawEvent::Kind::Text:
        event.type = SDL_TEXTINPUT;
        event.text.windowID = windowId;
        std::strncpy(event.text.text, raw.text.c_str(), sizeof event.text.text - 1);
        return true;
    case RawEvent::Kind::MouseMove:
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = windowId;
        event.motion.x = raw.x;
        event.motion.y = raw.y;
        return true;
    case RawEvent::Kind::ButtonDown:
    case RawEvent::Kind::ButtonUp:
        event.type = raw.kind == RawEvent::Kind::ButtonDown ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.windowID = windowId;
        event.button.button = SdlButton(raw.button);
        event.button.state = raw.kind == RawEvent::Kind::ButtonDown ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = raw.x;
        event.button.y = raw.y;
        return true;
    case RawEvent::Kind::Wheel:
        event.type = SDL_MOUSEWHEEL;
        event.wheel.windowID = windowId;
        event.wheel.y = raw.wheelSteps;
        return true;
    case RawEvent::Kind::PointerLeft: return windowEvent(SDL_WINDOWEVENT_LEAVE);
    case RawEvent::Kind::FocusGained: return windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    case RawEvent::Kind::FocusLost: return windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    case RawEvent::Kind::Minimized: return windowEvent(SDL_WINDOWEVENT_MINIMIZED);
    case RawEvent::Kind::Restored: return windowEvent(SDL_WINDOWEVENT_RESTORED);
    case RawEvent::Kind::Maximized: return windowEvent(SDL_WINDOWEVENT_MAXIMIZED);
    case RawEvent::Kind::Exposed: return windowEvent(SDL_WINDOWEVENT_EXPOSED);
    case RawEvent::Kind::Close: return windowEvent(SDL_WINDOWEVENT_CLOSE);
    case RawEvent::Kind::Moved: return false;
    case RawEvent::Kind::Quit:
        event.type = SDL_QUIT;
        return true;
    case RawEvent::Kind::RendererReset:
        event.type = SDL_RENDER_DEVICE_RESET;
        return true;
    }
    return false;
}

}  // namespace platform
