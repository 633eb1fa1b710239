#include "game/dialogs/NumberFields.h"

std::wstring FillNumberFields(const std::wstring& text, const std::vector<int32_t>& numbers) {
    std::wstring filled;
    size_t next = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const wchar_t field = i + 1 < text.size() ? text[i + 1] : L'\0';
        if (c == L'%' && field == L'%') {
            filled += L'%';
            ++i;
        } else if (c == L'%' && (field == L'i' || field == L'd') && next < numbers.size()) {
            const std::string digits = std::to_string(numbers[next++]);
            filled.append(digits.begin(), digits.end());
            ++i;
        } else {
            filled += c;
        }
    }
    return filled;
}

std::wstring FillTextField(const std::wstring& text, const std::wstring& value, size_t maxLength) {
    std::wstring filled;
    bool used = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const wchar_t field = i + 1 < text.size() ? text[i + 1] : L'\0';
        if (c == L'%' && field == L'%') {
            filled += L'%';
            ++i;
        } else if (c == L'%' && field == L's' && !used) {
            filled += value;
            used = true;
            ++i;
        } else {
            filled += c;
        }
    }
    if (filled.size() > maxLength) {
        filled.resize(maxLength);
    }
    return filled;
}
