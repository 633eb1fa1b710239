#pragma once

#include <string>

// Narrow text inside the program is Windows-1252; the outside world (window
// titles, clipboard, message boxes, typed text) speaks UTF-8.
namespace platform {

// The code point of one Windows-1252 byte.
char32_t Cp1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point; false when it has none.
bool UnicodeToCp1252(char32_t codePoint, unsigned char& byte);

std::string Cp1252ToUtf8(const std::string& text);

// Characters without a Windows-1252 byte become `replacement`, or are
// dropped when it is 0. Malformed UTF-8 bytes count as such characters. A
// letter followed by a combining accent that Windows-1252 holds as one
// letter ("e" and U+0308) becomes that letter, as keyboards and clipboards
// send either form.
std::string Utf8ToCp1252(const std::string& text, char replacement);

// The code points of a UTF-8 text; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(const std::string& text);

}  // namespace platform
