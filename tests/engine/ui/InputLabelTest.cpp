#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "UiTestSupport.h"
#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/scene/HeadlessWindow.h"
#include "engine/ui/InputLabel.h"
#include "engine/ui/KeyStates.h"
#include "platform/KeyCodes.h"

namespace {

using namespace platform;

class HeldKeys : public KeyStates {
public:
    bool IsKeyDown(uint32_t virtualKey) const override { return down.count(virtualKey) != 0; }
    std::set<uint32_t> down;
};

// The inner label uses the tiny font: with the label at 0, character i
// spans the pointer offsets 4i + 1 to 4i + 4.
class InputLabelTest : public testing::Test {
protected:
    InputLabelTest() { KeyStates::SetSource(&keys_); }
    ~InputLabelTest() override { KeyStates::SetSource(nullptr); }

    static Ref<InputLabel> Build(const std::string& attributes) {
        return BuildFromXml<InputLabel>("<InputLabel id=\"i\" width=\"100\" height=\"10\" " + attributes +
                                        "><Label id=\"label\" font=\"TINY\" section=\"fonts\"/></InputLabel>");
    }

    // The text with the caret, and a selection from `start` to the caret
    // when `start` is not negative; focused.
    static Ref<InputLabel> Prepared(const std::string& attributes, const std::wstring& text, int32_t caret,
                                    int32_t start = -1) {
        Ref<InputLabel> input = Build(attributes);
        input->ApplyText(text, true);
        input->SetFocus(true);
        input->MoveCaret(start >= 0 ? start : caret, false, true);
        input->MoveCaret(caret, true, false);
        return input;
    }

public:
    void Press(InputLabel& input, uint32_t key) {
        input.OnKeyDown(static_cast<int32_t>(key));
        input.OnKeyUp(static_cast<int32_t>(key));
    }

