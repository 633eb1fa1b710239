#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/MemorySurface.h"
#include "game/words/LetterSlot.h"
#include "platform/Files.h"

namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;

double Linear(uint32_t channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(uint32_t rgb) {
    return 0.2126 * Linear((rgb >> 16) & 0xFF) + 0.7152 * Linear((rgb >> 8) & 0xFF) + 0.0722 * Linear(rgb & 0xFF);
}

double Contrast(uint32_t a, uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The tile's colours where a letter's strokes stand (its middle, clear of
// the rim), each as 0xRRGGBB.
std::vector<uint32_t> LetterGround(const std::string& file) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(kBuild + "/media/gfx/game/" + file, bytes)) << file;
    const Ref<MemorySurface> tile = DecodePngFromMemory(bytes.data(), bytes.size(), file);
    std::vector<uint32_t> ground;
    if (!tile) {
        return ground;
    }
    for (int y = 4; y < tile->GetHeight() - 4; ++y) {
        for (int x = 4; x < tile->GetWidth() - 4; ++x) {
            ground.push_back(tile->Pixels32()[tile->PixelIndex(x, y)] & 0xFFFFFF);
        }
    }
    return ground;
}

// Each state a word's letters are shown in, on the tile it is shown on, at
// 4.5:1 or better everywhere under the letter. The letter colours are fixed;
// the grey of letters revealed in a word still to find shares the plain tile
// with the found and missed words, and reaches only what a near-black tile
// gives it.
TEST(WordQueueContent, EveryLetterStateReadsOnItsTile) {
    const struct {
        const char* tile;
        int32_t colour;
        double least;
    } states[] = {
        {"queue_slot.png", LetterSlot::kGreen, 4.5},      // a found word
        {"queue_slot.png", LetterSlot::kLightRed, 4.5},   // a missed word
        {"queue_new_slot.png", LetterSlot::kGreen, 4.5},  // a new word found
        {"queue_new_slot.png", LetterSlot::kLightRed, 4.5},
        {"queue_sel_slot.png", LetterSlot::kGrey, 4.5},   // the current word's shown letters
        {"queue_slot.png", LetterSlot::kGrey, 2.2},       // letters revealed in a word to find
    };
    for (const auto& state : states) {
        const std::vector<uint32_t> ground = LetterGround(state.tile);
        ASSERT_FALSE(ground.empty()) << state.tile;
        const uint32_t letter = LetterSlot::ColourValue(state.colour);
        double worst = 1e9;
        for (uint32_t pixel : ground) {
            worst = std::min(worst, Contrast(letter, pixel));
        }
        EXPECT_GE(worst, state.least) << state.tile << " colour " << state.colour;
    }
}

}  // namespace
