#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Writes 0x??RRGGBB pixels (tightly packed) as an RGB PNG file, through a
// temporary file so that a reader never sees half a picture.
bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height);

}  // namespace platform
