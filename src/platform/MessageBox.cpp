#include "platform/MessageBox.h"

#include <algorithm>
#include <utility>

#include "platform/Backend.h"
#include "platform/CodePage.h"

namespace platform {
namespace {

// Where the line should break: the length of its first part, and the length
// of what is dropped there (the space, or nothing).
std::pair<size_t, size_t> BreakOf(const std::string& line, size_t columns) {
    const size_t space = line.rfind(' ', columns);
    if (space != std::string::npos && space > 0) {
        return {space, 1};
    }
    const size_t slash = line.rfind('/', columns - 1);
    if (slash != std::string::npos && slash > 0) {
        return {slash + 1, 0};
    }
    // Never inside a UTF-8 sequence.
    size_t length = columns;
    while (length > 1 && (static_cast<unsigned char>(line[length]) & 0xC0) == 0x80) {
        --length;
    }
    return {length, 0};
}

}  // namespace

std::string FitMessageText(const std::string& text, size_t columns) {
    std::string fitted;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        while (columns > 0 && line.size() > columns) {
            const auto [length, dropped] = BreakOf(line, columns);
            fitted += line.substr(0, length) + '\n';
            line.erase(0, length + dropped);
        }
        fitted += line;
        if (end < text.size()) {
            fitted += '\n';
        }
        start = end + 1;
    }
    return fitted;
}

int MessageBox(WindowHandle /*owner*/, const std::string& text, const std::string& caption,
               uint32_t type) {
    ActiveBackend().ShowMessageBox(Cp1252ToUtf8(text), Cp1252ToUtf8(caption),
                                   (type & 0xF0) == MB_ICONERROR);
    return IDOK;
}

}  // namespace platform
