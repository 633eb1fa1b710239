#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"

class MemorySurface;

// PNG and JPEG pictures turned into 32-bit memory surfaces (0xAARRGGBB, tightly
// packed). Anything unreadable gives null and a log line naming the picture;
// `name` is that name for pictures already in memory.

// Null without a log line when the bytes do not start with the PNG signature,
// so that the caller can try JPEG.
Ref<MemorySurface> DecodePngFromMemory(const uint8_t* bytes, size_t size, const std::string& name);

Ref<MemorySurface> LoadJpegImage(const uint8_t* bytes, size_t size, const std::string& name);

// PNG when the bytes start with its signature, else JPEG.
Ref<MemorySurface> DecodePicture(const uint8_t* bytes, size_t size, const std::string& name);
// A loose picture file, read once and decoded as DecodePicture does.
Ref<MemorySurface> LoadPictureFile(const std::string& fileName);
