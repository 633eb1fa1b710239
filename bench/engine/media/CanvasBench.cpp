// The canvas's hot routines against pixman (and SDL where it has the same
// operation) on the same 800 x 600 pictures. Ours runs with each build of the
// raster rows the processor can run ("--rows=baseline" or "--rows=avx2" keeps
// one). After the usual benchmark table it prints, per operation and row
// build, our time divided by pixman's and by SDL's.

#include <benchmark/benchmark.h>
#include <pixman.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/foundation/Color.h"
#include "engine/media/AdditiveBlit.h"
#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/BlendBlit.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/RowVariant.h"
#include "support/RecordingReporter.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A sprite-like picture: an opaque disc fading out through a soft rim into
// transparent corners, with varied colours.
uint32_t SpritePixel(int x, int y) {
    const double dx = x - kWidth / 2.0;
    const double dy = y - kHeight / 2.0;
    const double distance = std::sqrt(dx * dx + dy * dy);
    const double inner = 200.0;
    const double outer = 290.0;
    const int alpha = distance <= inner ? 255 : distance >= outer ? 0
                                                                  : static_cast<int>(255 * (outer - distance) / (outer - inner));
    const uint32_t colour = static_cast<uint32_t>((x * 7 + y * 3) & 0xFF) << 16 |
                            static_cast<uint32_t>((x * 5) & 0xFF) << 8 | static_cast<uint32_t>((y * 11) & 0xFF);
    return static_cast<uint32_t>(alpha) << 24 | colour;
}

uint32_t BackgroundPixel(int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>((x + y) & 0xFF) << 16 | static_cast<uint32_t>((x ^ y) & 0xFF) << 8 |
           static_cast<uint32_t>((y * 3) & 0xFF);
}

void PaintPicture(MemorySurface& picture, uint32_t (*pixel)(int x, int y)) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            picture.Pixels32()[y * kWidth + x] = pixel(x, y);
        }
    }
}

// The same pictures in every library's own wrapper, over shared pixel memory.
struct Pictures {
    Ref<MemorySurface> sprite = CreateMemorySurface(kWidth, kHeight);
    Ref<MemorySurface> background = CreateMemorySurface(kWidth, kHeight);
    Ref<AlphaMemorySurface> background16 = CreateAlphaMemorySurface(kWidth, kHeight);
    // The background once more, drawn on by our opaque fill and blit alone.
    // Those keep each destination pixel's alpha; over alike alpha bytes, as
    // the game's back buffer has, the canvas learns them in its first pass and
    // then writes whole pixels. Into the shared pixels the other libraries
    // write behind its back (their copy brings the sprite's alpha bytes), so
    // what it learnt there would not hold.
    Ref<MemorySurface> ownBackground = CreateMemorySurface(kWidth, kHeight);
    std::vector<uint16_t> background16Pixels;
    pixman_image_t* pixmanSprite = nullptr;
    pixman_image_t* pixmanBackground = nullptr;
    pixman_image_t* pixmanBackground16 = nullptr;
    SDL_Surface* sdlSprite = nullptr;
    SDL_Surface* sdlBackground = nullptr;
    SDL_Surface* sdlBackground16 = nullptr;

    Pictures() : background16Pixels(kWidth * kHeight) {
        PaintPicture(*sprite, SpritePixel);
        PaintPicture(*background, BackgroundPixel);
        PaintPicture(*ownBackground, BackgroundPixel);
        pixmanSprite = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, sprite->Pixels32(), kWidth * 4);
        pixmanBackground =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, background->Pixels32(), kWidth * 4);
        pixmanBackground16 = pixman_image_create_bits(PIXMAN_r5g6b5, kWidth, kHeight,
                                                      reinterpret_cast<uint32_t*>(background16->Pixels16()), kWidth * 2);
        sdlSprite = SDL_CreateRGBSurfaceWithFormatFrom(sprite->Pixels32(), kWidth, kHeight, 32, kWidth * 4,
                                                       SDL_PIXELFORMAT_ARGB8888);
        sdlBackground = SDL_CreateRGBSurfaceWithFormatFrom(background->Pixels32(), kWidth, kHeight, 32, kWidth * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
        sdlBackground16 = SDL_CreateRGBSurfaceWithFormatFrom(background16->Pixels16(), kWidth, kHeight, 16,
                                                             kWidth * 2, SDL_PIXELFORMAT_RGB565);
        // The 16-bit canvas draws from the picture's 16-bit copy, made once.
        background16->CreateCanvas()->PrepareSurface(*sprite);
    }
    ~Pictures() {
        pixman_image_unref(pixmanSprite);
        pixman_image_unref(pixmanBackground);
        pixman_image_unref(pixmanBackground16);
        SDL_FreeSurface(sdlSprite);
        SDL_FreeSurface(sdlBackground);
        SDL_FreeSurface(sdlBackground16);
    }
};

