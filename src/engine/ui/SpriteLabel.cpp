#include "engine/ui/SpriteLabel.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"

namespace {
const ClassRegistration registration("SpriteLabel", CreateFromProperty<SpriteLabel>);

int32_t TruncateToInt(float value) {
    return static_cast<int32_t>(std::trunc(std::clamp(value, -2.0e9f, 2.0e9f)));
}

// A glyph shows its own alpha scaled by the label's, so fading the label
// fades every letter without showing one that game code keeps hidden.
class LabelGlyph : public Sprite {
public:
    LabelGlyph(int32_t x, int32_t y, Surface* picture, int32_t labelAlpha)
        : Sprite(x, y, picture), labelAlpha_(labelAlpha) {
        Show();
    }

    void SetAlpha(int32_t alpha) override {
        ownAlpha_ = alpha;
        Show();
    }

    void SetLabelAlpha(int32_t alpha) {
        labelAlpha_ = alpha;
        Show();
    }

private:
    void Show() { Sprite::SetAlpha(ownAlpha_ * labelAlpha_ / 255); }

    int32_t ownAlpha_ = 255;
    int32_t labelAlpha_ = 255;
};
}  // namespace

SpriteLabel::SpriteLabel(Property* definition) : Label(definition), glyphFont_(GetFont()) {}

SpriteLabel::~SpriteLabel() {
    DropGlyphs();
}

void SpriteLabel::SetText(const std::wstring& text) {
    Label::SetText(text);
    glyphsDirty_ = true;
}

void SpriteLabel::SetFont(BitmapFont* font) {
    Label::SetFont(font);
    glyphFont_ = font;
}

void SpriteLabel::SetAlpha(int32_t alpha) {
    Label::SetAlpha(alpha);
    for (const Ref<Sprite>& glyph : glyphs_) {
        static_cast<LabelGlyph*>(glyph.Get())->SetLabelAlpha(alpha);  // glyphs_ holds only LabelGlyphs
    }
}

void SpriteLabel::Draw(Canvas& /*canvas*/) {
    SetDirty(false);
    if (glyphsDirty_) {
        BuildGlyphs();
    }
}

void SpriteLabel::DropGlyphs() {
    for (const Ref<Sprite>& glyph : glyphs_) {
        glyph->SetRemoved(true);
    }
    glyphs_.clear();
}

void SpriteLabel::BuildGlyphs() {
    // Built now, the glyphs are the ones the next draw keeps, so callers can
    // animate them at once.
    glyphsDirty_ = false;
    DropGlyphs();
    BitmapFont* font = glyphFont_.Get();
    if (font == nullptr || font->GetPicture() == nullptr) {
        return;
    }
    Surface& fontPicture = *font->GetPicture();
    const std::vector<std::wstring>& lines = GetLines();
    const std::vector<PointF>& positions = GetLinePositions();
    for (size_t i = 0; i < lines.size() && i < positions.size(); ++i) {
        const int32_t lineX = TruncateToInt(positions[i].x - GetAnchorX());
        const int32_t y = TruncateToInt(positions[i].y - GetAnchorY()) - font->GetTopPad();
        font->PlaceGlyphs(lines[i], lineX, [&](const BitmapFont::Glyph& glyph, int32_t x) {
            const Ref<MemorySurface> picture = CreateMemorySurface(glyph.w, glyph.h);
            const Ref<Canvas> canvas = picture->CreateCanvas();
            canvas->CopyRect(fontPicture, 0, 0, glyph.x, glyph.y, glyph.w, glyph.h);
            if (font->HasMask()) {
                canvas->SetColor(Color(font->ResolveColor(static_cast<uint32_t>(GetColor()))));
                canvas->Clear();
            }
            Ref<Sprite> sprite(new LabelGlyph(x, y, picture.Get(), GetAlpha()));
            glyphs_.push_back(sprite);
            AddChild(sprite.Get());
        });
    }
}
