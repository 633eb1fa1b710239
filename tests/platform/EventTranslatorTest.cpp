#include "platform/EventTranslator.h"

#include <gtest/gtest.h>

#include "platform/KeyCodes.h"

using namespace platform;

namespace {

RawEvent Key(RawEvent::Kind kind, uint32_t virtualKey, uint32_t modifiers = 0,
             bool repeat = false) {
    RawEvent event;
    event.kind = kind;
    event.virtualKey = virtualKey;
    event.scancode = 0x0E;
    event.modifiers = modifiers;
    event.repeat = repeat;
    return event;
}

RawEvent Text(const std::string& text, uint32_t modifiers = 0) {
    RawEvent event;
    event.kind = RawEvent::Kind::Text;
    event.text = text;
    event.modifiers = modifiers;
    return event;
}

RawEvent Mouse(RawEvent::Kind kind, int32_t x, int32_t y, uint32_t timeMs = 0,
               MouseButton button = MouseButton::Left, uint32_t held = 0) {
    RawEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.timeMs = timeMs;
    event.button = button;
    event.buttonsHeld = held;
    return event;
}

// message, wParam pairs; lParam is checked where it matters.
using Sequence = std::vector<std::pair<uint32_t, uint32_t>>;

Sequence Translate(EventTranslator& translator, const std::vector<RawEvent>& events) {
    std::vector<Message> messages;
    for (const RawEvent& event : events) translator.Translate(event, messages);
    Sequence sequence;
    for (const Message& m : messages) sequence.emplace_back(m.message, m.wParam);
    return sequence;
}

struct KeyCase {
    const char* name;
    std::vector<RawEvent> events;
    Sequence expected;
};

TEST(EventTranslator, KeysBecomeKeyAndCharacterMessagesInOrder) {
    const KeyCase cases[] = {
        {"letter with its text",
         {Key(RawEvent::Kind::KeyDown, 'A'), Text("a"), Key(RawEvent::Kind::KeyUp, 'A')},
         {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}}},
        {"backspace gives character 8",
         {Key(RawEvent::Kind::KeyDown, VK_BACK), Key(RawEvent::Kind::KeyUp, VK_BACK)},
         {{WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8}, {WM_KEYUP, VK_BACK}}},
        {"held backspace repeats key and character",
         {Key(RawEvent::Kind::KeyDown, VK_BACK), Key(RawEvent::Kind::KeyDown, VK_BACK, 0, true)},
         {{WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8}, {WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8}}},
        {"enter, escape and tab give their control characters",
         {Key(RawEvent::Kind::KeyDown, VK_RETURN), Key(RawEvent::Kind::KeyDown, VK_ESCAPE),
          Key(RawEvent::Kind::KeyDown, VK_TAB)},
         {{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13}, {WM_KEYDOWN, VK_ESCAPE}, {WM_CHAR, 27},
          {WM_KEYDOWN, VK_TAB}, {WM_CHAR, 9}}},
        {"arrows give no character",
         {Key(RawEvent::Kind::KeyDown, VK_LEFT), Key(RawEvent::Kind::KeyUp, VK_LEFT)},
         {{WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}}},
        {"ctrl+V gives character 22",
         {Key(RawEvent::Kind::KeyDown, 'V', kModCtrl)},
         {{WM_KEYDOWN, 'V'}, {WM_CHAR, 22}}},
        {"alt+enter is a system key",
         {Key(RawEvent::Kind::KeyDown, VK_RETURN, kModAlt),
          Key(RawEvent::Kind::KeyUp, VK_RETURN, kModAlt)},
         {{WM_SYSKEYDOWN, VK_RETURN}, {WM_SYSCHAR, 13}, {WM_SYSKEYUP, VK_RETURN}}},
        {"AltGr characters stay ordinary",
         {Key(RawEvent::Kind::KeyDown, 'E', kModAltGr), Text("\xE2\x82\xAC", kModAltGr)},
         {{WM_KEYDOWN, 'E'}, {WM_CHAR, 0x80}}},
        {"text maps to Windows-1252 and gives '?' for what it lacks",
         {Text("\xC3\xA9 \xC5\xA0\xE4\xB8\xAD")},
         {{WM_CHAR, 0xE9}, {WM_CHAR, ' '}, {WM_CHAR, 0x8A}, {WM_CHAR, '?'}}},
        {"a letter and its combining accent are the one letter",
         {Text("Zoe\xCC\x88 N\xCC\x83")},
         {{WM_CHAR, 'Z'}, {WM_CHAR, 'o'}, {WM_CHAR, 0xEB}, {WM_CHAR, ' '}, {WM_CHAR, 0xD1}}},
    };
    for (const KeyCase& c : cases) {
        EventTranslator translator;
        EXPECT_EQ(Translate(translator, c.events), c.expected) << c.name;
    }
}

