#include "engine/foundation/TextConversions.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "engine/foundation/Defines.h"

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// Reads digits of `base` from `pos` and clamps the magnitude to `limit`.
uint64_t ReadDigits(const std::wstring& text, size_t pos, int base, uint64_t limit) {
    uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        int digit = HexDigitValue(text[pos]);
        if (digit < 0 || digit >= base) {
            break;
        }
        value = value * base + digit;
        if (value > limit) {
            value = limit;
        }
    }
    return value;
}

size_t SkipSpace(const std::wstring& text, size_t pos) {
    while (pos < text.size() && IsSpace(text[pos])) {
        ++pos;
    }
    return pos;
}

// Hexadecimal as "%x" reads it: white space, a sign and "0x" allowed; the
// 32-bit pattern is the result, so "#FFFFFFFF" is -1.
int ParseHex(const std::wstring& text, size_t pos) {
    pos = SkipSpace(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    bool prefixed = pos + 2 < text.size() && text[pos] == L'0' && (text[pos + 1] == L'x' || text[pos + 1] == L'X');
    if (prefixed && HexDigitValue(text[pos + 2]) >= 0) {
        pos += 2;
    }
    auto bits = static_cast<uint32_t>(ReadDigits(text, pos, 16, std::numeric_limits<uint32_t>::max()));
    if (negative) {
        bits = 0u - bits;
    }
    return static_cast<int>(bits);
}

int ParseDecimal(const std::wstring& text) {
    size_t pos = SkipSpace(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    uint64_t magnitude = ReadDigits(text, pos, 10, limit);
    return negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
}

// The number part of a text as plain ASCII for from_chars: white space and a
// leading "+" are skipped, reading stops at the first character that cannot
// belong to a number.
template <typename T>
T ParseFloating(const std::wstring& text) {
    size_t pos = SkipSpace(text, 0);
    if (pos < text.size() && text[pos] == L'+') {
        ++pos;
    }
    std::string ascii;
    for (; pos < text.size() && text[pos] > 0 && text[pos] < 0x80; ++pos) {
        ascii.push_back(static_cast<char>(text[pos]));
    }
    T value = 0;
    auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Keeps the direction of an overflow; an underflow reads as 0.
        bool negative = !ascii.empty() && ascii[0] == '-';
        bool tiny = false;
        for (const char* p = ascii.data(); p < result.ptr; ++p) {
            if (*p == 'e' || *p == 'E') {
                tiny = p + 1 < result.ptr && p[1] == '-';
                break;
            }
        }
        value = tiny ? T{0} : std::numeric_limits<T>::infinity();
        return negative ? -value : value;
    }
    return result.ec == std::errc() ? value : T{0};
}

}  // namespace

std::wstring NarrowToWide(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text) {
        wide.push_back(static_cast<wchar_t>(static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(c)))));
    }
    return wide;
}

std::string WideToNarrow(const std::wstring& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text) {
        narrow.push_back(static_cast<char>(static_cast<uint8_t>(c)));
    }
    return narrow;
}

std::string IntToString(int value) {
    return std::to_string(value);
}

std::wstring IntToWString(int value) {
    return NarrowToWide(std::to_string(value));
}

int ParseIntText(const std::wstring& text) {
    if (!text.empty() && text[0] == L'#') {
        return ParseHex(text, 1);
    }
    return ParseDecimal(text);
}

double ParseDoubleText(const std::wstring& text) {
    return ParseFloating<double>(text);
}

float ParseFloatText(const std::wstring& text) {
    return ParseFloating<float>(text);
}

std::wstring FloatToText(float value) {
    // "%f" of a float argument: the value is promoted to double first.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 6);
    std::string text(buffer, result.ptr);
    for (size_t last = text.size() - 1; last > 0; --last) {
        if (text[last] == '0') {
            text.pop_back();
            continue;
        }
        if (text[last] == '.') {
            text.pop_back();
        }
        break;
    }
    return NarrowToWide(text);
}

std::wstring FormatGrouped(unsigned value, const std::string& separatorName) {
    std::wstring separator;
    if (const Defines* defines = Defines::Instance()) {
        separator = defines->GetText(separatorName);
    }
    // Built backwards, then reversed, so a longer separator comes out reversed too.
    std::wstring work;
    int digits = 0;
    do {
        work.push_back(static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
        if (++digits % 3 == 0 && value != 0) {
            work += separator;
        }
    } while (value != 0);
    return std::wstring(work.rbegin(), work.rend());
}
