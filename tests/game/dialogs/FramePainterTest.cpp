#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/ui/UiTestSupport.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HintPainter.h"
#include "game/dialogs/KR2Painter.h"

namespace {

// Section "dlg": pieces "P0".."P13", opaque, blue byte 0x10 + 8 x index, of the
// sizes below; masks "M0".."M13" of the same sizes, opaque. "CLEAR" is a
// corner (3 x 2) of alpha 0x40, "HALF" and "ZERO" corner masks of alpha 0xC0
// and 0.
// The tab constants are set small: minimum centre width 10, offset 4.
class FramePainterTest : public testing::Test {
protected:
    static constexpr int32_t kSizes[14][2] = {{3, 2}, {5, 2}, {3, 2}, {3, 4}, {8, 2}, {3, 4}, {3, 2},
                                              {5, 2}, {3, 2}, {4, 2}, {4, 2}, {2, 2}, {6, 4}, {7, 2}};

    FramePainterTest() : minCentreWidth_(DIALOG_MIN_CENTERWIDTH), centreOffset_(DIALOG_CENTER_OFFSET) {
        DIALOG_MIN_CENTERWIDTH = 10;
        DIALOG_CENTER_OFFSET = 4;
        auto* section = new Section("dlg", false);
        for (uint32_t i = 0; i < 14; ++i) {
            const std::string index = std::to_string(i);
            section->AddResource("P" + index,
                                 new HeldResource(FilledSurface(kSizes[i][0], kSizes[i][1], 0xFF000010u + 8 * i).Get()));
            section->AddResource("M" + index,
                                 new HeldResource(FilledSurface(kSizes[i][0], kSizes[i][1], 0xFF000000u).Get()));
        }
        section->AddResource("CLEAR", new HeldResource(FilledSurface(3, 2, 0x40000030u).Get()));
        section->AddResource("HALF", new HeldResource(FilledSurface(3, 2, 0xC0000000u).Get()));
        section->AddResource("ZERO", new HeldResource(FilledSurface(3, 2, 0x00000000u).Get()));
        resources_.Load(section);
    }

    ~FramePainterTest() override {
        DIALOG_MIN_CENTERWIDTH = minCentreWidth_;
        DIALOG_CENTER_OFFSET = centreOffset_;
    }

    // A painter of the class over the named images (index by index, "" for
    // none), with the extra keys.
    template <typename T>
    Ref<T> MakePainter(const char* className, const std::vector<std::string>& images,
                       const std::string& keys = "") {
        std::string list;
        for (const std::string& name : images) {
            list += "<String>" + name + "</String>";
        }
        const Ref<T> painter = BuildFromXml<T>(std::string("<") + className + R"( id="it" section="dlg" )" + keys +
                                               R"(><Vector id="images">)" + list + "</Vector></" + className + ">");
        EXPECT_NE(painter.Get(), nullptr) << className;
        return painter;
    }

    // The full KR2 set: pieces 0-13, masks 14-25.
    static std::vector<std::string> Kr2Images(int32_t pieces = 14) {
        std::vector<std::string> names(26);
        for (int32_t i = 0; i < pieces; ++i) {
            names[static_cast<size_t>(i)] = "P" + std::to_string(i);
        }
        for (int32_t i = 0; i <= 10; ++i) {
            names[static_cast<size_t>(i + 14)] = "M" + std::to_string(i);
        }
        names[25] = "M13";
        return names;
    }

    // The nine frame pieces with their masks at 9..17; the centre piece is the emblem, without one.
    static std::vector<std::string> HintImages() {
        std::vector<std::string> names(18);
        for (int32_t i = 0; i < 9; ++i) {
            names[static_cast<size_t>(i)] = "P" + std::to_string(i);
            names[static_cast<size_t>(i + 9)] = i == 4 ? "" : "M" + std::to_string(i);
        }
        return names;
    }

