#pragma once

#include <cstdint>

// The input side of a node: keys, characters and mouse buttons, each handler
// answering whether it used the event (a used event goes no further).
// Coordinates are client pixels; flags are the mouse message's button flags.
class InputListener {
public:
    virtual ~InputListener() = default;

    virtual bool OnKeyDown(int32_t virtualKey) { static_cast<void>(virtualKey); return false; }
    virtual bool OnKeyUp(int32_t virtualKey) { static_cast<void>(virtualKey); return false; }
    virtual bool OnChar(int32_t character) { static_cast<void>(character); return false; }
    virtual bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) {
        static_cast<void>(x), static_cast<void>(y), static_cast<void>(flags);
        return false;
    }
    virtual bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
        static_cast<void>(x), static_cast<void>(y), static_cast<void>(flags);
        static_cast<void>(doubleClick);
        return false;
    }
    virtual bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) {
        static_cast<void>(x), static_cast<void>(y), static_cast<void>(flags);
        return false;
    }
    virtual bool OnMButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
        static_cast<void>(x), static_cast<void>(y), static_cast<void>(flags);
        static_cast<void>(doubleClick);
        return false;
    }
    virtual bool OnMButtonUp(int32_t x, int32_t y, uint32_t flags) {
        static_cast<void>(x), static_cast<void>(y), static_cast<void>(flags);
        return false;
    }
    virtual bool OnRButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
        static_cast<void>(x), static_cast<void>(y), static_cast<void>(flags);
        static_cast<void>(doubleClick);
        return false;
    }
    virtual bool OnRButtonUp(int32_t x, int32_t y, uint32_t flags) {
        static_cast<void>(x), static_cast<void>(y), static_cast<void>(flags);
        return false;
    }
    virtual void SetInputEnabled(bool enabled) = 0;
    virtual bool IsInputEnabled() const = 0;
};
