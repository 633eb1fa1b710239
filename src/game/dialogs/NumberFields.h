#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Texts from data carry number fields ("%i" or "%d"); they are filled by
// substitution, never handed to printf. The fields take the numbers in
// order; "%%" gives "%"; a field beyond the numbers and every other "%"
// stay as written.
std::wstring FillNumberFields(const std::wstring& text, const std::vector<int32_t>& numbers);

// The one text field ("%s") of a data text takes `value`, by substitution;
// "%%" gives "%"; a second field and every other "%" stay as written. The
// result is cut to `maxLength` characters.
std::wstring FillTextField(const std::wstring& text, const std::wstring& value, size_t maxLength);
