#pragma once

#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/ui/Label.h"

// A label whose text shows as one child sprite per glyph, placed exactly
// where the label's own picture would show it, so that game code can move
// letters one by one. The glyphs are built again at the first draw after a
// new text.
class SpriteLabel : public Label {
    ENGINE_CLASS(SpriteLabel, Label)

public:
    explicit SpriteLabel(Property* definition);
    ~SpriteLabel() override;

    void SetText(const std::wstring& text) override;
    void SetFont(BitmapFont* font) override;
    // Scales each glyph's own alpha: a glyph kept at 0 stays hidden.
    void SetAlpha(int32_t alpha) override;
    // Draws nothing itself: the glyphs are children, drawn by the render pass.
    void Draw(Canvas& canvas) override;

    // One sprite per drawn glyph of every line, made the last children in
    // place of the ones before; the next draw keeps them until the text or
    // font changes.
    void BuildGlyphs();
    const std::vector<Ref<Sprite>>& GetGlyphSprites() const { return glyphs_; }

private:
    void DropGlyphs();

    std::vector<Ref<Sprite>> glyphs_;
    bool glyphsDirty_ = true;
    Ref<BitmapFont> glyphFont_;
};
