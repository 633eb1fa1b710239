#include "game/words/LetterSprite.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierRotateScale.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"

namespace {

const ClassRegistration registration("LetterSprite", CreateFromProperty<LetterSprite>);

constexpr const char* kSection = "gamescene";
constexpr const char* kFontNames[LetterSprite::kFontCount] = {"FONT_COAL", "FONT_COAL_SMALL", "FONT_COAL_NEW",
                                                              "FONT_COAL_RED"};
constexpr int kKindsPerSize = 10;
constexpr int kNormalLooks = 3;
constexpr int32_t kLookChangeMs = 200;
constexpr int32_t kPopFadeMs = 400;
constexpr int32_t kNewFadeMs = 400;
constexpr int32_t kFlashInMs = 100;
constexpr int32_t kFlashHoldMs = 1000;
constexpr int32_t kFlashOutMs = 200;
constexpr int32_t kPlainFadeMs = 200;

Modifier* BlockingIf(bool blocking, Modifier* modifier) { return blocking ? Blocking(modifier) : modifier; }

// The glyph's picture at (x, y) of the canvas. Glyph records begin at the
// space, so a lower character (a damaged save) has none.
bool DrawGlyph(Canvas& canvas, BitmapFont& font, uint8_t character, int32_t x, int32_t y) {
    if (character < ' ' || !font.HasGlyph(character)) {
        return false;
    }
    canvas.SetFont(&font);
    canvas.SetColor(Color(font.ResolveColor(0xFFFFFF)));
    // The first glyph of a text lands at the side pad.
    canvas.DrawText(std::wstring(1, static_cast<wchar_t>(character)), x - font.GetSidePad(), y);
    return true;
}

}  // namespace

LetterSprite::LetterSprite(Property* node) : Sprite(node) {
    if (node != nullptr) {
        new_ = Property::AsBool(Property::Child(node, "NewLetter"));
        wrong_ = Property::AsBool(Property::Child(node, "WrongLetter"));
        popped_ = Property::AsBool(Property::Child(node, "LetterPopped"));
        movedByMouse_ = Property::AsBool(Property::Child(node, "MovedByMouse"));
        letter_ = CreateObjectOf<LetterData>(Property::Child(node, "letter"));
    }
    if (!letter_) {
        letter_ = new LetterData;
    }
    FinishConstruction();
}

LetterSprite::LetterSprite(LetterData* letter, bool isNew) : letter_(letter), new_(isNew) {
    if (!letter_) {
        letter_ = new LetterData;
    }
    FinishConstruction();
}

LetterSprite::~LetterSprite() = default;

void LetterSprite::FinishConstruction() {
    SetAnchorKind(kCenter);
    const int type = letter_->GetType();
    const Defines* defines = Defines::Instance();
    if (type > 0 && defines != nullptr) {
        const Property* id = Property::At(defines->GetVector("ID_TOOLTIP_COAL"), type);
        SetToolTip(LookUpText(Property::AsString(id)));
    }
}

void LetterSprite::Save(PropertyNode& node) const {
    node.SetBool("NewLetter", new_, true);
    node.SetBool("WrongLetter", wrong_, true);
    node.SetBool("LetterPopped", popped_, true);
    node.SetBool("MovedByMouse", movedByMouse_, true);
    auto* letter = new PropertyNode("letter", "LetterData");
    node.Add(letter);
    letter_->Save(*letter);
}

LetterSprite::Looks& LetterSprite::SharedLooks() {
    static Looks looks;
    return looks;
}

std::string LetterSprite::ImageName(int frame) {
    const bool small = frame >= kKindsPerSize;
    const int kind = frame % kKindsPerSize;
    if (kind < kNormalLooks) {
        return (small ? "COAL_SMALL" : "COAL_NORMAL") + std::to_string(kind + 1);
    }
    return "COAL" + std::to_string(kind - kNormalLooks + 1) + (small ? "_SMALL" : "");
}

void LetterSprite::LoadResources() {
    Looks& looks = SharedLooks();
    for (int i = 0; i < kFontCount; ++i) {
        looks.fonts[i] = ObjectCast<BitmapFont>(FindResourceData(kFontNames[i], kSection).Get());
    }
    for (int i = 0; i < kImageCount; ++i) {
        looks.images[i] = ObjectCast<Surface>(FindResourceData(ImageName(i), kSection).Get());
    }
}

void LetterSprite::ReleaseResources() { SharedLooks() = Looks(); }

LetterSprite::CoalFont LetterSprite::FontKind() const {
    if (letter_->IsSmall()) {
        return kFontSmall;
    }
    if (wrong_) {
        return kFontRed;
    }
    return new_ ? kFontNew : kFontNormal;
}