Pictures& Shared() {
    static Pictures pictures;
    return pictures;
}

void PixmanComposite(pixman_op_t op, pixman_image_t* source, pixman_image_t* destination,
                     pixman_image_t* mask = nullptr) {
    pixman_image_composite32(op, source, mask, destination, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
}

void SdlBlit(SDL_Surface* source, SDL_Surface* destination, SDL_BlendMode mode) {
    SDL_SetSurfaceBlendMode(source, mode);
    SDL_Rect where{0, 0, kWidth, kHeight};
    SDL_BlitSurface(source, nullptr, destination, &where);
}

// ---- opaque blit ----
void Ours_OpaqueBlit(benchmark::State& state) {
    Pictures& p = Shared();
    p.sprite->SetUseAlphaChannel(false);
    const Ref<Canvas> canvas = p.ownBackground->CreateCanvas();
    for (auto _ : state) {
        canvas->Blit(*p.sprite, 0, 0);
        benchmark::ClobberMemory();
    }
    p.sprite->SetUseAlphaChannel(true);
}
void Pixman_OpaqueBlit(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        PixmanComposite(PIXMAN_OP_SRC, p.pixmanSprite, p.pixmanBackground);
        benchmark::ClobberMemory();
    }
}
void SDL_OpaqueBlit(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        SdlBlit(p.sdlSprite, p.sdlBackground, SDL_BLENDMODE_NONE);
        benchmark::ClobberMemory();
    }
}

// ---- per-pixel-alpha blit ----
void Ours_AlphaBlit(benchmark::State& state) {
    Pictures& p = Shared();
    const Ref<Canvas> canvas = p.background->CreateCanvas();
    for (auto _ : state) {
        canvas->Blit(*p.sprite, 0, 0);
        benchmark::ClobberMemory();
    }
}
void Pixman_AlphaBlit(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        PixmanComposite(PIXMAN_OP_OVER, p.pixmanSprite, p.pixmanBackground);
        benchmark::ClobberMemory();
    }
}
void SDL_AlphaBlit(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        SdlBlit(p.sdlSprite, p.sdlBackground, SDL_BLENDMODE_BLEND);
        benchmark::ClobberMemory();
    }
}

// ---- opaque picture with an alpha channel ----
// A background whose every alpha byte is 255 but which uses its alpha
// channel, as loaded pictures do: known opaque (as a load marks it) it takes
// the copy path, unknown it takes the alpha rule. Pixman sees the same
// picture as OVER. Picture and destination are their own, not the shared
// ones: the other libraries' blits change alpha bytes, and OVER of an opaque
// picture would leave the shared sprite opaque for the later operations.
struct OpaquePicture {
    Ref<MemorySurface> surface = CreateMemorySurface(kWidth, kHeight);
    Ref<MemorySurface> destination = CreateMemorySurface(kWidth, kHeight);
    pixman_image_t* image = nullptr;
    pixman_image_t* destinationImage = nullptr;

    OpaquePicture() {
        PaintPicture(*surface, BackgroundPixel);
        PaintPicture(*destination, SpritePixel);
        image = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, surface->Pixels32(), kWidth * 4);
        destinationImage =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, destination->Pixels32(), kWidth * 4);
    }
    ~OpaquePicture() {
        pixman_image_unref(image);
        pixman_image_unref(destinationImage);
    }
};

OpaquePicture& SharedOpaquePicture() {
    static OpaquePicture picture;
    return picture;
}

template <bool kKnownOpaque>
void Ours_OpaquePicture(benchmark::State& state) {
    MemorySurface& picture = *SharedOpaquePicture().surface;
    picture.SetKnownOpaque(kKnownOpaque);
    const Ref<Canvas> canvas = SharedOpaquePicture().destination->CreateCanvas();
    for (auto _ : state) {
        canvas->Blit(picture, 0, 0);
        benchmark::ClobberMemory();
    }
}
void Pixman_OpaquePicture(benchmark::State& state) {
    for (auto _ : state) {
        PixmanComposite(PIXMAN_OP_OVER, SharedOpaquePicture().image, SharedOpaquePicture().destinationImage);
        benchmark::ClobberMemory();
    }
}

