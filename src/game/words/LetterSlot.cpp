#include "game/words/LetterSlot.h"

#include <iterator>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Color.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/media/BitmapFont.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"

namespace {

const ClassRegistration registration("LetterSlot", CreateFromProperty<LetterSlot>);

constexpr uint32_t kColours[] = {0x555555, 0x00ff00, 0xffffff, 0xff0000, 0xff8888};
constexpr int32_t kColourCount = static_cast<int32_t>(std::size(kColours));
constexpr int32_t kImageCount = 3;
constexpr const char* kSection = "gamescene";
constexpr int32_t kEndWaitMs = 300;
constexpr int32_t kEndFadeMs = 1000;

int32_t BoundImageIndex(int32_t index) { return index >= 0 && index < kImageCount ? index : LetterSlot::kPlainSlot; }

int32_t BoundColourIndex(int32_t index) { return index >= 0 && index < kColourCount ? index : LetterSlot::kGrey; }

Ref<Surface> FindSurface(const char* id) { return ObjectCast<Surface>(FindResourceData(id, kSection).Get()); }

// The fill with the border over it, as one picture so that one alpha fades both.
Ref<Surface> ComposeEffect(Surface* fill, Surface* border) {
    const Surface* size = border != nullptr ? border : fill;
    if (size == nullptr) {
        return nullptr;
    }
    Ref<Surface> picture = new MemorySurface(size->GetWidth(), size->GetHeight());
    picture->SetUseAlphaChannel(true);
    Ref<Canvas> canvas = picture->CreateCanvas();
    if (fill != nullptr) {
        canvas->CopyRect(*fill, 0, 0, 0, 0, fill->GetWidth(), fill->GetHeight());
    }
    if (border != nullptr) {
        canvas->Blit(*border, 0, 0);
    }
    return picture;
}

}  // namespace

LetterSlot::LetterSlot(Property* node) : letterNode_(new Sprite) {
    AddChild(letterNode_.Get());
    if (node != nullptr) {
        letter_ = CreateObjectOf<LetterData>(Property::Child(node, "data"));
        imageIndex_ = BoundImageIndex(Property::AsInt(Property::Child(node, "img")));
        colourIndex_ = BoundColourIndex(Property::AsInt(Property::Child(node, "clr")));
    }
    if (!letter_) {
        letter_ = new LetterData;
    }
    PlaceSlotImage();
    Refresh();
}

LetterSlot::~LetterSlot() = default;

void LetterSlot::Save(PropertyNode& node) const {
    auto* data = new PropertyNode("data", "LetterData");
    node.Add(data);
    letter_->Save(*data);
    node.Add(PropertyValue::FromInteger("img", imageIndex_, true));
    node.Add(PropertyValue::FromInteger("clr", colourIndex_, true));
}

LetterSlot::Looks& LetterSlot::SharedLooks() {
    static Looks looks;
    return looks;
}

void LetterSlot::LoadResources() {
    Looks& looks = SharedLooks();
    looks.font = ObjectCast<CanvasFont>(FindResourceData("FONT_TEXT", kSection).Get());
    looks.slots[kPlainSlot] = FindSurface("QUEUE_SLOT");
    looks.slots[kNewSlot] = FindSurface("QUEUE_NEW_SLOT");
    looks.slots[kSelectedSlot] = FindSurface("QUEUE_SEL_SLOT");
    looks.borders[kArrival] = FindSurface("QUEUE_SLOT_BORDER1");
    looks.borders[kReveal] = FindSurface("QUEUE_SLOT_BORDER2");
    looks.fills[kArrival] = FindSurface("QUEUE_SLOT_FILL1");
    looks.fills[kReveal] = FindSurface("QUEUE_SLOT_FILL2");
}

void LetterSlot::ReleaseResources() { SharedLooks() = Looks(); }

int32_t LetterSlot::SlotWidth() {
    const Surface* slot = SharedLooks().slots[kPlainSlot].Get();
    return slot != nullptr ? slot->GetWidth() : 0;
}

int32_t LetterSlot::SlotHeight() {
    const Surface* slot = SharedLooks().slots[kPlainSlot].Get();
    return slot != nullptr ? slot->GetHeight() : 0;
}

uint32_t LetterSlot::ColourValue(int32_t index) { return kColours[BoundColourIndex(index)]; }

void LetterSlot::SetImageIndex(int32_t index) {
    imageIndex_ = BoundImageIndex(index);
    PlaceSlotImage();
}

void LetterSlot::SetColourIndex(int32_t index) { colourIndex_ = BoundColourIndex(index); }

void LetterSlot::PlaceSlotImage() {
    if (Surface* slot = SharedLooks().slots[imageIndex_].Get()) {
        SetImage(slot);
    }
}

