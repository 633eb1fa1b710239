#include <gtest/gtest.h>

#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestImages.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/MemorySurface.h"
#include "support/TempFolder.h"

namespace {

Ref<MemorySurface> DecodePng(const std::vector<uint8_t>& bytes) {
    return DecodePngFromMemory(bytes.data(), bytes.size(), "picture.png");
}

Ref<MemorySurface> DecodeJpeg(const std::vector<uint8_t>& bytes) {
    return LoadJpegImage(bytes.data(), bytes.size(), "picture.jpg");
}

std::vector<uint32_t> AllPixels(const MemorySurface& surface) {
    return std::vector<uint32_t>(surface.Pixels32(), surface.Pixels32() + surface.GetWidth() * surface.GetHeight());
}

// A 2 x 2 picture of each kind the decoder fills, and of kinds it leaves cleared.
PngPicture Rgba() {
    return {2, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, {10, 20, 30, 40, 50, 60, 70, 255, 1, 2, 3, 0, 255, 254, 253, 128}, {}, {}};
}
PngPicture Rgb() {
    return {2, 1, PNG_COLOR_TYPE_RGB, 8, {10, 20, 30, 200, 100, 50}, {}, {}};
}
PngPicture Grey() {
    return {3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 128, 255}, {}, {}};
}
PngPicture PaletteWithTransparency() {
    return {2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0}, {9, 8, 7, 100, 150, 200}, {0, 0}};
}
std::vector<uint8_t> JpegSamples(int width, int height, int components) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * components; ++x) {
            samples.push_back(static_cast<uint8_t>(x < width * components / 2 ? 40 : 220));
        }
    }
    return samples;
}

}  // namespace

TEST(PngDecoding, PixelFormatsItFills) {
    struct Case {
        const char* name;
        PngPicture picture;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {"RGBA keeps its alpha", Rgba(), {0x280A141E, 0xFF323C46, 0x00010203, 0x80FFFEFD}},
        {"RGB is opaque", Rgb(), {0xFF0A141E, 0xFFC86432}},
        {"grey is opaque grey", Grey(), {0xFF000000, 0xFF808080, 0xFFFFFFFF}},
        {"palette ignores transparency", PaletteWithTransparency(), {0xFF6496C8, 0xFF090807}},
    };
    for (const Case& c : cases) {
        const Ref<MemorySurface> surface = DecodePng(EncodePng(c.picture));
        ASSERT_TRUE(surface) << c.name;
        EXPECT_EQ(surface->GetWidth(), c.picture.width) << c.name;
        EXPECT_EQ(surface->GetPitch(), c.picture.width * 4) << c.name;
        EXPECT_EQ(AllPixels(*surface), c.expected) << c.name;
    }
}

TEST(PngDecoding, EveryColourTypeAndDepthGivesItsPicture) {
    struct Case {
        const char* name;
        PngPicture picture;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {"16-bit RGB keeps the high bytes", {2, 1, PNG_COLOR_TYPE_RGB, 16, {0xAB, 1, 0x12, 2, 0x34, 3, 0, 0, 0xFF, 0, 0x80, 0}, {}, {}},
         {0xFFAB1234, 0xFF00FF80}},
        {"16-bit RGBA keeps its alpha", {1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, {0x10, 0, 0x20, 0, 0x30, 0, 0x40, 0}, {}, {}},
         {0x40102030}},
        {"grey with alpha", {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x77, 0x80, 0xFF, 0}, {}, {}}, {0x80777777, 0x00FFFFFF}},
        {"16-bit grey", {1, 1, PNG_COLOR_TYPE_GRAY, 16, {0x42, 0x99}, {}, {}}, {0xFF424242}},
        {"1-bit grey", {3, 1, PNG_COLOR_TYPE_GRAY, 1, {0b10100000}, {}, {}}, {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
        {"2-bit grey", {2, 1, PNG_COLOR_TYPE_GRAY, 2, {0b01110000}, {}, {}}, {0xFF555555, 0xFFFFFFFF}},
        {"4-bit palette, transparency ignored", {3, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x10, 0x20}, {9, 8, 7, 100, 150, 200, 1, 2, 3}, {0}},
         {0xFF6496C8, 0xFF090807, 0xFF010203}},
    };
    for (const Case& c : cases) {
        const Ref<MemorySurface> surface = DecodePng(EncodePng(c.picture));
        ASSERT_TRUE(surface) << c.name;
        EXPECT_EQ(surface->GetWidth(), c.picture.width) << c.name;
        EXPECT_EQ(surface->GetHeight(), c.picture.height) << c.name;
        EXPECT_EQ(AllPixels(*surface), c.expected) << c.name;
    }
}

TEST(PngDecoding, DamagedOrForeignBytesGiveNoPicture) {
    const std::vector<uint8_t> good = EncodePng(Rgba());
    // Cut at every length: the reader never reads past the end, and nothing leaks.
    for (size_t length = 0; length < good.size(); ++length) {
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(DecodePng(cut)) << length;
    }
    std::vector<uint8_t> corrupt = good;
    corrupt[20] ^= 0xFF;  // inside the header chunk: its checksum fails
    testing::internal::CaptureStderr();
    EXPECT_FALSE(DecodePng(corrupt));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("PNG image \"picture.png\" not decoded"), std::string::npos);
    const std::vector<uint8_t> jpeg = EncodeJpeg(2, 2, 3, JpegSamples(2, 2, 3), 90);
    EXPECT_FALSE(DecodePng(jpeg));
    EXPECT_FALSE(DecodePngFromMemory(nullptr, 0, "none"));
}

