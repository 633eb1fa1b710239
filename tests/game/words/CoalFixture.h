#pragma once

#include <cstdint>

#include "TicketFixture.h"
#include "engine/foundation/Ref.h"
#include "game/words/LetterSprite.h"

// Coal looks for tests: every big coal picture is 9 x 9 and every small one
// 7 x 7 of kCoalColour; the four coal fonts hold the glyphs "A", "B" and "Q"
// (3 x 3, side pad 1), each font in its own solid colour. So a drawn letter
// covers the centre pixel. Tooltip texts "TIP1" ... "TIP7" name the kinds.
// The looks are emptied again.
class CoalFixture {
public:
    static constexpr uint32_t kCoalColour = 0x202020;
    static constexpr uint32_t kFontColours[LetterSprite::kFontCount] = {0xFFFFFF, 0x00FF00, 0x0000FF, 0xFF0000};

    CoalFixture();
    ~CoalFixture();
    CoalFixture(const CoalFixture&) = delete;
    CoalFixture& operator=(const CoalFixture&) = delete;

    // The colour (0xRRGGBB) at the centre of the coal's picture; 0 without one.
    static uint32_t CentreColour(const LetterSprite& coal);
    static Ref<LetterSprite> CoalOf(char character, int type = LetterData::kNormal, bool small = false,
                                    bool isNew = false);
    // Steps the node and everything below it in 50 ms frames, sweeping
    // removed nodes after each.
    static void Run(GameNode& node, int32_t totalMs);
    static int ChildCount(const GameNode& node);

private:
    TicketConstantsFixture constants_;
};
