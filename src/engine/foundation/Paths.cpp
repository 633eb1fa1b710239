#include "engine/foundation/Paths.h"

#include <algorithm>
#include <string_view>

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return LowerAscii(c); });
    return text;
}

}  // namespace

std::string NormalizeSlashes(const std::string& path) {
    std::string result;
    result.reserve(path.size());
    for (char c : path) {
        if (c == '\\') {
            c = '/';
        }
        if (c == '/' && !result.empty() && result.back() == '/') {
            continue;
        }
        result.push_back(c);
    }
    return result;
}

std::string NormalizeMediaPath(const std::string& path) {
    std::string result = NormalizeSlashes(path);
    if (!result.empty() && result.front() == '/') {
        result.erase(0, 1);
    }
    return LowerAscii(result);
}

std::string GetFileNamePart(const std::string& path) {
    const std::string normal = NormalizeSlashes(path);
    const size_t slash = normal.rfind('/');
    return slash == std::string::npos ? normal : normal.substr(slash + 1);
}

std::string GetFileExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : LowerAscii(path.substr(dot + 1));
}

std::string RemoveFileExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string EscapeFileName(const std::string& text, bool keepSpaces) {
    // The position of a character in this list is its escape digit.
    constexpr std::string_view kEscaped = " \\/*|:?\"<>";
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const size_t digit = kEscaped.find(c);
        if (c == '_') {
            result += "___";
        } else if (digit != std::string_view::npos && !(digit == 0 && keepSpaces)) {
            result += '_';
            result += static_cast<char>('0' + digit);
            result += '_';
        } else {
            result += c;
        }
    }
    return result;
}
