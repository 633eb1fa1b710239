#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"

class MemorySurface;

// PNG and JPEG pictures turned into 32-bit memory surfaces (0xAARRGGBB, tightly
// packed). Anything unreadable gives null and a log line naming the picture;
// `name` is that name for pictures already in memory.

// Whether the file starts with the PNG signature; false when it cannot be read.
bool IsPngFile(const std::string& fileName);
Ref<MemorySurface> LoadPngImage(const std::string& fileName);
// Null without a log line when the bytes do not start with the PNG signature,
// so that the caller can try JPEG.
Ref<MemorySurface> DecodePngFromMemory(const uint8_t* bytes, size_t size, const std::string& name);

Ref<MemorySurface> LoadJpegImage(const uint8_t* bytes, size_t size, const std::string& name);
Ref<MemorySurface> LoadJpegImage(const std::string& fileName);
