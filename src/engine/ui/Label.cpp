#include "engine/ui/Label.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/SceneResources.h"

namespace {

const ClassRegistration registration("Label", CreateFromProperty<Label>);

constexpr const char* kWrapWords[] = {"none", "truncate", "wordwrap"};
constexpr const char* kAlignVWords[] = {"top", "center", "bottom"};
constexpr const char* kAlignHWords[] = {"left", "center", "right"};
const std::wstring kEllipsis = L"...";

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        pieces.push_back(text.substr(start, end - start));
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::wstring DropLeadingSpaces(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

}  // namespace

Label::Label(Property* definition) : Sprite(definition) {
    ReadDefinition(&Property::NodeOf(definition));
}

Label::Label(int32_t x, int32_t y, int32_t width, int32_t height, BitmapFont* font, int32_t wrapStyle)
    : Sprite(x, y, width, height), font_(font), textWrap_(wrapStyle) {}

Label* Label::LabelFromValues(int32_t x, int32_t y, int32_t width, int32_t height, BitmapFont* font,
                              int32_t wrapStyle) {
    return new Label(x, y, width, height, font, wrapStyle);
}

void Label::ReadDefinition(Property* definition) {
    Property* font = Property::Child(definition, "font");
    if (font != nullptr) {
        const std::string name = Property::AsString(font);
        const std::string section = Property::AsString(Property::Child(definition, "section"));
        const Ref<Object> data = FindResourceData(name, section);
        font_ = ObjectCast<BitmapFont>(data.Get());
        if (!font_) {
            ENGINE_LOG(1, "Label: no font \"%s\" in section \"%s\"", name.c_str(), section.c_str());
        }
    }
    const int wrap = Property::FindChoice(definition, "wrapstyle", kWrapWords, 3);
    if (wrap > 0) {
        textWrap_ = wrap;
        autoSize_ = false;
    }
    if (Property* autoFit = Property::Child(definition, "autofitsize")) {
        autoSize_ = Property::AsBool(autoFit);
    }
    alignV_ = std::max(Property::FindChoice(definition, "alignv", kAlignVWords, 3), 0);
    alignH_ = std::max(Property::FindChoice(definition, "alignh", kAlignHWords, 3), 0);
    if (Property* lineHeight = Property::Child(definition, "lineheight")) {
        lineHeight_ = Property::AsInt(lineHeight);
    }
    if (Property* text = Property::Child(definition, "text")) {
        SetText(Property::AsText(text));
    } else if (Property* value = Property::Child(definition, "value")) {
        SetText(Property::AsText(value));
    } else if (Property* textId = Property::Child(definition, "textid")) {
        SetText(LookUpText(Property::AsString(textId)));
    }
}

void Label::Draw(Canvas& canvas) {
    if (!font_) {
        SetDirty(false);
        return;
    }
    canvas.MoveOriginY(-font_->GetTopPad());
    Sprite::Draw(canvas);
    canvas.MoveOriginY(font_->GetTopPad());
}

void Label::SetColor(int32_t color) {
    if (color != GetColor()) {
        Sprite::SetColor(color);
        Rebuild();
    }
}

void Label::SetAlignV(int32_t align) {
    alignV_ = align;
    if (autoSize_) {
        FitWidthToText();
    }
}

void Label::SetAlignH(int32_t align) {
    alignH_ = align;
    if (autoSize_) {
        FitHeightToText();
    }
}

std::wstring UnescapeLineBreaks(const std::wstring& text) {
    std::wstring unescaped;
    unescaped.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
            unescaped += L'\n';
            ++i;
        } else {
            unescaped += text[i];
        }
    }
    return unescaped;
}

void Label::SetText(const std::wstring& text) {
    std::wstring unescaped = UnescapeLineBreaks(text);
    if (unescaped == text_) {
        return;
    }
    text_ = std::move(unescaped);
    if (autoSize_) {
        FitToText();
    } else {
        Rebuild();
    }
}

void Label::SetFont(BitmapFont* font) {
    font_ = font;
}

void Label::SetWrapStyle(int32_t style) {
    textWrap_ = style;
    if (style == kTruncate || style == kWordWrap) {
        autoSize_ = false;
    }
    if (autoSize_) {
        FitToText();
    }
}

int32_t Label::GetLineHeight() const {
    if (lineHeight_ >= 1) {
        return lineHeight_;
    }
    return font_ ? font_->GetLineHeight() : 0;
}

void Label::FitToText() {
    Rebuild();
    SetWidth(textRect_.w + 1);
    SetHeight(textRect_.h);
}

void Label::FitWidthToText() {
    Rebuild();
    SetWidth(textRect_.w + 1);
}

void Label::FitHeightToText() {
    Rebuild();
    SetHeight(textRect_.h);
}

int32_t Label::Width(const std::wstring& text) const {
    return font_ ? font_->GetTextWidth(text, 0, static_cast<int32_t>(text.size()), true) : 0;
}

int32_t Label::TextHeight(size_t lineCount) const {
    if (!font_) {
        return 0;
    }
    return font_->GetBottomPad() + (static_cast<int32_t>(lineCount) - 1) * GetLineHeight() +
           font_->GetGlyphHeight();
}