// ---- additive blit ----
// Each adds the sprite's colour weighted by its own alpha onto the background,
// with saturation. Ours weighs by a = (alpha x 255) >> 8 and adds (s x a) >> 8
// (two opaque neighbours add s whole).
// Pixman's ADD takes the sprite as its own mask, so it adds s x alpha / 255
// (a canvas alpha below 255 would be a second, solid mask; here it is 255).
// SDL's additive mode adds s x alpha / 255 as well.
void Ours_AdditiveBlit(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        AdditiveBlit(*p.sprite, 0, 0, kWidth, kHeight, *p.background, 0, 0, 255, nullptr);
        benchmark::ClobberMemory();
    }
}
void Pixman_AdditiveBlit(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        PixmanComposite(PIXMAN_OP_ADD, p.pixmanSprite, p.pixmanBackground, p.pixmanSprite);
        benchmark::ClobberMemory();
    }
}
void SDL_AdditiveBlit(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        SdlBlit(p.sdlSprite, p.sdlBackground, SDL_BLENDMODE_ADD);
        benchmark::ClobberMemory();
    }
}

// ---- rectangle fill ----
void Ours_RectFill(benchmark::State& state) {
    Pictures& p = Shared();
    const Ref<Canvas> canvas = p.ownBackground->CreateCanvas();
    canvas->SetColor(Color(0x3366CC));
    for (auto _ : state) {
        canvas->FillRect(0, 0, kWidth, kHeight);
        benchmark::ClobberMemory();
    }
}
void Pixman_RectFill(benchmark::State& state) {
    Pictures& p = Shared();
    const pixman_color_t colour{0x3333, 0x6666, 0xCCCC, 0xFFFF};
    const pixman_rectangle16_t rect{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        pixman_image_fill_rectangles(PIXMAN_OP_SRC, p.pixmanBackground, &colour, 1, &rect);
        benchmark::ClobberMemory();
    }
}
void SDL_RectFill(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        SDL_FillRect(p.sdlBackground, nullptr, 0xFF3366CC);
        benchmark::ClobberMemory();
    }
}

// ---- 16-bit per-pixel-alpha blit ----
void Ours_Blit16(benchmark::State& state) {
    Pictures& p = Shared();
    const Ref<Canvas> canvas = p.background16->CreateCanvas();
    for (auto _ : state) {
        canvas->Blit(*p.sprite, 0, 0);
        benchmark::ClobberMemory();
    }
}
void Pixman_Blit16(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        PixmanComposite(PIXMAN_OP_OVER, p.pixmanSprite, p.pixmanBackground16);
        benchmark::ClobberMemory();
    }
}
void SDL_Blit16(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        SdlBlit(p.sdlSprite, p.sdlBackground16, SDL_BLENDMODE_BLEND);
        benchmark::ClobberMemory();
    }
}

// ---- blend modes ----
// Ours interpolates each channel toward the mode's target by the sprite's
// weight; pixman's PDF modes of the same names composite the sprite with its
// own alpha. The arithmetic differs in detail, the work per pixel is alike.
template <int32_t Mode>
void Ours_Blend(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        BlendBlit(Mode, *p.sprite, 0, 0, kWidth, kHeight, *p.background, 0, 0, 255, nullptr);
        benchmark::ClobberMemory();
    }
}
template <pixman_op_t Op>
void Pixman_Blend(benchmark::State& state) {
    Pictures& p = Shared();
    for (auto _ : state) {
        PixmanComposite(Op, p.pixmanSprite, p.pixmanBackground);
        benchmark::ClobberMemory();
    }
}

// ---- turned and scaled sprite ----
// A square sprite of side kSide turned by 0.6 radians and scaled 1.5 about
// its centre, OVER the background's middle with its per-pixel alpha, smooth
// (bilinear) or nearest. Pixman composites the same box through the inverse
// affine transform.
constexpr double kTurn = 0.6;
constexpr double kZoom = 1.5;

struct Sprite {
    Ref<MemorySurface> surface;
    pixman_image_t* image = nullptr;

