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
// corner (3 x 2) of alpha 0x40 and "HALF" a corner mask of alpha 0xC0.
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

    // A row of the picture as piece letters: 0-9, then a-d for 10-13, '.' for
    // anything else. Blits at full alpha may land a step short of the piece.
    static std::string PieceRow(const Surface& surface, int32_t y) {
        std::string row;
        for (int32_t x = 0; x < surface.GetWidth(); ++x) {
            const uint32_t pixel = PixelAt(surface, x, y);
            const int32_t step = static_cast<int32_t>(pixel & 0xFF) - 0x10 + 2;
            const bool piece = (pixel & 0xFFFF00u) == 0 && step >= 0 && step % 8 <= 3 && step / 8 <= 13;
            row += piece ? "0123456789abcd"[step / 8] : '.';
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

}  // namespace
