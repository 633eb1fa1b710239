#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "CanvasTestSupport.h"
#include "engine/media/AdditiveBlit.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/SurfaceLock.h"

namespace {

// Wide enough for whole vector steps of either row build and a tail of single pixels.
constexpr int32_t kWidth = 45;
constexpr int32_t kHeight = 3;

// Varied colours over one alpha byte.
Ref<MemorySurface> SurfaceWithAlpha(uint32_t alpha) {
    Ref<MemorySurface> surface(new MemorySurface(kWidth, kHeight));
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
        surface->Pixels32()[i] = alpha << 24 | (0x3A91C4u + 0x1F2E3Du * static_cast<uint32_t>(i)) % 0x1000000;
    }
    return surface;
}

std::vector<uint32_t> Pixels(const Surface& surface) {
    return std::vector<uint32_t>(surface.Pixels32KeepingAlpha(),
                                 surface.Pixels32KeepingAlpha() + surface.GetWidth() * surface.GetHeight());
}

// The opaque fill as read-modify-write gives it: the colour over each pixel's alpha.
std::vector<uint32_t> FilledKeepingAlpha(std::vector<uint32_t> pixels, uint32_t colour) {
    for (uint32_t& pixel : pixels) {
        pixel = (pixel & 0xFF000000u) | colour;
    }
    return pixels;
}

// Fills the whole surface once, so that alike alpha bytes become known.
void LearnAlpha(MemorySurface& surface) {
    Ref<Canvas> canvas = surface.CreateCanvas();
    canvas->SetColor(Color(0x102030));
    canvas->Clear();
}

}  // namespace

TEST(KnownAlpha, LearntOnlyFromAWholeSurfaceOfAlikeAlpha) {
    struct Case {
        const char* name;
        int32_t oddPixel;  // given another alpha byte, or -1
        bool wholeSurface;
        bool opaqueBlit;  // else the opaque fill
        std::optional<uint8_t> learnt;
    };
    const Case cases[] = {
        {"fill over alike alpha", -1, true, false, 0x5A},
        {"blit over alike alpha", -1, true, true, 0x5A},
        {"one pixel differs in a vector step", 3, true, false, std::nullopt},
        {"one pixel differs in the tail", kWidth * kHeight - 1, true, true, std::nullopt},
        {"part of the surface", -1, false, false, std::nullopt},
        {"part of the surface, blit", -1, false, true, std::nullopt},
    };
    ForEachRowVariant([&](const std::string& variant) {
        for (const Case& c : cases) {
            Ref<MemorySurface> surface = SurfaceWithAlpha(0x5A);
            if (c.oddPixel >= 0) {
                surface->Pixels32()[c.oddPixel] = 0x5B000000u;
            }
            const std::vector<uint32_t> before = Pixels(*surface);
            Ref<MemorySurface> source = SurfaceWithAlpha(0x01);
            source->SetUseAlphaChannel(false);
            Ref<Canvas> canvas = surface->CreateCanvas();
            canvas->SetColor(Color(0x778899));
            const int32_t w = c.wholeSurface ? kWidth : kWidth - 1;
            if (c.opaqueBlit) {
                canvas->Blit(*source, 0, 0, 0, 0, w, kHeight);
            } else {
                canvas->FillRect(0, 0, w, kHeight);
            }
            EXPECT_EQ(surface->KnownAlpha(), c.learnt) << c.name << " rows " << variant;
            for (size_t i = 0; i < before.size(); ++i) {
                EXPECT_EQ(Pixels(*surface)[i] >> 24, before[i] >> 24) << c.name << " pixel " << i << " rows " << variant;
            }
        }
    });
}

TEST(KnownAlpha, FillAndOpaqueBlitOverKnownAlphaGiveTheReadModifyWriteBytes) {
    ForEachRowVariant([](const std::string& variant) {
        for (const int32_t w : {1, 2, 3, 7, 16, 19, 33, 44}) {
            for (const bool opaqueBlit : {false, true}) {
                Ref<MemorySurface> surface = SurfaceWithAlpha(0x5A);
                LearnAlpha(*surface);
                ASSERT_EQ(surface->KnownAlpha(), std::optional<uint8_t>(0x5A));
                const std::vector<uint32_t> before = Pixels(*surface);
                Ref<MemorySurface> source = SurfaceWithAlpha(0xC3);
                source->SetUseAlphaChannel(false);
                Ref<Canvas> canvas = surface->CreateCanvas();
                canvas->SetColor(Color(0xE0C0A0));
                if (opaqueBlit) {
                    canvas->Blit(*source, 1, 1, 0, 0, w, 2);
                } else {
                    canvas->FillRect(1, 1, w, 2);
                }
                std::vector<uint32_t> expected = before;
                for (int32_t y = 1; y < 3; ++y) {
                    for (int32_t x = 1; x < 1 + w; ++x) {
                        const uint32_t colour = opaqueBlit ? PixelAt(*source, x - 1, y - 1) & 0xFFFFFFu : 0xE0C0A0u;
                        expected[y * kWidth + x] = 0x5A000000u | colour;
                    }
                }
                EXPECT_EQ(Pixels(*surface), expected) << "width " << w << " blit " << opaqueBlit << " rows " << variant;
            }
        }
    });
}