void LetterSlot::Refresh() {
    PlaceSlotImage();
    SetDirty(true);
    if (letter_->IsHidden()) {
        letterNode_->SetVisible(false);
        return;
    }
    letterNode_->SetVisible(true);
    Surface* slot = SharedLooks().slots[imageIndex_].Get();
    if (slot == nullptr) {
        return;
    }
    Ref<Surface> picture = new MemorySurface(slot->GetWidth(), slot->GetHeight());
    picture->SetUseAlphaChannel(true);
    Ref<Canvas> canvas = picture->CreateCanvas();
    canvas->CopyRect(*slot, 0, 0, 0, 0, slot->GetWidth(), slot->GetHeight());
    const uint8_t c = letter_->Char();
    auto* font = ObjectCast<BitmapFont>(SharedLooks().font.Get());
    // A character below the space (a damaged save) has no glyph to draw.
    if (font != nullptr && c >= ' ') {
        const wchar_t character = static_cast<wchar_t>(c);
        // A single glyph is drawn at the side pad, whatever its own offset.
        const int32_t x = (slot->GetWidth() - font->GetGlyph(character).w) / 2 - font->GetSidePad();
        canvas->SetFont(font);
        canvas->SetColor(Color(ColourValue(colourIndex_)));
        canvas->DrawText(std::wstring(1, character), x, (slot->GetHeight() - font->GetLineHeight()) / 2);
    }
    letterNode_->SetImage(picture.Get());
    letterNode_->SetDirty(true);
}

void LetterSlot::DrawLook(Canvas& canvas, int32_t x, int32_t y) const {
    Surface* look = letterNode_->IsVisible() && letterNode_->GetImage() != nullptr
                              ? letterNode_->GetImage()
                              : SharedLooks().slots[imageIndex_].Get();
    if (look != nullptr) {
        canvas.CopyRect(*look, x, y, 0, 0, look->GetWidth(), look->GetHeight());
    }
}

GameNode* LetterSlot::StartEffect(Effect effect, const EffectTimes& times, Modifier* after) {
    EndEffect();
    const Looks& looks = SharedLooks();
    Ref<Surface> picture = ComposeEffect(looks.fills[effect].Get(), looks.borders[effect].Get());
    Ref<Sprite> node = picture ? new Sprite(0, 0, picture.Get()) : new Sprite(0, 0, 0, 0);
    node->SetAlpha(0);
    AddChild(node.Get());
    effect_ = node;
    if (after != nullptr) {
        node->AddModifier(Blocking(new ModifierWait(after)));
    }
    if (times.waitMs > 0) {
        node->AddModifier(Blocking(new ModifierWait(times.waitMs)));
    }
    // The effect node stands under its slot for as long as it runs.
    node->AddModifier(new ModifierCallback(
        [effect](uint32_t, GameNode* target) {
            if (auto* slot = ObjectCast<LetterSlot>(target != nullptr ? target->GetParent() : nullptr)) {
                if (effect == kReveal) {
                    slot->Letter().SetHidden(false);
                }
                slot->Refresh();
            }
        },
        0));
    node->AddModifier(
        new ModifierSound(effect == kReveal ? "SOUND_LETTER_REVEALED" : "SOUND_LETTER_ARRIVES", kSection, true));
    if (times.fadeInMs > 0) {
        node->AddModifier(Blocking(new ModifierValue(0, 255, times.fadeInMs)));
    } else {
        node->AddModifier(new ModifierValue(255, 255, 0));
    }
    if (times.holdMs > 0) {
        node->AddModifier(Blocking(new ModifierWait(times.holdMs)));
    }
    if (times.fadeOutMs > 0) {
        auto* fade = new ModifierValue(255, 0, times.fadeOutMs);
        fade->SetOptions(Modifier::kBlockFollowing | Modifier::kRemoveNodeAtEnd);
        node->AddModifier(fade);
    }
    return node.Get();
}

Ref<Modifier> LetterSlot::EndEffect() {
    if (!effect_) {
        return nullptr;
    }
    auto* effectSprite = ObjectCast<Sprite>(effect_.Get());
    const int32_t alpha = effectSprite != nullptr ? effectSprite->GetAlpha() : 255;
    effect_->AddModifier(Blocking(new ModifierWait(kEndWaitMs)));
    Ref<Modifier> fade = new ModifierValue(alpha, 0, kEndFadeMs);
    fade->SetOptions(Modifier::kBlockFollowing | Modifier::kRemoveNodeAtEnd);
    effect_->AddModifier(fade.Get());
    effect_ = nullptr;
    SetDirty(true);
    return fade;
}