TEST(EventTranslator, KeyParametersCarryRepeatAndRelease) {
    EventTranslator translator;
    std::vector<Message> messages;
    translator.Translate(Key(RawEvent::Kind::KeyDown, 'A', 0, true), messages);
    translator.Translate(Key(RawEvent::Kind::KeyUp, 'A'), messages);
    EXPECT_EQ(messages[0].lParam, 1u | 0x0Eu << 16 | 1u << 30);
    EXPECT_EQ(messages[1].lParam, 1u | 0x0Eu << 16 | 1u << 30 | 1u << 31);
}

TEST(EventTranslator, MouseMessagesCarryFlagsAndPackedPositions) {
    EventTranslator translator;
    translator.SetClientSize(800, 600);
    std::vector<Message> messages;
    translator.Translate(Mouse(RawEvent::Kind::ButtonDown, 10, 20, 0, MouseButton::Left,
                               MK_LBUTTON),
                         messages);
    translator.Translate(Mouse(RawEvent::Kind::MouseMove, -5, 700, 0, MouseButton::Left,
                               MK_LBUTTON),
                         messages);
    translator.Translate(Mouse(RawEvent::Kind::ButtonUp, -5, 700), messages);
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].message, WM_SETCURSOR);   // inside: cursor first
    EXPECT_EQ(messages[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(messages[1].wParam, MK_LBUTTON);
    EXPECT_EQ(messages[1].lParam, 10u | 20u << 16);
    EXPECT_EQ(messages[2].message, WM_MOUSEMOVE);   // outside: no cursor message
    EXPECT_EQ(messages[2].lParam, 0xFFFBu | 700u << 16);
    EXPECT_EQ(messages[3].message, WM_LBUTTONUP);
    EXPECT_EQ(messages[3].wParam, 0u);
}

TEST(EventTranslator, SecondQuickPressNearbyIsOneDoubleClick) {
    struct Press {
        int32_t x;
        uint32_t timeMs;
        MouseButton button;
        uint32_t expected;
        uint32_t up;
    };
    const Press presses[] = {
        {100, 1000, MouseButton::Left, WM_LBUTTONDOWN, WM_LBUTTONUP},
        {102, 1400, MouseButton::Left, WM_LBUTTONDBLCLK, WM_LBUTTONUP},  // within 500 ms, 2 px
        {102, 1500, MouseButton::Left, WM_LBUTTONDOWN, WM_LBUTTONUP},    // a third starts again
        {105, 1600, MouseButton::Left, WM_LBUTTONDOWN, WM_LBUTTONUP},    // too far
        {105, 2200, MouseButton::Left, WM_LBUTTONDOWN, WM_LBUTTONUP},    // too late
        {105, 2300, MouseButton::Right, WM_RBUTTONDOWN, WM_RBUTTONUP},   // another button
        {105, 2400, MouseButton::Right, WM_RBUTTONDBLCLK, WM_RBUTTONUP},
        {105, 2500, MouseButton::Middle, WM_MBUTTONDOWN, WM_MBUTTONUP},
        {105, 2600, MouseButton::Middle, WM_MBUTTONDBLCLK, WM_MBUTTONUP},
    };
    EventTranslator translator;
    for (const Press& press : presses) {
        std::vector<Message> messages;
        translator.Translate(Mouse(RawEvent::Kind::ButtonDown, press.x, 50, press.timeMs,
                                   press.button),
                             messages);
        translator.Translate(Mouse(RawEvent::Kind::ButtonUp, press.x, 50, press.timeMs,
                                   press.button),
                             messages);
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].message, press.expected) << press.timeMs;
        EXPECT_EQ(messages[1].message, press.up) << press.timeMs;
    }
}

TEST(EventTranslator, WindowEventsBecomeFocusSizeAndCloseMessages) {
    EventTranslator translator;
    translator.SetClientSize(800, 600);
    std::vector<RawEvent> events;
    for (RawEvent::Kind kind :
         {RawEvent::Kind::FocusLost, RawEvent::Kind::FocusGained, RawEvent::Kind::Minimized,
          RawEvent::Kind::Restored, RawEvent::Kind::Maximized, RawEvent::Kind::Exposed,
          RawEvent::Kind::Close, RawEvent::Kind::Quit}) {
        RawEvent event;
        event.kind = kind;
        events.push_back(event);
    }
    const Sequence expected = {
        {WM_KILLFOCUS, 0}, {WM_ACTIVATEAPP, 0}, {WM_ACTIVATEAPP, 1}, {WM_SETFOCUS, 0},
        {WM_SIZE, SIZE_MINIMIZED}, {WM_SIZE, SIZE_RESTORED}, {WM_SIZE, SIZE_MAXIMIZED},
        {WM_NCPAINT, 1}, {WM_PAINT, 0}, {WM_CLOSE, 0},
    };
    EXPECT_EQ(Translate(translator, events), expected);
}

}  // namespace
