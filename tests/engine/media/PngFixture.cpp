#include "PngFixture.h"

#include <png.h>

std::string MakePng(int width, int height, const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> bytes;
    for (const uint32_t pixel : pixels) {
        for (const int shift : {24, 16, 8, 0}) {
            bytes.push_back(static_cast<uint8_t>(pixel >> shift));
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_ARGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, bytes.data(), 0, nullptr);
    std::string file(size, '\0');
    png_image_write_to_memory(&image, file.data(), &size, 0, bytes.data(), 0, nullptr);
    file.resize(size);
    return file;
}