void LetterSprite::UpdateImage() {
    SetDirty(true);
    if (letter_->IsLeftOut()) {
        SetImage(nullptr);
        return;
    }
    const int frame = letter_->Frame();
    Surface* coal = frame >= 0 && frame < kImageCount ? SharedLooks().images[frame].Get() : nullptr;
    if (coal == nullptr) {
        SetImage(nullptr);
        return;
    }
    // A copy, so that the letter never lands on the shared picture.
    Ref<Surface> picture = new MemorySurface(coal->GetWidth(), coal->GetHeight());
    picture->SetUseAlphaChannel(true);
    Ref<Canvas> canvas = picture->CreateCanvas();
    canvas->CopyRect(*coal, 0, 0, 0, 0, coal->GetWidth(), coal->GetHeight());
    BitmapFont* font = SharedLooks().fonts[FontKind()].Get();
    if (!popped_ && letter_->GetType() != LetterData::kJoker && font != nullptr) {
        const uint8_t character = letter_->Char();
        if (character >= ' ') {
            const BitmapFont::Glyph& glyph = font->GetGlyph(character);
            DrawGlyph(*canvas, *font, character, (coal->GetWidth() - glyph.w + 1) / 2,
                      (coal->GetHeight() - glyph.h + 1) / 2);
        }
    }
    SetImage(picture.Get());
}

void LetterSprite::Update(int32_t elapsedMs) {
    Sprite::Update(elapsedMs);
    if (flash_ && GetCropRect() && GetWidth() > 0 && GetHeight() > 0) {
        const Rect& crop = *GetCropRect();
        flash_->SetCropSize(flash_->GetWidth() * crop.w / GetWidth(), flash_->GetHeight() * crop.h / GetHeight());
    }
    if (countdownMs_ <= 0) {
        return;
    }
    countdownMs_ -= elapsedMs;
    if (countdownMs_ <= 0 && letter_->GetType() == LetterData::kCoin) {
        TurnPlain();
    }
}

void LetterSprite::TurnPlain() {
    if (Surface* oldLook = GetImage()) {
        AddFadingOverlay(new Sprite(0, 0, oldLook), kPlainFadeMs);
    }
    letter_->SetType(LetterData::kNormal);
    UpdateImage();
    SetToolTip(L"");
}

void LetterSprite::AddFadingOverlay(Sprite* overlay, int32_t fadeMs) {
    overlay->SetAnchorKind(kCenter);
    AddChild(overlay);
    overlay->AddModifier(RemovingNodeAtEnd(new ModifierValue(255, 0, fadeMs)));
}

void LetterSprite::RestoreLook(bool blocking) {
    ClearModifiers();
    if (GetScale() < 1.0f) {
        AddModifier(BlockingIf(blocking, new ModifierRotateScale(0.0f, 0.0f, GetScale(), 1.0f, kLookChangeMs)));
    }
    if (GetAlpha() < 255) {
        AddModifier(BlockingIf(blocking, new ModifierValue(GetAlpha(), 255, kLookChangeMs)));
    }
}

void LetterSprite::Pop(int32_t delayMs) {
    ClearModifiers();
    AddModifier(Blocking(new ModifierWait(delayMs)));
    AddModifier(RemovingNodeAtEnd(new ModifierValue(GetAlpha(), 0, kPopFadeMs)));
}

void LetterSprite::Flash() {
    if (popped_ || letter_->GetType() == LetterData::kJoker) {
        return;
    }
    if (flash_) {
        flash_->ClearModifiers();
    } else {
        flash_ = MakeGlyphSprite(kFontRed);
        if (!flash_) {
            return;
        }
        flash_->SetAlpha(0);
        AddChild(flash_.Get());
    }
    flash_->AddModifier(Blocking(new ModifierValue(0, 255, kFlashInMs)));
    flash_->AddModifier(Blocking(new ModifierWait(kFlashHoldMs)));
    flash_->AddModifier(Blocking(new ModifierValue(255, 0, kFlashOutMs)));
    flash_->AddModifier(new ModifierCallback(
        [](uint32_t, GameNode* overlay) {
            overlay->SetRemoved(true);
            if (auto* coal = ObjectCast<LetterSprite>(overlay->GetParent())) {
                coal->flash_ = nullptr;
            }
        },
        0));
}

void LetterSprite::ClearNewFlag() {
    if (!new_) {
        return;
    }
    new_ = false;
    if (Ref<Sprite> fading = MakeGlyphSprite(kFontNew)) {
        AddFadingOverlay(fading.Get(), kNewFadeMs);
    }
    UpdateImage();
}

Ref<Sprite> LetterSprite::MakeGlyphSprite(CoalFont fontKind) const {
    const uint8_t character = letter_->Joker() != '?' ? letter_->Joker() : letter_->Char();
    return GlyphSprite(SharedLooks().fonts[fontKind].Get(), character);
}

Ref<Sprite> LetterSprite::GlyphSprite(BitmapFont* font, uint8_t character) {
    if (font == nullptr || character < ' ' || !font->HasGlyph(character)) {
        return nullptr;
    }
    const BitmapFont::Glyph& glyph = font->GetGlyph(character);
    Ref<Surface> picture = new MemorySurface(glyph.w, glyph.h);
    picture->SetUseAlphaChannel(true);
    Ref<Canvas> canvas = picture->CreateCanvas();
    DrawGlyph(*canvas, *font, character, 0, 0);
    Ref<Sprite> sprite = new Sprite(0, 0, picture.Get());
    sprite->SetAnchorKind(kCenter);
    return sprite;
}
