#include "ControlTestSupport.h"
#include "engine/ui/DialogPainter.h"

namespace {

// Frame pieces in section "frame": corners 3 x 2, the top and bottom edges
// 4 x 2, the left and right edges 3 x 5, a centre 2 x 2; each a solid colour
// whose blue byte names the piece and whose alpha is 0x80 (no alpha channel
// for the left edge, whose alpha byte is 0x10).
class DialogPainterTest : public UiTest {
protected:
    static constexpr const char* kNames[9] = {"TL", "T", "TR", "L", "C", "R", "BL", "B", "BR"};

    DialogPainterTest() {
        auto* section = new Section("frame", false);
        const int32_t sizes[9][2] = {{3, 2}, {4, 2}, {3, 2}, {3, 5}, {2, 2}, {3, 5}, {3, 2}, {4, 2}, {3, 2}};
        for (uint32_t i = 0; i < 9; ++i) {
            Ref<MemorySurface> piece = FilledSurface(sizes[i][0], sizes[i][1], 0x80000010u + i);
            if (i == DialogPainter::kLeft) {
                std::fill_n(piece->Pixels32(), sizes[i][0] * sizes[i][1], 0x10000010u + i);
                piece->SetUseAlphaChannel(false);
            }
            section->AddResource(kNames[i], new HeldResource(piece.Get()));
        }
        sections_.Load(section);
    }

    // A painter over the pieces named by `pieces` (9 letters, '-' for none).
    Ref<DialogPainter> MakePainter(const std::string& pieces, const std::string& extra = "") {
        std::string images;
        for (size_t i = 0; i < 9; ++i) {
            images += "<String>" + std::string(pieces[i] == '-' ? "" : kNames[i]) + "</String>";
        }
        return Build<DialogPainter>(R"(<DialogPainter id="it" section="frame" )" + extra + R"(><Vector id="images">)" +
                                    images + "</Vector></DialogPainter>");
    }
};

TEST_F(DialogPainterTest, FitSnapsToWholeEdgeTiles) {
    struct Case {
        const char* pieces;
        int32_t wanted, width, height;
    };
    const std::vector<Case> cases = {
        {"xxxxxxxxx", 14, 14, 14},   // width: 6 + 2 tiles of 4; height: 4 + 2 tiles of 5
        {"xxxxxxxxx", 15, 18, 19},   // one pixel more adds a whole tile
        {"xxxxxxxxx", 3, 6, 4},      // never below the corners
        {"---x-x---", 10, 10, 10},   // no corners: the side edges' widths, no tile across
        {"----x----", 7, 8, 8},      // only a centre: its size is the tile
        {"---------", 7, 7, 7},      // nothing: the wanted size
    };
    for (const Case& c : cases) {
        const Ref<DialogPainter> painter = MakePainter(c.pieces);
        EXPECT_EQ(painter->FitWidth(c.wanted), c.width) << c.pieces << " " << c.wanted;
        EXPECT_EQ(painter->FitHeight(c.wanted), c.height) << c.pieces << " " << c.wanted;
    }
}

TEST_F(DialogPainterTest, PaintsCornersEdgesAndCentreWithTheirAlpha) {
    const Ref<DialogPainter> painter = MakePainter("xxxxxxxxx", R"(centercolor="#FF00FF00")");
    EXPECT_EQ(painter->GetImage(9), nullptr);
    const Ref<MemorySurface> surface = FilledSurface(10, 9, 0x33000000);
    painter->Paint(*surface);
    EXPECT_FALSE(painter->NeedsRepaint());
    // Corners, edges (the top edge cut at the right corner), centre tiles: piece ids by blue byte.
    const std::vector<std::string> expected = {
        "0001111222",
        "0001111222",
        "3334444555",
        "3334444555",
        "3334444555",
        "3334444555",
        "3334444555",
        "6667777888",
        "6667777888",
    };
    for (int32_t y = 0; y < 9; ++y) {
        std::string row;
        for (int32_t x = 0; x < 10; ++x) {
            row += static_cast<char>('0' + (PixelAt(*surface, x, y) & 0xFF) - 0x10);
        }
        EXPECT_EQ(row, expected[static_cast<size_t>(y)]) << "row " << y;
    }
    EXPECT_EQ(PixelAt(*surface, 5, 3) >> 24, 0x80u);  // a tile's own alpha is taken over
    EXPECT_EQ(PixelAt(*surface, 0, 3) >> 24, 0xFFu);  // a piece without alpha is opaque
    EXPECT_TRUE(painter->GetImage(DialogPainter::kTop)->UsesAlphaChannel());  // restored
}

TEST_F(DialogPainterTest, CentreColourFollowsTheAlphaModes) {
    struct Case {
        const char* extra;
        uint32_t before, after;
    };
    const std::vector<Case> cases = {
        // adjustalpha off: the surface keeps its alpha, the colour gives red, green, blue.
        {R"(adjustalpha="false" centercolor="#40123456")", 0xC0FFFFFF, 0xC0123456},
        // adjustalpha on: the whole colour.
        {R"(centercolor="#40123456")", 0xC0FFFFFF, 0x40123456},
        // usemaxalpha: an alpha above the colour's stays; 0xC0 is above 0x40.
        {R"(usemaxalpha="true" centercolor="#40123456")", 0xC0FFFFFF, 0xC0123456},
        {R"(usemaxalpha="true" centercolor="#40123456")", 0x10FFFFFF, 0x40123456},
        {R"(usemaxalpha="true" centercolor="#90123456")", 0x7FFFFFFF, 0x90123456},
        {R"(usemaxalpha="true" centercolor="#10123456")", 0x90FFFFFF, 0x90123456},
        // initalpha clears the surface before the colour goes on.
        {R"(initalpha="true" usemaxalpha="true" centercolor="#40123456")", 0xC0FFFFFF, 0x40123456},
        // initalpha works only with adjustalpha.
        {R"(initalpha="true" adjustalpha="" centercolor="#40123456")", 0xC0FFFFFF, 0xC0123456},
    };
    for (const Case& c : cases) {
        const Ref<DialogPainter> painter = MakePainter("---------", c.extra);
        const Ref<MemorySurface> surface = FilledSurface(3, 3, c.before);
        painter->Paint(*surface);
        EXPECT_EQ(PixelAt(*surface, 1, 1), c.after) << c.extra;
    }
    // A centre picture is tiled; the colour is never used.
    const Ref<DialogPainter> tiled = MakePainter("----x----", R"(centercolor="#FF00FF00")");
    const Ref<MemorySurface> surface = FilledSurface(3, 3, 0);
    tiled->Paint(*surface);
    EXPECT_TRUE(ChangedPixels(*surface, 0x80000014u).empty());
}

TEST_F(DialogPainterTest, WithoutAdjustAlphaTilesBlendAndKeepTheSurfaceAlpha) {
    const Ref<DialogPainter> painter = MakePainter("----x----", R"(adjustalpha="false")");
    const Ref<MemorySurface> surface = FilledSurface(2, 2, 0x20000000);
    painter->Paint(*surface);
    const uint32_t pixel = PixelAt(*surface, 0, 0);
    EXPECT_EQ(pixel >> 24, 0x20u);
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 0x14 / 2, 2);  // half the tile over black
}

}  // namespace
