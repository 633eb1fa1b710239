#include "platform/PngWriter.h"

#include <png.h>

#include <vector>

#include "platform/Files.h"

namespace platform {

namespace {

void AppendToBuffer(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

}  // namespace

bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    std::vector<uint8_t> encoded;
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &encoded, AppendToBuffer, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t* in = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<uint8_t>(in[x] >> 16);
            row[x * 3 + 1] = static_cast<uint8_t>(in[x] >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(in[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return WriteFileAtomically(path, encoded.data(), encoded.size());
}

}  // namespace platform