    // A row of the picture as piece letters: 0-9, then a-d for 10-13; '.' for
    // the body colour `body`, '#' for anything else. Blits at full alpha may
    // land a step short of the piece.
    static std::string PieceRow(const Surface& surface, int32_t y, uint32_t body = 0xFF000000u) {
        std::string row;
        for (int32_t x = 0; x < surface.GetWidth(); ++x) {
            const uint32_t pixel = PixelAt(surface, x, y);
            const int32_t step = static_cast<int32_t>(pixel & 0xFF) - 0x10 + 2;
            const bool piece = ((pixel >> 8) & 0xFF) <= 2 && ((pixel >> 16) & 0xFF) <= 2 && step >= 0 && step % 8 <= 3 && step / 8 <= 13;
            row += piece ? "0123456789abcd"[step / 8] : pixel == body ? '.' : '#';
        }
        return row;
    }

    UiResources resources_;

private:
    int32_t minCentreWidth_;
    int32_t centreOffset_;
};

TEST_F(FramePainterTest, GradientRowsAreExactAndThePercentageIsHeldToTheHeight) {
    // Colour 1 (0, 0, 200), colour 2 (100, 100, 100), colour 3 (200, 0, 0).
    struct Case {
        int32_t percentage, row;
        uint32_t pixel;
    };
    const std::vector<Case> cases = {
        // 50 % of 101 rows: the split lies at 50.5.
        {50, 0, 0xFF0000C8}, {50, 25, 0xFF313196}, {50, 49, 0xFF616166},
        // Row 50 starts the lower band a little before colour 2: t < 0.
        {50, 50, 0xFF636464}, {50, 100, 0xFFC60101},
        // 0 %: colour 2 to colour 3 over the whole height.
        {0, 0, 0xFF646464}, {0, 100, 0xFFC70000},
        // 100 %: colour 1 to colour 2; colour 3 is never reached.
        {100, 0, 0xFF0000C8}, {100, 100, 0xFF636364},
        // Out of range: held to 0 and 100 instead of filling rows outside the picture.
        {-20, 0, 0xFF646464}, {-20, 100, 0xFFC70000}, {150, 0, 0xFF0000C8}, {150, 100, 0xFF636364},
    };
    for (const char* className : {"KR2Painter", "HintPainter"}) {
        for (const Case& c : cases) {
            const Ref<GradientFramePainter> painter = MakePainter<GradientFramePainter>(
                className, {}, R"(color1="#0000C8" color2="#646464" color3="#C80000" percentage=")" +
                                   std::to_string(c.percentage) + "\"");
            const Ref<MemorySurface> surface = FilledSurface(3, 101, 0x12345678);
            painter->Paint(*surface);
            EXPECT_EQ(PixelAt(*surface, 0, c.row), c.pixel) << className << " " << c.percentage << "% row " << c.row;
            EXPECT_EQ(PixelAt(*surface, 2, c.row), c.pixel) << className << " " << c.percentage << "% row " << c.row;
            EXPECT_FALSE(painter->NeedsRepaint());
        }
    }
}

TEST_F(FramePainterTest, HeaderTabIsAsWideAsItsLabelOrTheMinimum) {
    // Width 100: the tab centre is 54, its width max(label, 10) + 64, its left
    // end at centre - width / 2. The left-of-tab edge (d) goes on after the tab
    // and may cover its first pixels.
    struct Case {
        const wchar_t* label;  // null: no label
        int32_t labelWidth;
        const char* row0;
    };
    const std::vector<Case> cases = {
        // Tab 17..90: 9 at 17, 4 from 21 while x < 87, 10 at 87, 1 from 91.
        {nullptr, 0,
         "000dddddddddddddd9999444444444444444444444444444444444444444444444444444444444444444444aaaa111111222"},
        // A label under the minimum changes nothing.
        {L"a", 8,
         "000dddddddddddddd9999444444444444444444444444444444444444444444444444444444444444444444aaaa111111222"},
        // 24 wide: tab 10..97, 1 would start at 98, past the corner.
        {L"abcde", 24,
         "000ddddddd999944444444444444444444444444444444444444444444444444444444444444444444444444444444aaa222"},
    };
    for (const Case& c : cases) {
        const Ref<KR2Painter> painter = MakePainter<KR2Painter>("KR2Painter", Kr2Images());
        Ref<Label> label;
        if (c.label != nullptr) {
            label = Label::LabelFromValues(0, 0, 0, 0, resources_.tiny.Get(), Label::kNoWrap);
            label->SetText(c.label);
            ASSERT_EQ(label->GetWidth(), c.labelWidth);
            painter->SetHeaderLabel(label.Get());
        }
        EXPECT_EQ(painter->GetHeaderLabel().Get(), label.Get());
        const Ref<MemorySurface> surface = FilledSurface(100, 60, 0);
        painter->Paint(*surface);
        EXPECT_EQ(PieceRow(*surface, 0), c.row0) << c.labelWidth;
        if (!label) {
            continue;
        }
        // The label's picture lands at (54 - width / 2 + 5, 51 - height / 2).
        const Surface& text = *label->GetImage();
        const int32_t left = 54 - c.labelWidth / 2 + 5;
        const int32_t top = 51 - label->GetHeight() / 2;
        int32_t opaque = 0;
        int32_t matching = 0;
        for (int32_t y = 0; y < text.GetHeight(); ++y) {
            for (int32_t x = 0; x < text.GetWidth(); ++x) {
                const uint32_t pixel = PixelAt(text, x, y);
                if (pixel >> 24 == 0xFF) {
                    ++opaque;
                    const uint32_t painted = PixelAt(*surface, left + x, top + y);
                    matching += (painted & 0xFF) + 1 >= (pixel & 0xFF) && (painted & 0xFF) <= (pixel & 0xFF);
                }
            }
        }
        EXPECT_GT(opaque, 0);
        EXPECT_EQ(matching, opaque) << c.labelWidth;
    }
}

TEST_F(FramePainterTest, NinePieceSetDrawsTheFrameWithoutTabOrnamentOrEmblem) {
    const Ref<KR2Painter> painter = MakePainter<KR2Painter>("KR2Painter", Kr2Images(9));
    const Ref<MemorySurface> surface = FilledSurface(100, 60, 0);
    painter->Paint(*surface);
    // The top edge starts right of where the tab would end (17 + 74).
    EXPECT_EQ(PieceRow(*surface, 0), "000" + std::string(88, '.') + "111111222");
    for (int32_t y = 2; y < 58; ++y) {
        ASSERT_EQ(PieceRow(*surface, y), "333" + std::string(94, '.') + "555") << "row " << y;
    }
    EXPECT_EQ(PieceRow(*surface, 59), "666" + std::string(95, '7').substr(0, 94) + "888");
}

TEST_F(FramePainterTest, HintFrameTilesTheEdgesAndBurnsItsEmblemNearTheBottom) {
    const Ref<HintPainter> painter = MakePainter<HintPainter>(
        "HintPainter", HintImages(), R"(color1="#808080" color2="#808080" color3="#808080" percentage="40")");
    const Ref<MemorySurface> surface = FilledSurface(16, 20, 0);
    painter->Paint(*surface);
    std::vector<std::string> rows;
    for (int32_t y = 0; y < 20; ++y) {
        rows.push_back(PieceRow(*surface, y, 0xFF808080u));
    }
    // The emblem (8 x 2) is centred and its bottom 15 rows above the frame's.
    const std::vector<std::string> expected = {
        "0001111111111222", "0001111111111222", "333..........555", "333.########.555", "333.########.555",
        "333..........555", "333..........555", "333..........555", "333..........555", "333..........555",
        "333..........555", "333..........555", "333..........555", "333..........555", "333..........555",
        "333..........555", "333..........555", "333..........555", "6667777777777888", "6667777777777888",
    };
    EXPECT_EQ(rows, expected);
    EXPECT_LT(PixelAt(*surface, 6, 3) & 0xFF, 0x80u);  // burnt darker
    EXPECT_EQ(PixelAt(*surface, 6, 3) >> 24, 0xFFu);
}

TEST_F(FramePainterTest, MasksShapeThePieceAlphaAndMissingOnesAreSkipped) {
    struct Case {
        const char* corner;
        const char* mask;
        uint32_t alpha;  // at the top-left corner
    };
    const std::vector<Case> cases = {
        {"CLEAR", "HALF", 0xC0},  // the mask's alpha, above the piece's
        {"CLEAR", "ZERO", 0x40},  // the piece's alpha, above the mask's
        {"CLEAR", "", 0xFF},      // no mask: the body's alpha stays
        {"", "HALF", 0xFF},       // no piece: nothing, its mask unused
    };
    for (const Case& c : cases) {
        std::vector<std::string> images = HintImages();
        images[0] = c.corner;
        images[9] = c.mask;
        const Ref<HintPainter> painter = MakePainter<HintPainter>("HintPainter", images);
        const Ref<MemorySurface> surface = FilledSurface(16, 20, 0);
        painter->Paint(*surface);
        EXPECT_EQ(PixelAt(*surface, 0, 0) >> 24, c.alpha) << c.corner << "/" << c.mask;
        if (*c.corner == 0) {
            // The top edge starts at 0 and the left edge, drawn later, covers its start.
            EXPECT_EQ(PieceRow(*surface, 0).substr(0, 6), "333111");
        }
    }
}

TEST_F(FramePainterTest, TabMiddleNeedsBothTabEnds) {
    for (const size_t missing : {9u, 10u}) {
        std::vector<std::string> images = Kr2Images();
        images[missing] = "";
        images[missing + 14] = "";
        const Ref<KR2Painter> painter = MakePainter<KR2Painter>("KR2Painter", images);
        const Ref<MemorySurface> surface = FilledSurface(100, 60, 0);
        painter->Paint(*surface);
        const std::string row = PieceRow(*surface, 0);
        EXPECT_EQ(row.find('4'), std::string::npos) << missing;
        EXPECT_EQ(row.substr(17, 4), missing == 9 ? "...." : "9999") << missing;
        EXPECT_EQ(row.substr(87, 4), missing == 10 ? "...." : "aaaa") << missing;
    }
}

TEST_F(FramePainterTest, EmblemIsBurntOnlyIntoThirtyTwoBitSurfaces) {
    const Ref<KR2Painter> painter = MakePainter<KR2Painter>(
        "KR2Painter", Kr2Images(), R"(color1="#808080" color2="#808080" color3="#808080")");
    // 32 bits: the emblem (6 x 4) centred on 54, its bottom 30 rows above the bottom.
    const Ref<MemorySurface> surface = FilledSurface(100, 60, 0);
    painter->Paint(*surface);
    EXPECT_EQ(PieceRow(*surface, 26, 0xFF808080u).substr(50, 8), ".######.");
    EXPECT_EQ(PieceRow(*surface, 29, 0xFF808080u).substr(50, 8), ".######.");
    EXPECT_EQ(PieceRow(*surface, 30, 0xFF808080u).substr(50, 8), "........");
    EXPECT_EQ(PieceRow(*surface, 44, 0xFF808080u).substr(29, 4), ".bb.");  // the ornament at (30, 43)

    // 16 bits with alpha: the body and frame, no emblem.
    const Ref<AlphaMemorySurface> small = CreateAlphaMemorySurface(100, 60);
    painter->SetNeedsRepaint(true);
    painter->Paint(*small);
    const auto at = [&](int32_t x, int32_t y) { return small->Pixels16()[small->PixelIndex(x, y)]; };
    EXPECT_EQ(at(54, 27), at(20, 27));
    EXPECT_NE(at(0, 0), at(20, 27));
    EXPECT_EQ(small->GetAlphaBuffer()[27 * 100 + 54], 0xFF);
    EXPECT_FALSE(painter->NeedsRepaint());
}

}  // namespace
