#include "engine/media/ImageDecoding.h"

#include <png.h>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "engine/foundation/Logger.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "platform/Files.h"

namespace {

// Pictures beyond these sizes are refused rather than allocated: no picture of
// the game comes near them, and a damaged header must not exhaust memory.
constexpr uint32_t kMaxSide = 16384;
constexpr uint64_t kMaxPixels = uint64_t{1} << 24;

bool SizeAcceptable(uint32_t width, uint32_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           uint64_t{width} * height <= kMaxPixels;
}

constexpr size_t kPngSignatureBytes = 4;

// ---- PNG ----

// The bytes being decoded, and their name for the log lines of the error hook.
struct PngReader {
    const uint8_t* bytes;
    size_t size;
    size_t position;
    const std::string* name;
};

void ReadPngFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->position) {
        png_error(png, "read past the end of the data");
    }
    std::copy_n(reader->bytes + reader->position, length, out);
    reader->position += length;
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    const auto* reader = static_cast<const PngReader*>(png_get_error_ptr(png));
    ENGINE_LOG(1, "PNG image \"%s\" not decoded: %s", reader->name->c_str(), message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

uint32_t Opaque(uint32_t red, uint32_t green, uint32_t blue) {
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

// libpng turns every colour type and depth into 8-bit RGB or RGBA rows.
// Palette and grey transparency is not applied: only a picture whose colour
// type carries an alpha channel has alpha.
void RequestRgbRows(png_structp png, png_infop info) {
    const int colourType = png_get_color_type(png, info);
    png_set_strip_16(png);
    png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

void CopyPngRows(const png_byte* rows, size_t rowBytes, size_t channels, bool hasAlpha,
                 MemorySurface& surface) {
    const int32_t width = surface.GetWidth();
    for (int32_t y = 0; y < surface.GetHeight(); ++y) {
        const png_byte* row = rows + static_cast<size_t>(y) * rowBytes;
        uint32_t* out = surface.Pixels32() + surface.PixelIndex(0, y);
        for (int32_t x = 0; x < width; ++x) {
            const png_byte* p = row + channels * static_cast<size_t>(x);
            out[x] = Opaque(p[0], p[1], p[2]);
            if (channels == 4 && hasAlpha) {
                out[x] = (out[x] & 0x00FFFFFFu) | uint32_t{p[3]} << 24;
            }
        }
    }
}

struct PngJob {
    png_structp png;
    png_infop info;
    PngReader reader;
    // Every byte is written by the decoder before it is read.
    std::unique_ptr<png_byte[]> rows;
    std::vector<png_bytep> rowPointers;
    Ref<MemorySurface>* result;
};

// Holds nothing that needs destroying, since a libpng error jumps out of it.
bool RunPngDecode(PngJob& job) {
    if (setjmp(png_jmpbuf(job.png)) != 0) {
        return false;
    }
    png_set_read_fn(job.png, &job.reader, ReadPngFromMemory);
    png_set_user_limits(job.png, kMaxSide, kMaxSide);
    png_read_info(job.png, job.info);
    const png_uint_32 width = png_get_image_width(job.png, job.info);
    const png_uint_32 height = png_get_image_height(job.png, job.info);
    if (!SizeAcceptable(width, height)) {
        png_error(job.png, "picture too large");
    }
    const bool hasAlpha = (png_get_color_type(job.png, job.info) & PNG_COLOR_MASK_ALPHA) != 0;
    RequestRgbRows(job.png, job.info);
    const size_t channels = png_get_channels(job.png, job.info);
    const size_t rowBytes = png_get_rowbytes(job.png, job.info);
    if ((channels != 3 && channels != 4) || png_get_bit_depth(job.png, job.info) != 8 || rowBytes < channels * width) {
        png_error(job.png, "unexpected row layout");
    }
    job.rows = std::make_unique_for_overwrite<png_byte[]>(rowBytes * height);
    job.rowPointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        job.rowPointers[y] = job.rows.get() + static_cast<size_t>(y) * rowBytes;
    }
    png_read_image(job.png, job.rowPointers.data());
    png_read_end(job.png, nullptr);
    *job.result = Ref<MemorySurface>(
        new MemorySurface(static_cast<int32_t>(width), static_cast<int32_t>(height), MemorySurface::Unset{}));
    CopyPngRows(job.rows.get(), rowBytes, channels, hasAlpha, **job.result);
    return true;
}

// ---- JPEG ----

struct JpegErrorManager {
    jpeg_error_mgr standard;
    jmp_buf jump;
    const std::string* name;
};

void LogJpegMessage(j_common_ptr info, const char* what) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    ENGINE_LOG(1, "JPEG image \"%s\" %s: %s", reinterpret_cast<JpegErrorManager*>(info->err)->name->c_str(), what,
               message);
}

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
    LogJpegMessage(info, "not decoded");
    longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

void JpegOutputMessage(j_common_ptr info) {
    LogJpegMessage(info, "warning");
}

// A libjpeg source over bytes in memory: staged 4096 at a time, and past the
// end an end-of-image marker, so a picture cut short ends cleanly.
constexpr size_t kJpegStagingBytes = 4096;

struct JpegMemorySource {
    jpeg_source_mgr manager;
    int64_t remaining;
    const uint8_t* position;
    bool startOfFile;
    JOCTET staging[kJpegStagingBytes];
};

void InitJpegSource(j_decompress_ptr) {}
void TermJpegSource(j_decompress_ptr) {}

boolean FillJpegInput(j_decompress_ptr info) {
    auto* source = reinterpret_cast<JpegMemorySource*>(info->src);
    if (source->remaining <= 0) {
        source->staging[0] = 0xFF;
        source->staging[1] = JPEG_EOI;
        source->manager.next_input_byte = source->staging;
        source->manager.bytes_in_buffer = 2;
        return TRUE;
    }
    const size_t amount = static_cast<size_t>(std::min<int64_t>(source->remaining, kJpegStagingBytes));
    std::copy_n(source->position, amount, source->staging);
    source->position += amount;
    source->remaining -= static_cast<int64_t>(amount);
    source->manager.next_input_byte = source->staging;
    source->manager.bytes_in_buffer = amount;
    source->startOfFile = false;
    return TRUE;
}

void SkipJpegInput(j_decompress_ptr info, long count) {
    auto* source = reinterpret_cast<JpegMemorySource*>(info->src);
    if (count <= 0) {
        return;
    }
    const auto skip = static_cast<size_t>(count);
    if (skip <= source->manager.bytes_in_buffer) {
        source->manager.next_input_byte += skip;
        source->manager.bytes_in_buffer -= skip;
        return;
    }
    // Skipping past the data leaves nothing remaining, never a position outside it.
    const auto beyond = static_cast<int64_t>(skip - source->manager.bytes_in_buffer);
    const int64_t taken = std::min(beyond, std::max<int64_t>(source->remaining, 0));
    source->position += taken;
    source->remaining -= beyond;
    source->manager.next_input_byte = nullptr;
    source->manager.bytes_in_buffer = 0;
}

void SetJpegMemorySource(j_decompress_ptr info, const uint8_t* bytes, size_t size) {
    auto* source = static_cast<JpegMemorySource*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(JpegMemorySource)));
    source->manager.init_source = InitJpegSource;
    source->manager.fill_input_buffer = FillJpegInput;
    source->manager.skip_input_data = SkipJpegInput;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = TermJpegSource;
    source->manager.next_input_byte = nullptr;
    source->manager.bytes_in_buffer = 0;
    source->remaining = static_cast<int64_t>(size);
    source->position = bytes;
    source->startOfFile = true;
    info->src = &source->manager;
}

