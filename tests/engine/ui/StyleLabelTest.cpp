#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "engine/ui/MarkupTagRegistry.h"
#include "engine/ui/StyleLabel.h"

namespace {

struct PlacedRun {
    std::wstring text;
    int32_t x;
    int32_t y;
    friend bool operator==(const PlacedRun&, const PlacedRun&) = default;
};

void PrintTo(const PlacedRun& run, std::ostream* out) {
    *out << std::string(run.text.begin(), run.text.end()) << "@" << run.x << "," << run.y;
}

std::vector<std::vector<PlacedRun>> Layout(const StyleLabel& label) {
    std::vector<std::vector<PlacedRun>> lines;
    for (const Ref<StyleLine>& line : label.GetLines()) {
        lines.emplace_back();
        for (const Ref<Label>& run : line->Runs()) {
            lines.back().push_back(PlacedRun{run->GetText(), run->GetX(), run->GetY()});
        }
    }
    return lines;
}

class StyleLabelTest : public testing::Test {
protected:
    void TearDown() override { MarkupTagRegistry::DestroyInstance(); }

    static Ref<StyleLabel> Build(const std::string& attributes, const std::wstring& text) {
        Ref<StyleLabel> label =
            BuildFromXml<StyleLabel>("<StyleLabel id=\"s\" font=\"TINY\" section=\"fonts\" " + attributes + "/>");
        label->SetText(text);
        return label;
    }

    UiResources resources_;
};

// Runs are 4n + 4 wide for n letters; a space between words advances 3
// (its width 9 less six side pads); lines are 6 high.
TEST_F(StyleLabelTest, GoldenLayouts) {
    const struct {
        std::string attributes;
        std::wstring text;
        std::vector<std::vector<PlacedRun>> lines;
    } cases[] = {
        // Only lines that end are aligned: the last one stays at the left.
        {"width=\"40\" alignh=\"center\"", L"A\\nB", {{{L"A", 16, 0}}, {{L"B", 0, 6}}}},
        {"width=\"40\" alignh=\"right\"", L"ab\nx", {{{L"ab", 28, 0}}, {{L"x", 0, 6}}}},
        // Two spaces give two advances; spaces at the start of a line none.
        {"width=\"40\"", L"a  b", {{{L"a", 0, 0}, {L"b", 14, 0}}}},
        {"width=\"40\"", L"  a", {{{L"a", 0, 0}}}},
        {"width=\"40\"", L"\\[a]", {{{L"[a]", 0, 0}}}},
        // A word wider than the label is dropped; the next one wraps.
        {"width=\"20\" wrapstyle=\"wordwrap\"", L"ab abcdefgh cd", {{{L"ab", 0, 0}}, {{L"cd", 0, 6}}}},
        // Truncation: the first letter and "...", then nothing more on the line;
        // when even that does not fit, the previous word is cut instead.
        {"width=\"44\" wrapstyle=\"truncate\"", L"abc abcdefgh zz", {{{L"abc", 0, 0}, {L"a...", 19, 0}}}},
        {"width=\"30\" wrapstyle=\"truncate\"", L"abc abcdefgh zz", {{{L"a...", 0, 0}}}},
        // A truncated line is centred on its real end (39 of 44).
        {"width=\"44\" wrapstyle=\"truncate\" alignh=\"center\"",
         L"abc abcdefgh zz\nx",
         {{{L"abc", 2, 0}, {L"a...", 21, 0}}, {{L"x", 0, 6}}}},
        // Tags: an unknown name is ignored, "br" breaks whatever its argument.
        {"width=\"40\"", L"a[BR]b[br=x]c", {{{L"a", 0, 0}, {L"b", 8, 0}}, {{L"c", 0, 6}}}},
        // Runs flow to the right of an inline image (5 x 8) they would overlap.
        {"width=\"40\"", L"[image=PIC,pics]ab", {{{L"ab", 6, 0}}}},
        // A block image takes its own rows.
        {"width=\"40\"", L"[image=PIC,pics,right,none]a", {{{L"a", 0, 8}}}},
        // Missing images and images without a section are skipped.
        {"width=\"40\"", L"[image=NONE,pics]a[image=PIC]b", {{{L"a", 0, 0}, {L"b", 8, 0}}}},
        // Vertical alignment inside an ended line: the tall font (line 9,
        // baseline 5) sets the line; bottom drops by 9 - 4, baseline by 5 - 3.
        {"width=\"60\"",
         L"[font=TALL,fonts]A[/font][alignv=bottom]b[/alignv][alignv=baseline]c[/alignv]\nx",
         {{{L"A", 0, 0}, {L"b", 8, 5}, {L"c", 16, 2}}, {{L"x", 0, 9}}}},
    };
    for (const auto& c : cases) {
        const Ref<StyleLabel> label = Build(c.attributes, c.text);
        ASSERT_TRUE(label);
        EXPECT_EQ(Layout(*label), c.lines) << std::string(c.text.begin(), c.text.end());
    }
}

TEST_F(StyleLabelTest, SizesAndPicture) {
    // Width 0 turns autofit on, even after a wrap style turned it off.
    EXPECT_TRUE(Build("wrapstyle=\"wordwrap\"", L"")->GetAutoFitSize());
    EXPECT_FALSE(Build("width=\"5\" autofitsize=\"true\" wrapstyle=\"truncate\"", L"")->GetAutoFitSize());
    // It grows to its widest line and to the last line's top plus the font's height.
    const Ref<StyleLabel> fitted = Build("", L"ab\nabcd");
    EXPECT_EQ(fitted->GetWidth(), 20);
    EXPECT_EQ(fitted->GetHeight(), 10);
    ASSERT_NE(fitted->GetImage(), nullptr);
    EXPECT_EQ(fitted->GetImage()->GetWidth(), 20);
    // The first glyph of the first run, drawn into the label's picture.
    EXPECT_EQ(fitted->GetImage()->Pixels32()[1], 0xFF282828u);

    const Ref<StyleLabel> empty = Build("", L"");
    empty->Rebuild();
    ASSERT_NE(empty->GetImage(), nullptr);
    EXPECT_EQ(empty->GetImage()->GetWidth(), 1);
    EXPECT_EQ(empty->GetImage()->GetHeight(), 4);  // one line of the font

    // Without its font a label shows no runs, and does not fail.
    const Ref<StyleLabel> fontless =
        BuildFromXml<StyleLabel>("<StyleLabel id=\"s\" font=\"NONE\" section=\"fonts\" width=\"9\" text=\"ab cd\"/>");
    ASSERT_EQ(fontless->GetLines().size(), 1u);
    EXPECT_TRUE(fontless->GetLines()[0]->Runs().empty());
    EXPECT_EQ(fontless->GetImage()->GetWidth(), 9);

    // An image taller than the label makes it taller.
    const Ref<StyleLabel> withImage = Build("width=\"40\" height=\"3\"", L"[image=PIC,pics,left,single]");
    EXPECT_EQ(withImage->GetHeight(), 8);
}

TEST_F(StyleLabelTest, ColourAndFontTagsSaveAndRestore) {
    const Ref<StyleLabel> label =
        Build("width=\"200\" color=\"#123456\"",
              L"[color=#FF0000]a [/color]b [color=00FF00]c [/color][/color]d [color=zz]e");
    const std::vector<int32_t> colours{0xFF0000, 0x123456, 0x00FF00, 0x123456, 0};
    ASSERT_EQ(label->GetLines().size(), 1u);
    const auto& runs = label->GetLines()[0]->Runs();
    ASSERT_EQ(runs.size(), colours.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i]->GetColor(), colours[i]) << i;
    }

    // A font tag without a section, or naming a missing font, keeps the font
    // but still pairs with its closing tag.
    const Ref<StyleLabel> fonts =
        Build("width=\"200\"", L"[font=TALL]a [font=TALL,fonts]b [/font]c [/font]d [/font][font=NONE,fonts]e");
    const std::vector<BitmapFont*> expected{resources_.tiny.Get(), resources_.tall.Get(), resources_.tiny.Get(),
                                            resources_.tiny.Get(), resources_.tiny.Get()};
    const auto& fontRuns = fonts->GetLines()[0]->Runs();
    ASSERT_EQ(fontRuns.size(), expected.size());
    for (size_t i = 0; i < fontRuns.size(); ++i) {
        EXPECT_EQ(fontRuns[i]->GetFont(), expected[i]) << i;
    }
}

