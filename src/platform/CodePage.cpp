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

// The letters with accents that Windows-1252 holds, as base letter, combining
// accent and the one code point they make together.
struct Composition {
    char32_t base;
    char32_t accent;
    char32_t letter;
};

constexpr char32_t kGrave = 0x0300, kAcute = 0x0301, kCircumflex = 0x0302, kTilde = 0x0303,
                   kDiaeresis = 0x0308, kRing = 0x030A, kCaron = 0x030C, kCedilla = 0x0327;

constexpr Composition kCompositions[] = {
    {'A', kGrave, 0xC0},      {'A', kAcute, 0xC1},      {'A', kCircumflex, 0xC2}, {'A', kTilde, 0xC3},
    {'A', kDiaeresis, 0xC4},  {'A', kRing, 0xC5},       {'C', kCedilla, 0xC7},    {'E', kGrave, 0xC8},
    {'E', kAcute, 0xC9},      {'E', kCircumflex, 0xCA}, {'E', kDiaeresis, 0xCB},  {'I', kGrave, 0xCC},
    {'I', kAcute, 0xCD},      {'I', kCircumflex, 0xCE}, {'I', kDiaeresis, 0xCF},  {'N', kTilde, 0xD1},
    {'O', kGrave, 0xD2},      {'O', kAcute, 0xD3},      {'O', kCircumflex, 0xD4}, {'O', kTilde, 0xD5},
    {'O', kDiaeresis, 0xD6},  {'U', kGrave, 0xD9},      {'U', kAcute, 0xDA},      {'U', kCircumflex, 0xDB},
    {'U', kDiaeresis, 0xDC},  {'Y', kAcute, 0xDD},      {'a', kGrave, 0xE0},      {'a', kAcute, 0xE1},
    {'a', kCircumflex, 0xE2}, {'a', kTilde, 0xE3},      {'a', kDiaeresis, 0xE4},  {'a', kRing, 0xE5},
    {'c', kCedilla, 0xE7},    {'e', kGrave, 0xE8},      {'e', kAcute, 0xE9},      {'e', kCircumflex, 0xEA},
    {'e', kDiaeresis, 0xEB},  {'i', kGrave, 0xEC},      {'i', kAcute, 0xED},      {'i', kCircumflex, 0xEE},
    {'i', kDiaeresis, 0xEF},  {'n', kTilde, 0xF1},      {'o', kGrave, 0xF2},      {'o', kAcute, 0xF3},
    {'o', kCircumflex, 0xF4}, {'o', kTilde, 0xF5},      {'o', kDiaeresis, 0xF6},  {'u', kGrave, 0xF9},
    {'u', kAcute, 0xFA},      {'u', kCircumflex, 0xFB}, {'u', kDiaeresis, 0xFC},  {'y', kAcute, 0xFD},
    {'y', kDiaeresis, 0xFF},  {'S', kCaron, 0x0160},    {'s', kCaron, 0x0161},    {'Z', kCaron, 0x017D},
    {'z', kCaron, 0x017E},    {'Y', kDiaeresis, 0x0178},
};

// Each letter and combining accent that make one letter of the table become it.
std::u32string Composed(const std::u32string& text) {
    std::u32string out;
    for (const char32_t c : text) {
        const Composition* match = nullptr;
        if (!out.empty()) {
            for (const Composition& composition : kCompositions) {
                if (composition.base == out.back() && composition.accent == c) {
                    match = &composition;
                    break;
                }
            }
        }
        if (match != nullptr) {
            out.back() = match->letter;
        } else {
            out += c;
        }
    }
    return out;
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
    for (char32_t c : Composed(DecodeUtf8(text))) {
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
