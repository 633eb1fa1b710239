#pragma once

#include <string>

// Conversions between numbers, narrow text (Windows-1252 bytes) and wide text
// (16-bit values held in std::wstring). They never depend on the C locale:
// stored files must read and write "1.5" everywhere.

// Each byte becomes one 16-bit character by sign extension, so 0x80..0xFF
// become 0xFF80..0xFFFF; WideToNarrow undoes it by keeping the low 8 bits.
std::wstring NarrowToWide(const std::string& text);
std::string WideToNarrow(const std::wstring& text);

std::string IntToString(int value);
std::wstring IntToWString(int value);

// A value's text as an integer: "#" starts a hexadecimal number, otherwise a
// signed decimal with leading white space allowed, read up to the first
// non-digit. No digits give 0; values beyond 32 bits are clamped.
int ParseIntText(const std::wstring& text);

// A value's text as a number the way "%lf" / "%f" read it: leading white
// space and a sign allowed, trailing junk ignored; 0 when nothing can be read.
double ParseDoubleText(const std::wstring& text);
float ParseFloatText(const std::wstring& text);

// Six decimals, then trailing zeros and a bare point removed, never the first
// character: 1.5 -> "1.5", 2.0 -> "2", 0.0 -> "0".
std::wstring FloatToText(float value);

// The decimal digits of the value with the Text constant `separatorName`
// between groups of three digits counted from the right: 1234567 with a
// comma gives "1,234,567". A missing constant gives no separator.
std::wstring FormatGrouped(unsigned value, const std::string& separatorName);
