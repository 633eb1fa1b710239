#pragma once

#include <string>

// Text operations on paths and file names; none of them touches the disk.

// Every '\' becomes '/', then every "//" becomes "/".
std::string NormalizeSlashes(const std::string& path);

// NormalizeSlashes, one leading '/' dropped, A to Z lowered: the form in
// which media file names are looked up.
std::string NormalizeMediaPath(const std::string& path);

// The text after the last separator (the whole text when there is none).
std::string GetFileNamePart(const std::string& path);

// The text after the last '.', lowered; empty when there is no dot.
std::string GetFileExtension(const std::string& path);

// The text before the last '.'; the whole text when there is none.
std::string RemoveFileExtension(const std::string& path);

// Makes a text safe as a file name: each unwanted character becomes "_<digit>_"
// and '_' becomes "___", so the result is unambiguous. A space is kept only
// when `keepSpaces` is true.
std::string EscapeFileName(const std::string& text, bool keepSpaces);
