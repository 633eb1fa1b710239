#pragma once

#include <string>
#include <vector>

// Test helpers: a zip file written with minizip's writer, and small files.
struct ZipMember {
    std::string name;
    std::string bytes;
    bool deflated = true;
};

// Writes the members into a new zip file; false when minizip fails.
bool WriteZip(const std::string& path, const std::vector<ZipMember>& members);

// Writes `bytes` to `path`, making its folders first.
void WriteTestFile(const std::string& path, const std::string& bytes);

// The bytes as they are stored in a ".!" file.
std::string Scrambled(std::string bytes);