struct JpegJob {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    Ref<MemorySurface>* result;
};

// Holds nothing that needs destroying, since a libjpeg error jumps out of it.
bool RunJpegDecode(JpegJob& job, const uint8_t* bytes, size_t size) {
    if (setjmp(job.errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&job.info);
    SetJpegMemorySource(&job.info, bytes, size);
    jpeg_read_header(&job.info, TRUE);
    // Grey pictures come out as RGB too, so every row holds three bytes a pixel.
    job.info.out_color_space = JCS_RGB;
    if (!SizeAcceptable(job.info.image_width, job.info.image_height)) {
        ERREXIT1(&job.info, JERR_IMAGE_TOO_BIG, kMaxSide);
    }
    jpeg_start_decompress(&job.info);
    const JDIMENSION width = job.info.output_width;
    const JSAMPARRAY row = (*job.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&job.info), JPOOL_IMAGE,
                                                         width * job.info.output_components, 1);
    *job.result = CreateMemorySurface(static_cast<int32_t>(width), static_cast<int32_t>(job.info.output_height));
    MemorySurface& surface = **job.result;
    while (job.info.output_scanline < job.info.output_height) {
        const JDIMENSION y = job.info.output_scanline;
        jpeg_read_scanlines(&job.info, row, 1);
        uint32_t* out = surface.Pixels32() + surface.PixelIndex(0, static_cast<int32_t>(y));
        for (JDIMENSION x = 0; x < width; ++x) {
            const JSAMPLE* p = row[0] + 3 * x;
            out[x] = Opaque(p[0], p[1], p[2]);
        }
    }
    jpeg_finish_decompress(&job.info);
    return true;
}

}  // namespace

Ref<MemorySurface> DecodePngFromMemory(const uint8_t* bytes, size_t size, const std::string& name) {
    if (bytes == nullptr || size < kPngSignatureBytes || png_sig_cmp(bytes, 0, kPngSignatureBytes) != 0) {
        return {};
    }
    Ref<MemorySurface> result;
    PngJob job{};
    job.reader = PngReader{bytes, size, 0, &name};
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job.reader, OnPngError, OnPngWarning);
    job.info = job.png != nullptr ? png_create_info_struct(job.png) : nullptr;
    job.result = &result;
    if (job.info == nullptr || !RunPngDecode(job)) {
        if (job.info == nullptr) {
            ENGINE_LOG(1, "PNG image \"%s\" not decoded: out of memory", name.c_str());
        }
        result.Reset();
    }
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    return result;
}

Ref<MemorySurface> LoadJpegImage(const uint8_t* bytes, size_t size, const std::string& name) {
    if (bytes == nullptr) {
        return {};
    }
    Ref<MemorySurface> result;
    JpegJob job{};
    job.errors.name = &name;
    job.info.err = jpeg_std_error(&job.errors.standard);
    job.errors.standard.error_exit = JpegErrorExit;
    job.errors.standard.output_message = JpegOutputMessage;
    job.result = &result;
    if (!RunJpegDecode(job, bytes, size)) {
        result.Reset();
    }
    jpeg_destroy_decompress(&job.info);
    return result;
}

Ref<MemorySurface> DecodePicture(const uint8_t* bytes, size_t size, const std::string& name) {
    const bool png = bytes != nullptr && size >= kPngSignatureBytes && png_sig_cmp(bytes, 0, kPngSignatureBytes) == 0;
    return png ? DecodePngFromMemory(bytes, size, name) : LoadJpegImage(bytes, size, name);
}

Ref<MemorySurface> LoadPictureFile(const std::string& fileName) {
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(fileName, bytes)) {
        ENGINE_LOG(1, "picture \"%s\" not read", fileName.c_str());
        return {};
    }
    return DecodePicture(bytes.data(), bytes.size(), fileName);
}
