#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Rect.h"
#include "engine/scene/Sprite.h"

class MemorySurface;

// Text from data writes a line break as the two characters "\n".
std::wstring UnescapeLineBreaks(const std::wstring& text);

// A sprite whose picture is its text: the text is laid out in lines (as
// written, truncated with "..." or word-wrapped to the width), aligned, and
// rendered once with a bitmap font into the label's own 32-bit picture. With
// auto-size on, the label takes the size of its text.
//
// Its wrap style is the text's, not the frame wrap style of Sprite, whose
// accessors of the same name it hides.
class Label : public Sprite {
    ENGINE_CLASS(Label, Sprite)

public:
    enum AlignV : int32_t { kAlignTop = 0, kAlignMiddle = 1, kAlignBottom = 2 };
    enum AlignH : int32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
    enum TextWrap : int32_t { kNoWrap = 0, kTruncate = 1, kWordWrap = 2 };

    // The sprite keys, then "font" with "section", "wrapstyle", "autofitsize",
    // "alignv", "alignh", "lineheight" and the text from "text", "value" or
    // "textid".
    explicit Label(Property* definition);
    // Empty text, auto-size on whatever the wrap style.
    static Label* LabelFromValues(int32_t x, int32_t y, int32_t width, int32_t height, BitmapFont* font,
                                  int32_t wrapStyle);

    void Draw(Canvas& canvas) override;
    // A new colour renders the text again.
    void SetColor(int32_t color) override;

    int32_t GetAlignV() const { return alignV_; }
    int32_t GetAlignH() const { return alignH_; }
    // With auto-size on, the first fits the width and the second the height.
    void SetAlignV(int32_t align);
    void SetAlignH(int32_t align);
    const Rect& GetTextRect() const { return textRect_; }
    // "\n" written as two characters breaks the line; the same text again does nothing.
    virtual void SetText(const std::wstring& text);
    const std::wstring& GetText() const { return text_; }
    // Takes the font; the text is laid out again only by the next change.
    virtual void SetFont(BitmapFont* font);
    BitmapFont* GetFont() const { return font_.Get(); }
    // Truncating and wrapping switch auto-size off.
    void SetWrapStyle(int32_t style);
    int32_t GetWrapStyle() const { return textWrap_; }
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }
    void SetLineHeight(int32_t height) { lineHeight_ = height; }
    // The label's own line height when 1 or more, else the font's.
    int32_t GetLineHeight() const;

    void FitToText();
    void FitWidthToText();
    void FitHeightToText();
    // Lays the text out and renders it.
    void Rebuild();

    const std::vector<std::wstring>& GetLines() const { return lines_; }
    // The top-left point of each line inside the picture.
    const std::vector<PointF>& GetLinePositions() const { return positions_; }

private:
    Label(int32_t x, int32_t y, int32_t width, int32_t height, BitmapFont* font, int32_t wrapStyle);

    void ReadDefinition(Property* definition);
    int32_t Width(const std::wstring& text) const;
    int32_t TextHeight(size_t lineCount) const;
    void Truncate(const std::vector<std::wstring>& pieces);
    void WordWrap(const std::vector<std::wstring>& pieces);
    void WrapPiece(std::wstring rest);
    void PlaceLines();
    void Render();

    std::vector<std::wstring> lines_;
    std::vector<PointF> positions_;
    Ref<BitmapFont> font_;
    std::wstring text_;
    Rect textRect_;
    int32_t alignV_ = kAlignTop;
    int32_t alignH_ = kAlignLeft;
    int32_t textWrap_ = kNoWrap;
    bool autoSize_ = true;
    int32_t lineHeight_ = 0;
    // The picture this label rendered, which it may draw into again.
    Ref<MemorySurface> picture_;
};