TEST_F(StyleLabelTest, TabsAlignmentStacksAndNumbers) {
    const Ref<StyleLabel> label = Build("width=\"40\"", L"");
    MarkupTagRegistry& tags = MarkupTagRegistry::GetInstance();
    tags.Apply(L"tabs", L"100,50", *label);
    const struct {
        int32_t pen;
        std::wstring argument;
        int32_t after;
    } tabs[] = {
        {60, L"", 100}, {70, L"", 100}, {100, L"", 100}, {120, L"", 120},  // the first stop not left of the pen
        {0, L"2", 50},  {0, L"3", 0},   {0, L"0", 0},   {0, L"01", 100},   // numbered from 1
    };
    for (const auto& t : tabs) {
        label->SetPenX(t.pen);
        EXPECT_TRUE(tags.Apply(L"tab", t.argument, *label));
        EXPECT_EQ(label->GetPenX(), t.after) << t.pen << " tab " << std::string(t.argument.begin(), t.argument.end());
    }

    // An unknown value still saves, so the closing tag pops what it saved; a
    // closing tag with nothing saved does nothing.
    const StyleSettings& settings = label->Settings();
    tags.Apply(L"alignh", L"right", *label);
    tags.Apply(L"alignh", L"middle", *label);
    EXPECT_EQ(settings.alignH, 2);
    tags.Apply(L"/alignh", L"", *label);
    EXPECT_EQ(settings.alignH, 2);
    tags.Apply(L"/alignh", L"", *label);
    tags.Apply(L"/alignh", L"", *label);
    EXPECT_EQ(settings.alignH, 0);
    EXPECT_FALSE(tags.Apply(L"AlignH", L"right", *label));

    tags.Apply(L"width", L"010", *label);  // octal, as "%i" reads it
    EXPECT_EQ(label->GetWidth(), 8);
    tags.Apply(L"width", L"0x10", *label);
    EXPECT_EQ(label->GetWidth(), 16);
}

}  // namespace
