#include "mediagen/Picture.h"

#include <png.h>

#include <algorithm>
#include <stdexcept>

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

}  // namespace

Bytes EncodePng(const Picture& picture) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(png, &out, AppendToBytes, nullptr);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        png_write_row(png, const_cast<png_bytep>(picture.Pixel(0, y)));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Picture CutPicture(const Picture& picture, int x, int y, int w, int h) {
    Picture piece(w, h);
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            const uint8_t* from = picture.Pixel(x + column, y + row);
            std::copy(from, from + 4, piece.Pixel(column, row));
        }
    }
    return piece;
}

Picture MaskFromAlpha(const Picture& picture) {
    Picture mask(picture.width, picture.height);
    for (size_t i = 0; i < picture.rgba.size(); i += 4) {
        const uint8_t coverage = picture.rgba[i + 3];
        mask.rgba[i] = mask.rgba[i + 1] = mask.rgba[i + 2] = mask.rgba[i + 3] = coverage;
    }
    return mask;
}
