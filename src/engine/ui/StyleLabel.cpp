#include "engine/ui/StyleLabel.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/MarkupTagRegistry.h"

namespace {

const ClassRegistration registration("StyleLabel", CreateFromProperty<StyleLabel>);

constexpr const char* kWrapWords[] = {"none", "truncate", "wordwrap"};
constexpr const char* kAlignVWords[] = {"top", "center", "bottom"};
constexpr const char* kAlignHWords[] = {"left", "center", "right"};
// Pushes the pen past any width, so that the rest of a truncated line is dropped.
constexpr int32_t kLineFull = 9999;
// Image flow moves a run only forward or down; this bounds the passes all the same.
constexpr int kMaxImagePasses = 10000;

bool Overlaps(int32_t ax, int32_t ay, int32_t aw, int32_t ah, int32_t bx, int32_t by, int32_t bw, int32_t bh) {
    return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

bool OverlapsImage(const Sprite& image, int32_t x, int32_t y, int32_t w, int32_t h) {
    return Overlaps(x, y, w, h, image.GetX(), image.GetY(), image.GetWidth(), image.GetHeight());
}

int32_t FontHeight(const BitmapFont* font) {
    return font != nullptr ? font->GetGlyphHeight() : 0;
}

int32_t FontBaseline(const BitmapFont* font) {
    return font != nullptr ? font->GetBaseline() : 0;
}

}  // namespace

StyleLabel::StyleLabel(Property* definition) : Sprite(definition) {
    ReadDefinition(&Property::NodeOf(definition));
}

void StyleLabel::ReadDefinition(Property* definition) {
    if (Property* font = Property::Child(definition, "font")) {
        const std::string name = Property::AsString(font);
        const std::string section = Property::AsString(Property::Child(definition, "section"));
        const Ref<Object> data = FindResourceData(name, section);
        settings_.font = ObjectCast<BitmapFont>(data.Get());
        if (!settings_.font) {
            ENGINE_LOG(1, "StyleLabel: no font \"%s\" in section \"%s\"", name.c_str(), section.c_str());
        }
    }
    if (Property* autoFit = Property::Child(definition, "autofitsize")) {
        const std::string value = Property::AsString(autoFit);
        autoFit_ = !value.empty() && value != "false";
    }
    const int wrap = Property::FindChoice(definition, "wrapstyle", kWrapWords, 3);
    if (wrap >= 0) {
        settings_.wrapStyle = wrap;
        autoFit_ = autoFit_ && wrap == 0;
    }
    if (GetWidth() == 0) {
        autoFit_ = true;
    }
    if (const int align = Property::FindChoice(definition, "alignv", kAlignVWords, 3); align >= 0) {
        settings_.alignV = align;
    }
    if (const int align = Property::FindChoice(definition, "alignh", kAlignHWords, 3); align >= 0) {
        settings_.alignH = align;
    }
    if (Property* text = Property::Child(definition, "text")) {
        SetText(Property::AsText(text));
    } else if (Property* value = Property::Child(definition, "value")) {
        SetText(Property::AsText(value));
    } else if (Property* textId = Property::Child(definition, "textid")) {
        SetText(LookUpText(Property::AsString(textId)));
    }
}

void StyleLabel::SetText(const std::wstring& text) {
    std::wstring unescaped = UnescapeLineBreaks(text);
    if (unescaped == text_) {
        return;
    }
    text_ = std::move(unescaped);
    Rebuild();
}

void StyleLabel::Rebuild() {
    ParseMarkup();
    Compose();
}

int32_t StyleLabel::SpaceAdvance() const {
    const BitmapFont* font = settings_.font.Get();
    return font != nullptr ? font->GetTextWidth(L" ", 0, 1, true) - 6 * font->GetSidePad() : 0;
}

void StyleLabel::ParseMarkup() {
    penX_ = penY_ = lineHeight_ = pendingLineHeight_ = 0;
    scan_ = runStart_ = 0;
    lineTruncated_ = false;
    lines_.clear();
    images_.clear();
    currentLine_ = new StyleLine;
    // An escaped bracket loses its backslash in this copy only, so that the
    // text laid out again reads the same.
    std::wstring text = text_;
    while (scan_ < text.size()) {
        const wchar_t c = text[scan_];
        if (c == L'\n') {
            AddRun(text);
            EndLine();
        } else if (c == L' ') {
            AddRun(text);
            if (penX_ != 0) {
                penX_ += SpaceAdvance();
            }
        } else if (c == L'[' && scan_ > 0 && text[scan_ - 1] == L'\\') {
            text.erase(scan_ - 1, 1);
            continue;
        } else if (c == L'[') {
            AddRun(text);
            scan_ = ApplyTag(text, scan_);
        }
        ++scan_;
    }
    AddRun(text);
    lines_.push_back(currentLine_);

    const int32_t rightEdge = LineRightEdge();
    if (autoFit_ && rightEdge > GetWidth()) {
        SetWidth(rightEdge);
    }
    SetHeight(std::max(penY_ + FontHeight(settings_.font.Get()), GetHeight()));
    if (GetHeight() == 0) {
        SetHeight(1);
    }
    if (GetWidth() == 0) {
        SetWidth(1);
    }
    MarkupTagRegistry::DestroyInstance();
    currentLine_.Reset();
}

size_t StyleLabel::ApplyTag(const std::wstring& text, size_t open) {
    size_t stop = text.find_first_of(L"]=", open + 1);
    if (stop == std::wstring::npos) {
        stop = text.size();
    }
    const std::wstring name = text.substr(open + 1, stop - open - 1);
    std::wstring argument;
    if (stop < text.size() && text[stop] == L'=') {
        size_t close = text.find(L']', stop + 1);
        if (close == std::wstring::npos) {
            close = text.size();
        }
        argument = text.substr(stop + 1, close - stop - 1);
        stop = close;
    }
    runStart_ = stop + 1;
    MarkupTagRegistry::GetInstance().Apply(name, argument, *this);
    return stop;
}

void StyleLabel::AddRun(const std::wstring& text) {
    const size_t start = std::min(runStart_, text.size());
    const size_t end = std::min(scan_, text.size());
    const std::wstring runText = end > start ? text.substr(start, end - start) : std::wstring();
    runStart_ = scan_ + 1;
    // A run needs a font to be measured; without one it cannot show.
    if (runText.empty() || !settings_.font) {
        return;
    }
    const Ref<Label> run(Label::LabelFromValues(penX_, penY_, 0, 0, settings_.font.Get(), Label::kNoWrap));
    run->SetColor(GetColor());
    run->SetAutoSize(true);
    run->SetText(runText);
    // Given after the text, so that the run's own picture is laid out against
    // the height of its text rather than the empty label's height of 0.
    run->SetAlignV(settings_.alignV);
    const int32_t runLineHeight = run->GetLineHeight();
    if (penX_ + run->GetWidth() > GetWidth()) {
        if (settings_.wrapStyle == Label::kNoWrap) {
            pendingLineHeight_ = runLineHeight;
        } else if (settings_.wrapStyle == Label::kTruncate) {
            TruncateRun(*run, runLineHeight);
        } else {
            WrapRun(*run, runLineHeight);
        }
    } else if (settings_.wrapStyle != Label::kWordWrap) {
        pendingLineHeight_ = runLineHeight;
    }
    if (!run->GetText().empty()) {
        AvoidImages(*run, runLineHeight);
    }
    if (run->GetText().empty()) {
        return;
    }
    currentLine_->Append(run.Get());
    rightEdge_ = penX_ + run->GetWidth();
    lineHeight_ = std::max(lineHeight_, runLineHeight);
    penX_ += run->GetWidth();
}

void StyleLabel::TruncateRun(Label& run, int32_t runLineHeight) {
    pendingLineHeight_ = runLineHeight;
    if (rightEdge_ >= GetWidth()) {
        run.SetText(L"");
        return;
    }
    const std::wstring text = run.GetText();
    run.SetText(text.substr(0, 1) + L"...");
    if (penX_ + run.GetWidth() > GetWidth()) {
        run.SetText(L"");
        const std::vector<Ref<Label>>& runs = currentLine_->Runs();
        if (!runs.empty()) {
            Label& previous = *runs.back();
            const std::wstring previousText = previous.GetText();
            previous.SetText(previousText.size() > 3 ? previousText.substr(0, previousText.size() - 3) + L"..."
                                                     : previousText.substr(0, 1) + L"...");
        }
    }
    penX_ += kLineFull;
    lineTruncated_ = true;
}

void StyleLabel::WrapRun(Label& run, int32_t runLineHeight) {
    if (penX_ != 0 && run.GetWidth() <= GetWidth()) {
        pendingLineHeight_ = runLineHeight;
        EndLine();
        run.SetPosition(penX_, penY_);
    } else {
        run.SetText(L"");
    }
}

void StyleLabel::AvoidImages(Label& run, int32_t runLineHeight) {
    for (int pass = 0; pass < kMaxImagePasses; ++pass) {
        bool moved = false;
        for (const Ref<Sprite>& image : images_) {
            if (!OverlapsImage(*image, run.GetX(), run.GetY(), run.GetWidth(), runLineHeight)) {
                continue;
            }
            moved = true;
            penX_ = image->GetX() + image->GetWidth() + 1;
            run.SetX(penX_);
            if (penX_ + run.GetWidth() > GetWidth() && settings_.wrapStyle == Label::kWordWrap) {
                WrapRun(run, runLineHeight);
                if (run.GetText().empty()) {
                    return;
                }
            }
        }
        if (!moved) {
            return;
        }
    }
    ENGINE_LOG(1, "StyleLabel: a run found no room beside the images and is dropped");
    run.SetText(L"");
}

int32_t StyleLabel::LineRightEdge() const {
    if (!lineTruncated_) {
        return rightEdge_;
    }
    int32_t edge = 0;
    for (const Ref<Label>& run : currentLine_->Runs()) {
        edge = std::max(edge, run->GetX() + run->GetWidth());
    }
    return edge;
}

void StyleLabel::EndLine() {
    if (!currentLine_) {
        currentLine_ = new StyleLine;  // a break asked for outside a layout
    }
    const std::vector<Ref<Label>>& runs = currentLine_->Runs();
    const Label* deepest = nullptr;
    for (const Ref<Label>& run : runs) {
        if (deepest == nullptr || FontBaseline(run->GetFont()) > FontBaseline(deepest->GetFont())) {
            deepest = run.Get();
        }
    }
    if (deepest != nullptr) {
        const int32_t baseline = FontBaseline(deepest->GetFont());
        const int32_t drop = lineHeight_ - deepest->GetLineHeight();
        for (const Ref<Label>& run : runs) {
            const int32_t fontHeight = FontHeight(run->GetFont());
            int32_t down = 0;
            switch (run->GetAlignV()) {
                case kMiddle:
                    down = (lineHeight_ - fontHeight) / 2;
                    break;
                case kBottom:
                    down = lineHeight_ - fontHeight;
                    break;
                case kBaseline:
                    down = baseline + drop - FontBaseline(run->GetFont());
                    break;
                default:
                    break;
            }
            run->SetY(run->GetY() + down);
        }
    }

    const int32_t rightEdge = LineRightEdge();
    int32_t freeSpace = GetWidth() - rightEdge;
    for (bool narrowed = true; narrowed && freeSpace > 0;) {
        narrowed = false;
        for (const Ref<Sprite>& image : images_) {
            if (freeSpace > 0 && OverlapsImage(*image, rightEdge, penY_, freeSpace, lineHeight_)) {
                freeSpace = std::max(freeSpace - image->GetWidth(), 0);
                narrowed = true;
            }
        }
    }
    int32_t shift = 0;
    if (settings_.alignH == 1) {
        shift = freeSpace / 2;
    } else if (settings_.alignH == 2 && freeSpace > 0) {
        shift = freeSpace;
    }
    for (const Ref<Label>& run : runs) {
        run->SetX(run->GetX() + shift);
    }

    lines_.push_back(currentLine_);
    const int32_t fontLineHeight = settings_.font ? settings_.font->GetLineHeight() : 0;
    penY_ += lineHeight_ != 0 ? lineHeight_ : fontLineHeight;
    penX_ = 0;
    lineHeight_ = pendingLineHeight_;
    currentLine_ = new StyleLine;
    lineTruncated_ = false;
    if (autoFit_) {
        if (GetHeight() < penY_) {
            SetHeight(penY_);
        }
        if (GetWidth() < rightEdge) {
            SetWidth(rightEdge);
        }
    }
}

void StyleLabel::Compose() {
    const Ref<MemorySurface> picture = CreateMemorySurface(GetWidth(), GetHeight());
    SetImage(picture.Get());
    const Ref<Canvas> canvas = picture->CreateCanvas();
    const auto draw = [&](Surface* image, int32_t x, int32_t y) {
        if (image == nullptr) {
            return;
        }
        // Copied with its colours, then its alpha raised into the picture.
        const bool usesAlpha = image->UsesAlphaChannel();
        image->SetUseAlphaChannel(false);
        canvas->Blit(*image, x, y);
        canvas->MaxChannel(*image, 0, x, y);
        image->SetUseAlphaChannel(usesAlpha);
    };
    for (const Ref<StyleLine>& line : lines_) {
        for (const Ref<Label>& run : line->Runs()) {
            draw(run->GetImage(), run->GetX(), run->GetY());
        }
    }
    for (const Ref<Sprite>& image : images_) {
        draw(image->GetImage(), image->GetX(), image->GetY());
    }
    picture->SetDirty(true);
}