void Label::Rebuild() {
    lines_.clear();
    const std::vector<std::wstring> pieces = SplitLines(text_);
    if (textWrap_ == kTruncate) {
        Truncate(pieces);
    } else if (textWrap_ == kWordWrap) {
        WordWrap(pieces);
    } else {
        lines_ = pieces;
    }
    PlaceLines();
    if (!text_.empty() && font_ && textRect_.w > 0 && textRect_.h > 0) {
        Render();
    } else {
        const int32_t width = GetWidth();
        picture_.Reset();
        SetImage(nullptr);
        SetWidth(width);
    }
}

void Label::Truncate(const std::vector<std::wstring>& pieces) {
    const int32_t width = GetWidth();
    for (const std::wstring& piece : pieces) {
        if (Width(piece) <= width) {
            lines_.push_back(piece);
            continue;
        }
        size_t keep = piece.size();
        while (keep > 0 && Width(piece.substr(0, keep) + kEllipsis) > width) {
            --keep;
        }
        lines_.push_back(piece.substr(0, keep) + kEllipsis);
    }
    SetHeight(TextHeight(lines_.size()));
}

void Label::WordWrap(const std::vector<std::wstring>& pieces) {
    for (const std::wstring& piece : pieces) {
        WrapPiece(piece);
    }
    SetHeight(TextHeight(lines_.size()));
}

void Label::WrapPiece(std::wstring rest) {
    const int32_t width = GetWidth();
    const auto fits = [&](size_t count) { return Width(rest.substr(0, count)) <= width; };
    while (!rest.empty() && !fits(rest.size())) {
        // Break at the last space (or the end) whose text before it fits.
        size_t candidate = 0;
        bool found = false;
        size_t breakAt = 0;
        for (; candidate <= rest.size(); ++candidate) {
            if (candidate < rest.size() && rest[candidate] != L' ') {
                continue;
            }
            if (!fits(candidate)) {
                break;
            }
            breakAt = candidate;
            found = true;
        }
        if (!found) {
            // The first word is wider than the label: break inside it, taking
            // at least one character so that a label narrower than one
            // character still ends.
            breakAt = std::min(candidate, rest.size());
            while (breakAt > 1 && !fits(breakAt)) {
                --breakAt;
            }
            breakAt = std::max<size_t>(breakAt, 1);
        }
        const size_t first = rest.find_first_not_of(L' ');
        lines_.push_back(first != std::wstring::npos && first < breakAt ? rest.substr(first, breakAt - first)
                                                                         : std::wstring());
        rest = DropLeadingSpaces(rest.substr(breakAt));
    }
    lines_.push_back(DropLeadingSpaces(rest));
}

void Label::PlaceLines() {
    positions_.clear();
    if (lines_.empty()) {
        textRect_.x = 0;
        return;
    }
    const int32_t lineHeight = GetLineHeight();
    const int32_t glyphHeight = font_ ? font_->GetGlyphHeight() : 0;
    const int32_t lineCount = static_cast<int32_t>(lines_.size());
    const int32_t height = GetHeight();
    const int32_t width = GetWidth();
    int32_t y = 0;
    if (alignV_ == kAlignMiddle) {
        y = (height - (lineCount - 1) * lineHeight - glyphHeight) / 2;
    } else if (alignV_ == kAlignBottom) {
        y = height - (lineCount - 1) * lineHeight - glyphHeight;
    }
    const int32_t firstY = y;
    int32_t smallestX = 0;
    int32_t widest = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const int32_t lineWidth = Width(lines_[i]);
        int32_t x = 0;
        if (alignH_ == kAlignCenter) {
            x = autoSize_ ? -(lineWidth / 2) : (width - lineWidth) / 2;
        } else if (alignH_ == kAlignRight) {
            x = autoSize_ ? -lineWidth : width - lineWidth;
        }
        positions_.push_back(PointF{static_cast<float>(x), static_cast<float>(y)});
        smallestX = i == 0 ? x : std::min(smallestX, x);
        widest = i == 0 ? lineWidth : std::max(widest, lineWidth);
        y += lineHeight;
    }
    if (autoSize_) {
        for (PointF& position : positions_) {
            position.x -= static_cast<float>(smallestX);
        }
    }
    textRect_ = Rect{smallestX, firstY, widest, TextHeight(lines_.size())};
}

void Label::Render() {
    const int32_t width = autoSize_ ? textRect_.w : GetWidth();
    const int32_t height = autoSize_ ? textRect_.h : GetHeight();
    if (width <= 0 || height <= 0) {
        picture_.Reset();
        SetImage(nullptr);
        SetWidth(width);
        return;
    }
    if (!picture_ || picture_.Get() != GetImage() || picture_->GetWidth() != width ||
        picture_->GetHeight() != height) {
        picture_ = CreateMemorySurface(width, height);
        SetImage(picture_.Get());
    } else {
        uint32_t* pixels = picture_->Pixels32();
        const int32_t pitch = picture_->PitchIn32();
        for (int32_t row = 0; row < height; ++row) {
            std::fill(pixels + row * pitch, pixels + row * pitch + width, 0u);
        }
    }
    const Ref<Canvas> canvas = picture_->CreateCanvas();
    canvas->SetFont(font_.Get());
    // The transparent picture carries the text colour, so that blending at
    // the glyph edges does not darken them.
    canvas->SetColor(Color(font_->ResolveColor(static_cast<uint32_t>(GetColor()))));
    canvas->Clear();
    canvas->SetColor(Color(static_cast<uint32_t>(GetColor())));
    for (size_t i = 0; i < lines_.size(); ++i) {
        canvas->DrawText(lines_[i], RoundToInt(positions_[i].x), RoundToInt(positions_[i].y));
    }
    picture_->SetDirty(true);
}
