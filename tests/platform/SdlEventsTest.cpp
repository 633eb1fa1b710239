#include "platform/sdl/SdlEvents.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/EventTranslator.h"
#include "platform/KeyCodes.h"
#include "platform/sdl/SdlKeyMap.h"

using namespace platform;

namespace {

constexpr uint32_t kWindow = 3;

TEST(SdlKeyMap, SymbolsMapToVirtualKeys) {
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        uint32_t expected;
    };
    const Case cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},
        {SDLK_z, SDL_SCANCODE_Y, 'Z'},   // German layout: the symbol decides
        {SDLK_7, SDL_SCANCODE_7, '7'},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, VK_RIGHT},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, VK_DELETE},
        {SDLK_HOME, SDL_SCANCODE_HOME, VK_HOME},
        {SDLK_END, SDL_SCANCODE_END, VK_END},
        {SDLK_TAB, SDL_SCANCODE_TAB, VK_TAB},
        {SDLK_F5, SDL_SCANCODE_F5, VK_F1 + 4},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, VK_SHIFT},
        {SDLK_LALT, SDL_SCANCODE_LALT, VK_MENU},
        {SDLK_KP_3, SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, VK_OEM_1},
        {0x0444, SDL_SCANCODE_A, 'A'},   // a Cyrillic letter: its US position
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeyFromSdl(c.key, c.scancode), c.expected) << c.key;
        if (c.expected != 0 && c.key != 0x0444 && c.key != SDLK_z) {
            EXPECT_EQ(VirtualKeyFromSdl(SdlKeyFromVirtualKey(c.expected), c.scancode), c.expected);
        }
    }
}

SDL_Event KeyEvent(uint32_t type, SDL_Keycode key, uint16_t mod = KMOD_NONE, uint8_t repeat = 0) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.key.windowID = kWindow;
    event.key.repeat = repeat;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event TextEvent(const char* text) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_TEXTINPUT;
    event.text.windowID = kWindow;
    std::strcpy(event.text.text, text);
    return event;
}

SDL_Event ButtonEvent(uint32_t type, uint8_t button, int x, int y, uint32_t timestamp) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.common.timestamp = timestamp;
    event.button.windowID = kWindow;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event WindowEvent(SDL_WindowEventID id, uint32_t window = kWindow) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window;
    event.window.event = id;
    return event;
}

struct Expected {
    uint32_t message;
    uint32_t wParam;
};

std::vector<Expected> Translated(const std::vector<SDL_Event>& events) {
    SdlInputState state;
    state.windowId = kWindow;
    EventTranslator translator;
    translator.SetClientSize(800, 600);
    std::vector<Message> messages;
    for (const SDL_Event& event : events) {
        RawEvent raw;
        if (RawEventFromSdl(event, state, raw)) translator.Translate(raw, messages);
    }
    std::vector<Expected> result;
    for (const Message& m : messages)
        if (m.message != WM_SETCURSOR) result.push_back(Expected{m.message, m.wParam});
    return result;
}

bool operator==(const Expected& a, const Expected& b) {
    return a.message == b.message && a.wParam == b.wParam;
}

void PrintTo(const Expected& e, std::ostream* os) { *os << std::hex << e.message << "/" << e.wParam; }

TEST(SdlEvents, EventsBecomeTheMessagesOfAWindowsKeyboardAndMouse) {
    struct Case {
        const char* name;
        std::vector<SDL_Event> events;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"typed letter",
         {KeyEvent(SDL_KEYDOWN, SDLK_a), TextEvent("a"), KeyEvent(SDL_KEYUP, SDLK_a)},
         {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}}},
        {"shifted letter keeps its key code",
         {KeyEvent(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT), TextEvent("A")},
         {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}}},
        {"backspace with key repeat",
         {KeyEvent(SDL_KEYDOWN, SDLK_BACKSPACE), KeyEvent(SDL_KEYDOWN, SDLK_BACKSPACE, 0, 1),
          KeyEvent(SDL_KEYUP, SDLK_BACKSPACE)},
         {{WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8}, {WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8},
          {WM_KEYUP, VK_BACK}}},
        {"alt+enter",
         {KeyEvent(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT)},
         {{WM_SYSKEYDOWN, VK_RETURN}, {WM_SYSCHAR, 13}}},
        {"AltGr is not alt",
         {KeyEvent(SDL_KEYDOWN, SDLK_q, KMOD_RALT | KMOD_MODE), TextEvent("@")},
         {{WM_KEYDOWN, 'Q'}, {WM_CHAR, '@'}}},
        {"double click and its buttons",
         {ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6, 100),
          ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 6, 150),
          ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6, 300),
          ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 6, 350)},
         {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}, {WM_LBUTTONDBLCLK, MK_LBUTTON},
          {WM_LBUTTONUP, 0}}},
        {"right button while left is held",
         {ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6, 100),
          ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 50, 6, 120)},
         {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON}}},
        {"the click that brings the focus back",
         {WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6, 100),
          ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 6, 150)},
         {{WM_ACTIVATEAPP, 1}, {WM_SETFOCUS, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}}},
        {"focus, minimise, close; other windows ignored",
         {WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), WindowEvent(SDL_WINDOWEVENT_MINIMIZED),
          WindowEvent(SDL_WINDOWEVENT_CLOSE, kWindow + 1), WindowEvent(SDL_WINDOWEVENT_CLOSE)},
         {{WM_KILLFOCUS, 0}, {WM_ACTIVATEAPP, 0}, {WM_SIZE, SIZE_MINIMIZED}, {WM_CLOSE, 0}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Translated(c.events), c.expected) << c.name;
}

TEST(SdlEvents, ScriptedEventsReadBackAsTheyWereMeant) {
    RawEvent key;
    key.kind = RawEvent::Kind::KeyDown;
    key.virtualKey = VK_DELETE;
    key.modifiers = kModCtrl;
    RawEvent move;
    move.kind = RawEvent::Kind::MouseMove;
    move.x = -4;
    move.y = 30;
    SdlInputState state;
    for (const RawEvent& original : {key, move}) {
        state = SdlInputState{};
        state.windowId = kWindow;
        SDL_Event event;
        ASSERT_TRUE(SdlEventFromRaw(original, kWindow, event));
        RawEvent back;
        ASSERT_TRUE(RawEventFromSdl(event, state, back));
        EXPECT_EQ(back.kind, original.kind);
        EXPECT_EQ(back.virtualKey, original.virtualKey);
        EXPECT_EQ(back.modifiers, original.modifiers);
        EXPECT_EQ(back.x, original.x);
        EXPECT_EQ(back.y, original.y);
    }
    EXPECT_EQ(state.pointer.x, -4);
    SDL_Event leave = WindowEvent(SDL_WINDOWEVENT_LEAVE);
    RawEvent left;
    ASSERT_TRUE(RawEventFromSdl(leave, state, left));
    EXPECT_EQ(state.pointer.x, -1);
}

}  // namespace
