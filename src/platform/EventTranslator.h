#pragma once

#include <vector>

#include "platform/Backend.h"
#include "platform/WindowTypes.h"

// Turns raw backend events into the window messages a window procedure
// expects, in the order a message loop would deliver them: key down, its
// character, key up; a cursor message before each mouse message inside the
// client area; a double-click message in place of a second quick press.
namespace platform {

class EventTranslator {
public:
    void SetClientSize(int width, int height);

    // Appends the messages for one raw event (window 0; the caller addresses
    // them). Quit and renderer resets make no message.
    void Translate(const RawEvent& event, std::vector<Message>& messages);

    static constexpr uint32_t kDoubleClickMs = 500;
    static constexpr int kDoubleClickDistance = 2;

private:
    void TranslateKey(const RawEvent& event, bool down, std::vector<Message>& messages) const;
    void TranslateText(const RawEvent& event, std::vector<Message>& messages) const;
    void TranslateMouse(const RawEvent& event, std::vector<Message>& messages);
    bool IsDoubleClick(const RawEvent& event);
    bool InsideClient(int32_t x, int32_t y) const;

    int clientWidth_ = 0;
    int clientHeight_ = 0;

    struct LastPress {
        bool valid = false;
        MouseButton button = MouseButton::Left;
        int32_t x = 0;
        int32_t y = 0;
        uint32_t timeMs = 0;
        bool wasDoubleClick = false;
    } lastPress_;
};

}  // namespace platform