    explicit Sprite(int side) : surface(CreateMemorySurface(side, side)) {
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                surface->Pixels32()[y * side + x] = SpritePixel(x * kWidth / side, y * kHeight / side);
            }
        }
        image = pixman_image_create_bits(PIXMAN_a8r8g8b8, side, side, surface->Pixels32(), side * 4);
    }
    ~Sprite() { pixman_image_unref(image); }
};

template <int kSide>
Sprite& SharedSprite() {
    static Sprite sprite(kSide);
    return sprite;
}

template <int kSide, bool kSmooth>
void Ours_Rotate(benchmark::State& state) {
    Pictures& p = Shared();
    Sprite& sprite = SharedSprite<kSide>();
    const Ref<Canvas> canvas = p.background->CreateCanvas();
    const int corner = kWidth / 2 - kSide / 2;
    const int top = kHeight / 2 - kSide / 2;
    for (auto _ : state) {
        if (kSmooth) {
            canvas->RotateScaleBlitSmooth(*sprite.surface, kTurn, kZoom, corner, top, 0, 0, kSide, kSide, kSide / 2,
                                          kSide / 2);
        } else {
            canvas->RotateScaleBlit(*sprite.surface, kTurn, kZoom, corner, top, 0, 0, kSide, kSide, kSide / 2,
                                    kSide / 2);
        }
        benchmark::ClobberMemory();
    }
}

template <int kSide, bool kSmooth>
void Pixman_Rotate(benchmark::State& state) {
    Pictures& p = Shared();
    Sprite& sprite = SharedSprite<kSide>();
    const double c = std::cos(kTurn);
    const double s = std::sin(kTurn);
    const double cx = kWidth / 2.0;
    const double cy = kHeight / 2.0;
    // Destination to source: turned back about the centre, unscaled, moved to the sprite's middle.
    pixman_f_transform_t inverse{};
    inverse.m[0][0] = c / kZoom;
    inverse.m[0][1] = s / kZoom;
    inverse.m[0][2] = kSide / 2.0 - (c * cx + s * cy) / kZoom;
    inverse.m[1][0] = -s / kZoom;
    inverse.m[1][1] = c / kZoom;
    inverse.m[1][2] = kSide / 2.0 - (-s * cx + c * cy) / kZoom;
    inverse.m[2][2] = 1.0;
    pixman_transform_t transform;
    pixman_transform_from_pixman_f_transform(&transform, &inverse);
    pixman_image_set_transform(sprite.image, &transform);
    pixman_image_set_filter(sprite.image, kSmooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    const double reach = kZoom * kSide / 2.0 * (std::fabs(c) + std::fabs(s));
    const int x = static_cast<int>(cx - reach);
    const int y = static_cast<int>(cy - reach);
    const int side = static_cast<int>(2 * reach) + 1;
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, sprite.image, nullptr, p.pixmanBackground, x, y, 0, 0, x, y, side,
                                 side);
        benchmark::ClobberMemory();
    }
    pixman_image_set_transform(sprite.image, nullptr);
}

const char* const kOperations[] = {"OpaqueBlit",     "AlphaBlit",      "OpaquePicture",   "OpaquePictureUnmarked",
                                   "AdditiveBlit",    "RectFill",
                                   "Blit16",         "Multiply",       "Screen",          "Burn",
                                   "Overlay",        "RotateSmooth32", "RotateSmooth64",  "RotateSmooth128",
                                   "RotateNearest32", "RotateNearest64", "RotateNearest128"};


}  // namespace

