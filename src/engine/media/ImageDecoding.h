#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"

class MemorySurface;

// PNG and JPEG pictures turned into 32-bit memory surfaces (0xAARRGGBB, tightly
// packed). Anything unreadable gives null and a log line.

// Null without a log line when the bytes do not start with the PNG signature,
// so that the caller can try JPEG.
Ref<MemorySurface> DecodePngFromMemory(const uint8_t* bytes, size_t size);

Ref<MemorySurface> LoadJpegImage(const uint8_t* bytes, size_t size);

// PNG when the bytes start with its signature, else JPEG.
Ref<MemorySurface> DecodePicture(const uint8_t* bytes, size_t size);
// A loose picture file, read once and decoded as DecodePicture does.
Ref<MemorySurface> LoadPictureFile(const std::string& fileName);
