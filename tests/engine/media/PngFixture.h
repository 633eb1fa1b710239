#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A PNG file of 0xAARRGGBB pixels, row by row.
std::string MakePng(int width, int height, const std::vector<uint32_t>& pixels);