int main(int argc, char** argv) {
    std::vector<std::pair<RowVariant, std::string>> variants;
    const char* chosen = "";
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows=", 7) == 0) {
            chosen = argv[i] + 7;
        } else {
            arguments.push_back(argv[i]);
        }
    }
    for (const auto& [variant, name] : {std::pair{RowVariant::kBaseline, "baseline"}, std::pair{RowVariant::kAvx2, "avx2"}}) {
        if (RowVariantAvailable(variant) && (*chosen == '\0' || std::strcmp(chosen, name) == 0)) {
            variants.emplace_back(variant, name);
        }
    }
    if (variants.empty()) {
        std::fprintf(stderr, "--rows=%s: not a row build this processor runs\n", chosen);
        return 1;
    }

    const std::map<std::string, std::function<void(benchmark::State&)>> ours = {
        {"OpaqueBlit", Ours_OpaqueBlit}, {"AlphaBlit", Ours_AlphaBlit}, {"AdditiveBlit", Ours_AdditiveBlit},
        {"OpaquePicture", Ours_OpaquePicture<true>}, {"OpaquePictureUnmarked", Ours_OpaquePicture<false>},
        {"RectFill", Ours_RectFill},     {"Blit16", Ours_Blit16},
        {"Multiply", Ours_Blend<kBlendMultiply>}, {"Screen", Ours_Blend<kBlendScreen>},
        {"Burn", Ours_Blend<kBlendBurn>}, {"Overlay", Ours_Blend<kBlendOverlay>},
        {"RotateSmooth32", Ours_Rotate<32, true>}, {"RotateSmooth64", Ours_Rotate<64, true>},
        {"RotateSmooth128", Ours_Rotate<128, true>}, {"RotateNearest32", Ours_Rotate<32, false>},
        {"RotateNearest64", Ours_Rotate<64, false>}, {"RotateNearest128", Ours_Rotate<128, false>}};
    const std::map<std::string, std::pair<void (*)(benchmark::State&), void (*)(benchmark::State&)>> others = {
        {"OpaqueBlit", {Pixman_OpaqueBlit, SDL_OpaqueBlit}}, {"AlphaBlit", {Pixman_AlphaBlit, SDL_AlphaBlit}},
        {"OpaquePicture", {Pixman_OpaquePicture, nullptr}}, {"OpaquePictureUnmarked", {Pixman_OpaquePicture, nullptr}},
        {"AdditiveBlit", {Pixman_AdditiveBlit, SDL_AdditiveBlit}}, {"RectFill", {Pixman_RectFill, SDL_RectFill}},
        {"Blit16", {Pixman_Blit16, SDL_Blit16}},
        // SDL has no blend modes of these kinds.
        {"Multiply", {Pixman_Blend<PIXMAN_OP_MULTIPLY>, nullptr}}, {"Screen", {Pixman_Blend<PIXMAN_OP_SCREEN>, nullptr}},
        {"Burn", {Pixman_Blend<PIXMAN_OP_COLOR_BURN>, nullptr}}, {"Overlay", {Pixman_Blend<PIXMAN_OP_OVERLAY>, nullptr}},
        // SDL turns no surfaces.
        {"RotateSmooth32", {Pixman_Rotate<32, true>, nullptr}}, {"RotateSmooth64", {Pixman_Rotate<64, true>, nullptr}},
        {"RotateSmooth128", {Pixman_Rotate<128, true>, nullptr}},
        {"RotateNearest32", {Pixman_Rotate<32, false>, nullptr}},
        {"RotateNearest64", {Pixman_Rotate<64, false>, nullptr}},
        {"RotateNearest128", {Pixman_Rotate<128, false>, nullptr}}};
    for (const char* operation : kOperations) {
        for (const auto& [variant, name] : variants) {
            benchmark::RegisterBenchmark(("Ours_" + std::string(operation) + "_" + name).c_str(),
                                         [run = ours.at(operation), variant = variant](benchmark::State& state) {
                                             SetRowVariant(variant);
                                             run(state);
                                         });
        }
        benchmark::RegisterBenchmark(("Pixman_" + std::string(operation)).c_str(), others.at(operation).first);
        if (others.at(operation).second != nullptr) {
            benchmark::RegisterBenchmark(("SDL_" + std::string(operation)).c_str(), others.at(operation).second);
        }
    }

    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-22s %-9s %12s %12s\n", "operation", "rows", "ours/pixman", "ours/SDL");
    for (const char* operation : kOperations) {
        const std::string name = operation;
        const double pixman = reporter.Time("Pixman_" + name);
        const double sdl = reporter.Time("SDL_" + name);
        for (const auto& [variant, rows] : variants) {
            const double time = reporter.Time("Ours_" + name + "_" + rows);
            if (time == 0) {
                continue;  // filtered out
            }
            if (sdl > 0) {
                std::printf("%-22s %-9s %12.2f %12.2f\n", operation, rows.c_str(), pixman > 0 ? time / pixman : 0.0,
                            time / sdl);
            } else {
                std::printf("%-22s %-9s %12.2f %12s\n", operation, rows.c_str(), pixman > 0 ? time / pixman : 0.0, "-");
            }
        }
    }
    benchmark::Shutdown();
    return 0;
}
