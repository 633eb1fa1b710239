#include "platform/CodePage.h"

namespace platform {

namespace {

// 0x80..0x9F; 0 marks the five bytes without a character.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        const char16_t c = kHighControls[byte - 0x80];
        return c ? c : byte;   // the unassigned bytes pass through as C1 controls
    }
    return byte;
}

bool UnicodeToCp1252(char32_t codePoint, unsigned char& byte) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        byte = static_cast<unsigned char>(codePoint);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == codePoint) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string Cp1252ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::u32string DecodeUtf8(const std::string& text) {
    std::u32string out;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                       : (lead >> 3) == 30 ? 4 : 0;
        char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F)
                                          : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length != 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += U'\uFFFD';
            ++i;
        } else {
            out += c;
            i += length;
        }
    }
    return out;
}

std::string Utf8ToCp1252(const std::string& text, char replacement) {
    std::string out;
    for (char32_t c : DecodeUtf8(text)) {
        unsigned char byte = 0;
        if (UnicodeToCp1252(c, byte)) {
            out += static_cast<char>(byte);
        } else if (replacement != 0) {
            out += replacement;
        }
    }
    return out;
}

}  // namespace platform