TEST(PngDecoding, HugeDeclaredSizeIsRefused) {
    PngPicture picture = Grey();
    std::vector<uint8_t> bytes = EncodePng(picture);
    // Width field of the header chunk set to 60000 x 1 -> still fine; height to 60000 too -> refused.
    bytes[16] = 0x00;
    bytes[17] = 0x00;
    bytes[18] = 0xEA;
    bytes[19] = 0x60;
    bytes[20] = 0x00;
    bytes[21] = 0x00;
    bytes[22] = 0xEA;
    bytes[23] = 0x60;
    EXPECT_FALSE(DecodePng(bytes));
}

TEST(PictureDecoding, LooseFilesAreDecodedByTheirSignature) {
    TempFolder folder;
    const std::string png = folder.Path() + "/picture.png";
    const std::string other = folder.Path() + "/picture.jpg";
    const std::vector<uint8_t> bytes = EncodePng(Rgb());
    std::ofstream(png, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::vector<uint8_t> jpeg = EncodeJpeg(2, 2, 3, JpegSamples(2, 2, 3), 90);
    std::ofstream(other, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
    const Ref<MemorySurface> surface = LoadPictureFile(png);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->Pixels32()[1], 0xFFC86432u);
    // A JPEG named .png is still read as a JPEG, and the other way round.
    std::ofstream(png, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
    std::ofstream(other, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const Ref<MemorySurface> jpegPicture = LoadPictureFile(png);
    ASSERT_TRUE(jpegPicture);
    EXPECT_EQ(jpegPicture->GetWidth(), 2);
    EXPECT_EQ(LoadPictureFile(other)->Pixels32()[1], 0xFFC86432u);
    EXPECT_FALSE(LoadPictureFile(folder.Path() + "/missing.png"));
}

TEST(JpegDecoding, ColourAndGreyPicturesComeOutOpaqueRgb) {
    const Ref<MemorySurface> colour = DecodeJpeg(EncodeJpeg(16, 8, 3, JpegSamples(16, 8, 3), 95));
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->GetWidth(), 16);
    EXPECT_EQ(colour->GetHeight(), 8);
    const Ref<MemorySurface> grey = DecodeJpeg(EncodeJpeg(16, 8, 1, JpegSamples(16, 8, 1), 95));
    ASSERT_TRUE(grey);
    for (const Ref<MemorySurface>& surface : {colour, grey}) {
        for (uint32_t pixel : AllPixels(*surface)) {
            EXPECT_EQ(pixel >> 24, 0xFFu);
        }
    }
    const uint32_t dark = grey->Pixels32()[0];
    const uint32_t light = grey->Pixels32()[15];
    EXPECT_NEAR(static_cast<int>(dark & 0xFF), 40, 6);
    EXPECT_NEAR(static_cast<int>(light & 0xFF), 220, 6);
    EXPECT_EQ((dark >> 16) & 0xFF, dark & 0xFF);  // grey stays grey in all three channels
}

TEST(JpegDecoding, PictureCutShortDecodesUpToTheCut) {
    std::vector<uint8_t> noise(64 * 64 * 3);
    for (size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
    }
    const std::vector<uint8_t> whole = EncodeJpeg(64, 64, 3, noise, 90);
    ASSERT_GT(whole.size(), 3000u);  // mostly scan data, so the cut falls inside it
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() * 2 / 3));
    const Ref<MemorySurface> surface = DecodeJpeg(cut);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->GetWidth(), 64);
    EXPECT_EQ(surface->GetHeight(), 64);
}

TEST(JpegDecoding, DamagedOrForeignBytesGiveNoPicture) {
    const std::vector<uint8_t> whole = EncodeJpeg(8, 8, 3, JpegSamples(8, 8, 3), 90);
    const std::vector<uint8_t> headerOnly(whole.begin(), whole.begin() + 20);
    EXPECT_FALSE(DecodeJpeg(headerOnly));
    EXPECT_FALSE(DecodeJpeg({}));
    EXPECT_FALSE(DecodeJpeg(EncodePng(Rgb())));
    EXPECT_FALSE(DecodeJpeg(std::vector<uint8_t>(100, 0xFF)));
}

// The fuzz seeds are made by these encoders. WORDRAIL_WRITE_SEEDS=<folder of
// the fuzz targets> writes them afresh; otherwise the stored seeds must still
// decode.
TEST(ImageSeeds, StoredSeedsDecode) {
    const std::filesystem::path fuzz = std::filesystem::path(WORDRAIL_TEST_DATA) / "../fuzz/engine/media";
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds = {
        {"PngDecodeFuzz/rgba.png", EncodePng(Rgba())},
        {"PngDecodeFuzz/palette.png", EncodePng(PaletteWithTransparency())},
        {"PngDecodeFuzz/grey.png", EncodePng(Grey())},
        {"JpegDecodeFuzz/colour.jpg", EncodeJpeg(8, 8, 3, JpegSamples(8, 8, 3), 75)},
        {"JpegDecodeFuzz/grey.jpg", EncodeJpeg(8, 8, 1, JpegSamples(8, 8, 1), 75)},
    };
    if (const char* target = std::getenv("WORDRAIL_WRITE_SEEDS")) {
        for (const auto& [name, bytes] : seeds) {
            const std::filesystem::path path = std::filesystem::path(target) / name;
            std::filesystem::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
    }
    for (const auto& [name, bytes] : seeds) {
        std::ifstream in(fuzz / name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        const std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const bool decodes = name.ends_with(".png") ? bool(DecodePng(stored)) : bool(DecodeJpeg(stored));
        EXPECT_TRUE(decodes) << name;
    }
}
