#pragma once

#include <cstdint>

// Virtual-key codes carried by key messages. Letters and digits are their
// upper-case ASCII codes ('A'..'Z', '0'..'9') whatever the Shift state.
namespace platform {

constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_MENU = 0x12;   // Alt
constexpr uint32_t VK_PAUSE = 0x13;
constexpr uint32_t VK_CAPITAL = 0x14;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_PRIOR = 0x21;  // Page Up
constexpr uint32_t VK_NEXT = 0x22;   // Page Down
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_SNAPSHOT = 0x2C;
constexpr uint32_t VK_INSERT = 0x2D;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_LWIN = 0x5B;
constexpr uint32_t VK_RWIN = 0x5C;
constexpr uint32_t VK_APPS = 0x5D;
constexpr uint32_t VK_NUMPAD0 = 0x60;   // .. VK_NUMPAD9 = 0x69
constexpr uint32_t VK_MULTIPLY = 0x6A;
constexpr uint32_t VK_ADD = 0x6B;
constexpr uint32_t VK_SUBTRACT = 0x6D;
constexpr uint32_t VK_DECIMAL = 0x6E;
constexpr uint32_t VK_DIVIDE = 0x6F;
constexpr uint32_t VK_F1 = 0x70;        // .. VK_F12 = 0x7B
constexpr uint32_t VK_F4 = 0x73;
constexpr uint32_t VK_F10 = 0x79;
constexpr uint32_t VK_F12 = 0x7B;
constexpr uint32_t VK_NUMLOCK = 0x90;
constexpr uint32_t VK_SCROLL = 0x91;
constexpr uint32_t VK_OEM_1 = 0xBA;       // ;
constexpr uint32_t VK_OEM_PLUS = 0xBB;    // =
constexpr uint32_t VK_OEM_COMMA = 0xBC;
constexpr uint32_t VK_OEM_MINUS = 0xBD;
constexpr uint32_t VK_OEM_PERIOD = 0xBE;
constexpr uint32_t VK_OEM_2 = 0xBF;       // /
constexpr uint32_t VK_OEM_3 = 0xC0;       // `
constexpr uint32_t VK_OEM_4 = 0xDB;       // [
constexpr uint32_t VK_OEM_5 = 0xDC;       // backslash
constexpr uint32_t VK_OEM_6 = 0xDD;       // ]
constexpr uint32_t VK_OEM_7 = 0xDE;       // '
constexpr uint32_t VK_OEM_102 = 0xE2;     // the extra key left of Z

// The code of a key name used by scripts ("RETURN", "LEFT", "A", "F5"), or
// a number; 0 when the name is unknown.
uint32_t VirtualKeyFromName(const char* name);

}  // namespace platform
