#include "platform/sdl/SdlKeyMap.h"

#include "platform/KeyCodes.h"

namespace platform {

namespace {

struct KeyPair {
    SDL_Keycode key;
    uint32_t virtualKey;
};

// Letters and digits are handled apart; the keypad rows follow the keys.
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},       {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},        {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_LSHIFT, VK_SHIFT},         {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},        {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},            {SDLK_RALT, VK_MENU},
    {SDLK_PAUSE, VK_PAUSE},          {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_ESCAPE, VK_ESCAPE},        {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},         {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},              {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},            {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},          {SDLK_DOWN, VK_DOWN},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT}, {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},        {SDLK_LGUI, VK_LWIN},
    {SDLK_RGUI, VK_RWIN},            {SDLK_APPLICATION, VK_APPS},
    {SDLK_KP_0, VK_NUMPAD0},         {SDLK_KP_1, VK_NUMPAD0 + 1},
    {SDLK_KP_2, VK_NUMPAD0 + 2},     {SDLK_KP_3, VK_NUMPAD0 + 3},
    {SDLK_KP_4, VK_NUMPAD0 + 4},     {SDLK_KP_5, VK_NUMPAD0 + 5},
    {SDLK_KP_6, VK_NUMPAD0 + 6},     {SDLK_KP_7, VK_NUMPAD0 + 7},
    {SDLK_KP_8, VK_NUMPAD0 + 8},     {SDLK_KP_9, VK_NUMPAD0 + 9},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_PLUS, VK_ADD},
    {SDLK_KP_MINUS, VK_SUBTRACT},    {SDLK_KP_PERIOD, VK_DECIMAL},
    {SDLK_KP_DIVIDE, VK_DIVIDE},     {SDLK_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDLK_SCROLLLOCK, VK_SCROLL},    {SDLK_SEMICOLON, VK_OEM_1},
    {SDLK_EQUALS, VK_OEM_PLUS},      {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},      {SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_SLASH, VK_OEM_2},          {SDLK_BACKQUOTE, VK_OEM_3},
    {SDLK_LEFTBRACKET, VK_OEM_4},    {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6},   {SDLK_QUOTE, VK_OEM_7},
    {SDLK_LESS, VK_OEM_102},
};

constexpr SDL_Keycode kExtendedKeys[] = {
    SDLK_KP_ENTER, SDLK_RCTRL,  SDLK_RALT,   SDLK_INSERT, SDLK_DELETE, SDLK_HOME,
    SDLK_END,      SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_LEFT, SDLK_RIGHT,  SDLK_UP,
    SDLK_DOWN,     SDLK_KP_DIVIDE, SDLK_NUMLOCKCLEAR, SDLK_LGUI, SDLK_RGUI, SDLK_APPLICATION,
};

uint32_t FromTable(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>(key);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(key - SDLK_F1);
    for (const KeyPair& pair : kKeys)
        if (pair.key == key) return pair.virtualKey;
    return 0;
}

}  // namespace

uint32_t VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode) {
    if (const uint32_t code = FromTable(key)) return code;
    // Symbols of other alphabets: the letter or digit at that place on a US
    // keyboard.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return static_cast<uint32_t>('A' + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return static_cast<uint32_t>('1' + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0) return '0';
    return 0;
}

bool IsExtendedSdlKey(SDL_Keycode key) {
    for (SDL_Keycode extended : kExtendedKeys)
        if (extended == key) return true;
    return false;
}

SDL_Keycode SdlKeyFromVirtualKey(uint32_t virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return SDLK_a + static_cast<SDL_Keycode>(virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return static_cast<SDL_Keycode>(virtualKey);
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12) return SDLK_F1 + static_cast<SDL_Keycode>(virtualKey - VK_F1);
    for (const KeyPair& pair : kKeys)
        if (pair.virtualKey == virtualKey) return pair.key;
    return SDLK_UNKNOWN;
}

}  // namespace platform