    void WithCtrl(InputLabel& input, char key) {
        keys_.down.insert(VK_CONTROL);
        Press(input, static_cast<uint32_t>(key));
        keys_.down.erase(VK_CONTROL);
    }

protected:
    UiResources resources_;
    HeadlessWindow window_;
    HeldKeys keys_;
};

TEST_F(InputLabelTest, EditsTypingAndClipboard) {
    const struct {
        const char* name;
        std::string attributes;
        std::wstring text;
        int32_t caret;
        int32_t selectionStart;
        std::string clipboard;
        std::function<void(InputLabelTest&, InputLabel&)> act;
        std::wstring textAfter;
        int32_t caretAfter;
        std::string clipboardAfter;
    } cases[] = {
        {"sixth character typed", "maxlength=\"5\"", L"abcde", 5, -1, "", [](auto&, InputLabel& i) { i.OnChar('f'); },
         L"abcde", 5, ""},
        // A paste too long or too wide keeps the start that fits, as typing it would.
        {"paste beyond maxlength", "maxlength=\"5\"", L"abcd", 3, 1, "wxyz",
         [](auto& t, InputLabel& i) { t.WithCtrl(i, 'V'); }, L"awxyd", 4, "wxyz"},
        {"paste with stripspaces", "stripspaces=\"true\"", L"", 0, -1, "  ab",
         [](auto& t, InputLabel& i) { t.WithCtrl(i, 'V'); }, L"ab", 2, "  ab"},
        {"space typed with stripspaces", "stripspaces=\"true\"", L"", 0, -1, "",
         [](auto&, InputLabel& i) { i.OnChar(' '); }, L"", 0, ""},
        {"Backspace at 0", "", L"abc", 0, -1, "", [](auto&, InputLabel& i) { i.OnChar(8); }, L"abc", 0, ""},
        {"Backspace", "", L"abc", 2, -1, "", [](auto&, InputLabel& i) { i.OnChar(8); }, L"ac", 1, ""},
        {"Backspace over a selection", "", L"abcd", 3, 1, "", [](auto&, InputLabel& i) { i.OnChar(8); }, L"ad", 1,
         ""},
        {"Delete at the end", "", L"abc", 3, -1, "", [](auto& t, InputLabel& i) { t.Press(i, VK_DELETE); }, L"abc",
         3, ""},
        {"Delete", "", L"abc", 0, -1, "", [](auto& t, InputLabel& i) { t.Press(i, VK_DELETE); }, L"bc", 0, ""},
        {"Ctrl+C without a selection", "", L"abc", 1, -1, "", [](auto& t, InputLabel& i) { t.WithCtrl(i, 'C'); },
         L"abc", 1, "abc"},
        {"Ctrl+C", "", L"abcd", 3, 1, "", [](auto& t, InputLabel& i) { t.WithCtrl(i, 'C'); }, L"abcd", 3, "bc"},
        {"Ctrl+X without a selection", "", L"abc", 1, -1, "", [](auto& t, InputLabel& i) { t.WithCtrl(i, 'X'); },
         L"", 0, "abc"},
        {"C without Ctrl types", "", L"", 0, -1, "x", [](auto& t, InputLabel& i) { t.Press(i, 'C'); }, L"", 0, "x"},
        // Pasted text passes the typed-character filter: no line breaks,
        // control characters or characters without a glyph.
        {"paste filtered", "", L"", 0, -1, "a\nb\x01\xe2\x82\xac!c", [](auto& t, InputLabel& i) { t.WithCtrl(i, 'V'); },
         L"abc", 3, "a\nb\x01\xe2\x82\xac!c"},
        {"allowed characters", "", L"", 0, -1, "",
         [](auto&, InputLabel& i) {
             i.SetAllowedChars(L"ab");
             for (const char c : std::string("abc!a")) i.OnChar(c);
         },
         L"aba", 3, ""},
        // "abc" is 15 wide.
        {"paste beyond maxwidth", "maxwidth=\"15\"", L"ab", 2, -1, "cd",
         [](auto& t, InputLabel& i) { t.WithCtrl(i, 'V'); }, L"abc", 3, "cd"},
        {"typing up to maxwidth", "maxwidth=\"15\"", L"ab", 2, -1, "", [](auto&, InputLabel& i) {
             i.OnChar('c');
             i.OnChar('d');
         }, L"abc", 3, ""},
    };
    for (const auto& c : cases) {
        const Ref<InputLabel> input = Prepared(c.attributes, c.text, c.caret, c.selectionStart);
        ASSERT_TRUE(input && input->GetLabel()) << c.name;
        GameWindow::SetClipboardText(c.clipboard);
        c.act(*this, *input);
        EXPECT_EQ(input->GetText(), c.textAfter) << c.name;
        EXPECT_EQ(input->GetLabel()->GetText(), c.textAfter) << c.name;
        EXPECT_EQ(input->GetCaret(), c.caretAfter) << c.name;
        // Edits collapse the selection; copying keeps it.
        EXPECT_EQ(input->GetSelectedText(), std::string(c.name) == "Ctrl+C" ? L"bc" : L"") << c.name;
        EXPECT_EQ(GameWindow::GetClipboardText(), c.clipboardAfter) << c.name;
    }
}

TEST_F(InputLabelTest, CaretKeysAndSelection) {
    const Ref<InputLabel> input = Prepared("", L"abcdef", 3);
    // A held key steps once for each key-down delivered, whichever key it is.
    input->OnKeyDown(VK_LEFT);
    input->OnKeyDown(VK_LEFT);
    EXPECT_EQ(input->GetCaret(), 1);
    input->OnKeyDown('Q');
    EXPECT_EQ(input->GetCaret(), 0);
    input->OnKeyUp(VK_LEFT);
    input->OnKeyDown('Q');
    EXPECT_EQ(input->GetCaret(), 0);

    keys_.down.insert(VK_SHIFT);
    input->OnKeyDown(VK_RIGHT);
    input->OnKeyDown(VK_RIGHT);
    input->OnKeyUp(VK_RIGHT);
    EXPECT_EQ(input->GetSelectedText(), L"ab");
    // Shift+Home from the middle selects back to the start.
    input->MoveCaret(4, false, true);
    input->OnKeyUp(VK_HOME);
    EXPECT_EQ(input->GetSelectedText(), L"abcd");
    EXPECT_EQ(input->GetCaret(), 0);
    input->OnKeyUp(VK_END);  // the caret's end of the selection moves
    EXPECT_EQ(input->GetSelectedText(), L"ef");
    keys_.down.clear();
    input->OnKeyUp(VK_HOME);
    EXPECT_EQ(input->GetSelectedText(), L"");

    // Without focus keys are not taken.
    input->SetFocus(false);
    EXPECT_FALSE(input->OnKeyDown(VK_LEFT));
    EXPECT_FALSE(input->OnChar('x'));
    EXPECT_EQ(input->GetText(), L"abcdef");
}

TEST_F(InputLabelTest, MouseSelection) {
    const struct {
        std::wstring text;
        int32_t index;
        std::wstring selected;
    } words[] = {
        {L"word. next", 1, L"word"},
        {L"word next", 1, L"word "},
        {L"word, next", 1, L"word"},
        {L"one word.", 5, L"word"},
        {L"one word", 6, L"word"},
    };
    for (const auto& w : words) {
        const Ref<InputLabel> input = Prepared("", w.text, 0);
        const int32_t x = input->CaretPixelX(w.index) + 1;  // on the character
        input->OnLButtonDown(x, 2, 0, false);
        input->OnLButtonUp(x, 2, 0);
        EXPECT_EQ(input->GetCaret(), w.index);
        EXPECT_FALSE(input->OnLButtonDown(x, 2, 0, true));
        input->OnLButtonUp(x, 2, 0);
        EXPECT_EQ(input->GetSelectedText(), w.selected) << std::string(w.text.begin(), w.text.end());
    }

    const Ref<InputLabel> input = Prepared("", L"abcdef", 0);
    input->SetFocus(false);
    input->OnLButtonDown(6, 2, 0, false);
    EXPECT_TRUE(input->HasFocus());
    input->OnMouseMove(18, 2, 0);
    input->OnLButtonUp(18, 2, 0);
    EXPECT_EQ(input->GetSelectedText(), L"bcd");
    EXPECT_EQ(input->CharIndexAtX(500), 6);
    EXPECT_EQ(input->CharIndexAtX(-3), 0);
    input->OnLButtonDown(6, 50, 0, false);  // a press elsewhere takes the focus
    EXPECT_FALSE(input->HasFocus());
}

TEST_F(InputLabelTest, HandlersCursorAndSelectionBox) {
    const Ref<InputLabel> input =
        Prepared("y=\"2\" cursorx=\"3\" cursory=\"2\" cursorimage=\"PIC\" section=\"pics\" durationon=\"300\"", L"abcd",
                 3, 1);
    int entered = 0;
    int changes = 0;
    input->SetEnterHandler([&](InputLabel& label) { entered += label.HasFocus() ? 10 : 1; });
    input->Bind(&changes, [](void* context, int32_t) { return ++*static_cast<int*>(context); });

    Sprite* cursor = input->GetCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_TRUE(cursor->IsVisible());
    EXPECT_FALSE(cursor->IsSuspended());
    bool shown = false;
    bool hidden = false;
    for (int step = 0; step < 40; ++step) {
        cursor->UpdateModifiers(25);
        shown = shown || cursor->GetAlpha() == 255;
        hidden = hidden || cursor->GetAlpha() == 0;
    }
    EXPECT_TRUE(shown && hidden);

    // The selection box: 50% magenta framed in black, from the pixels of
    // characters 1 and 3 moved by cursorx, at cursory less the top pad.
    const Ref<MemorySurface> target = CreateMemorySurface(40, 20);
    const Ref<Canvas> canvas = target->CreateCanvas();
    canvas->SetColor(Color(0xFFFFFF));
    canvas->Clear();
    input->Draw(*canvas);
    const auto pixel = [&](int x, int y) { return target->Pixels32()[y * 40 + x] & 0xFFFFFF; };
    EXPECT_EQ(pixel(7, 2), 0u);
    EXPECT_EQ(pixel(16, 8), 0u);
    EXPECT_EQ(pixel(8, 3) & 0xFF00FF, 0xFF00FFu);
    EXPECT_LT(pixel(8, 3) & 0x00FF00, 0x00900u * 0x10);
    EXPECT_EQ(pixel(18, 3), 0xFFFFFFu);
    // The cursor at the caret: 3 + 14 (three advances and the pads) - 1 - 1.
    EXPECT_EQ(cursor->GetX(), 15);
    EXPECT_EQ(cursor->GetY(), 3);

    input->OnChar('x');
    EXPECT_EQ(input->GetText(), L"axd");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(input->OnKeyUp(VK_RETURN));
    EXPECT_EQ(entered, 1);  // called once, after the focus went
    EXPECT_FALSE(cursor->IsVisible());
    EXPECT_TRUE(cursor->IsSuspended());
    EXPECT_EQ(input->GetCaret(), 3);
}

}  // namespace