TEST(KnownAlpha, ForgottenByAnythingThatMayChangeAlphaBytes) {
    using Change = std::function<void(MemorySurface&)>;
    const std::pair<const char*, Change> changes[] = {
        {"a write through the pixels", [](MemorySurface& s) { s.Pixels32()[7] = 0x01FFFFFFu; }},
        {"a copied rectangle", [](MemorySurface& s) {
             Ref<MemorySurface> other = SurfaceWithAlpha(0xEE);
             s.CreateCanvas()->CopyRect(*other, 5, 1, 0, 0, 4, 1);
         }},
        {"a blit at fixed alpha", [](MemorySurface& s) {
             Ref<MemorySurface> other = SurfaceWithAlpha(0xEE);
             other->SetUseAlphaChannel(false);
             Ref<Canvas> canvas = s.CreateCanvas();
             canvas->SetAlpha(128);
             canvas->Blit(*other, 0, 0, 0, 0, 9, 1);
         }},
        {"an alpha channel fill", [](MemorySurface& s) { s.CreateCanvas()->FillChannelRect(0, 0x33, 2, 0, 3, 2); }},
        {"an alpha channel copy", [](MemorySurface& s) {
             Ref<MemorySurface> other = SurfaceWithAlpha(0xEE);
             s.CreateCanvas()->CopyChannel(*other, 0, 20, 2, 0, 0, 5, 1);
         }},
        {"an alpha channel from a map", [](MemorySurface& s) {
             ChannelMap map(3, 1);
             map.GetBytes()[1] = 0x44;
             s.CreateCanvas()->WriteChannelFromMap(map, 0, 40, 0);
         }},
        {"a channel accessor", [](MemorySurface& s) { s.CreateLock(0)->FillRect(0, 2, 2, 1, 0x77); }},
        {"other memory", [](MemorySurface& s) {
             static const Ref<MemorySurface> other = SurfaceWithAlpha(0x99);
             s.SetPixels(other->Pixels32KeepingAlpha());
         }},
    };
    ForEachRowVariant([&](const std::string& variant) {
        for (const auto& [name, change] : changes) {
            for (const bool opaqueBlit : {false, true}) {
                Ref<MemorySurface> surface = SurfaceWithAlpha(0x5A);
                LearnAlpha(*surface);
                change(*surface);
                const std::vector<uint32_t> before = Pixels(*surface);
                Ref<MemorySurface> source(new MemorySurface(kWidth, kHeight));
                std::fill_n(source->Pixels32(), kWidth * kHeight, 0xC3E0C0A0u);
                source->SetUseAlphaChannel(false);
                Ref<Canvas> canvas = surface->CreateCanvas();
                canvas->SetColor(Color(0xE0C0A0));
                if (opaqueBlit) {
                    canvas->Blit(*source, 0, 0);
                } else {
                    canvas->Clear();
                }
                EXPECT_EQ(Pixels(*surface), FilledKeepingAlpha(before, 0xE0C0A0))
                    << name << " blit " << opaqueBlit << " rows " << variant;
            }
        }
    });
}

TEST(KnownAlpha, KeptThroughRoutinesThatChangeColourOnly) {
    Ref<MemorySurface> sprite = SurfaceWithAlpha(0x80);
    using Draw = std::function<void(MemorySurface&, Canvas&)>;
    const std::pair<const char*, Draw> draws[] = {
        {"per-pixel alpha blit", [&](MemorySurface&, Canvas& c) { c.Blit(*sprite, 3, 1); }},
        {"blended fill", [](MemorySurface&, Canvas& c) {
             c.SetAlpha(100);
             c.FillRect(2, 0, 30, 2);
         }},
        {"mask paint", [](MemorySurface&, Canvas& c) {
             ChannelMap map(8, 2);
             std::fill_n(map.GetBytes(), 16, 200);
             c.DrawMask(map, 4, 0);
         }},
        {"additive blit", [&](MemorySurface& s, Canvas&) { AdditiveBlit(*sprite, 0, 0, 20, 2, s, 1, 1, 255, nullptr); }},
        {"turned blit", [&](MemorySurface&, Canvas& c) {
             c.RotateScaleBlitSmooth(*sprite, 0.5, 1.2, 10, 0, 0, 0, 12, 3, 6, 1);
         }},
    };
    ForEachRowVariant([&](const std::string& variant) {
        for (const auto& [name, draw] : draws) {
            Ref<MemorySurface> surface = SurfaceWithAlpha(0x5A);
            LearnAlpha(*surface);
            Ref<Canvas> canvas = surface->CreateCanvas();
            draw(*surface, *canvas);
            EXPECT_EQ(surface->KnownAlpha(), std::optional<uint8_t>(0x5A)) << name << " rows " << variant;
            for (const uint32_t pixel : Pixels(*surface)) {
                ASSERT_EQ(pixel >> 24, 0x5Au) << name << " rows " << variant;
            }
        }
    });
}
