#include "game/words/WordSprite.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "game/words/ModifierWordArrival.h"
#include "game/words/TicketConstants.h"
#include "game/words/WordList.h"

namespace {

const ClassRegistration registration("WordSprite", CreateFromProperty<WordSprite>);

constexpr int32_t kArrivalFadeMs = 400;
constexpr int32_t kMissedFadeMs = 200;
constexpr int32_t kRevealFadeInMs = 100;
constexpr int32_t kRevealLongestHoldMs = 1000;
constexpr int32_t kRevealFadeOutMs = 300;

// A byte as the queue compares it: its folded letter, or itself when it is no letter.
char FoldOrKeep(char c) {
    const uint8_t folded = WordList::FoldLetter(static_cast<uint8_t>(c));
    return folded == LetterNode::kNoLetter ? c : static_cast<char>(folded);
}

}  // namespace

WordSprite::WordSprite(Property* node) : content_(new GameNode) {
    AddChild(content_.Get());
    content_->SetVisible(false);
    if (node == nullptr) {
        return;
    }
    status_ = Property::AsInt(Property::Child(node, "status"));
    shownText_ = Property::AsString(Property::Child(node, "str"));
    plainText_ = Property::AsString(Property::Child(node, "plain"));
    custom_ = Property::AsBool(Property::Child(node, "custom"));
    missed_ = Property::AsBool(Property::Child(node, "missed"));
    visual_ = Property::AsBool(Property::Child(node, "visual"));
    const Property* letters = Property::Child(node, "letters");
    for (int i = 0; Property* entry = Property::At(letters, i); ++i) {
        if (const Ref<LetterSlot> slot = CreateObjectOf<LetterSlot>(entry)) {
            AppendSlot(slot.Get());
        } else {
            ENGINE_LOG(2, "word \"%s\": stored letter %d is no letter slot; skipped", plainText_.c_str(), i);
        }
    }
    LayOutSlots();
    RefreshLook();
}

WordSprite::~WordSprite() = default;

void WordSprite::Save(PropertyNode& node) const {
    node.Add(PropertyValue::FromInteger("status", status_, true));
    node.Add(PropertyValue::FromString("str", shownText_, true));
    node.Add(PropertyValue::FromString("plain", plainText_, true));
    node.SetBool("custom", custom_, true);
    node.SetBool("missed", missed_, true);
    node.SetBool("visual", visual_, true);
    auto* letters = new PropertyVector("letters");
    node.Add(letters);
    for (const Ref<LetterSlot>& slot : slots_) {
        auto* entry = new PropertyNode("", "LetterSlot");
        letters->Add(entry);
        slot->Save(*entry);
    }
}

void WordSprite::ClearSlots() {
    for (const Ref<LetterSlot>& slot : slots_) {
        if (slot->GetParent() == content_.Get()) {
            slot->RemoveFromParent();
        }
    }
    slots_.clear();
}

void WordSprite::AppendSlot(LetterSlot* slot) {
    slots_.emplace_back(slot);
    content_->AddChild(slot);
}

void WordSprite::SetWord(const std::string& text, bool visual) {
    status_ = kToFind;
    custom_ = false;
    missed_ = false;
    visual_ = visual;
    ClearSlots();
    for (char c : text) {
        auto* slot = new LetterSlot;
        slot->Letter().SetLeftOut(c == '?');
        AppendSlot(slot);
    }
    shownText_ = text;
    RebuildFromShownText();
    LayOutSlots();
    RefreshLook();
}

void WordSprite::SetShownText(const std::string& text) {
    shownText_ = text;
    RebuildFromShownText();
}

void WordSprite::FoldShownText() {
    std::transform(shownText_.begin(), shownText_.end(), shownText_.begin(), FoldOrKeep);
    RebuildFromShownText();
}

void WordSprite::RebuildFromShownText() {
    plainText_.clear();
    for (size_t i = 0; i < slots_.size(); ++i) {
        const char c = i < shownText_.size() ? shownText_[i] : '\0';
        slots_[i]->Letter().SetChar(static_cast<uint8_t>(c));
        plainText_ += FoldOrKeep(c);
    }
    RebuildImage();
}

void WordSprite::LayOutSlots() {
    if (!visual_) {
        return;
    }
    const int32_t step = LetterSlot::SlotWidth() + ticket_constants::Int("QUEUE_LETTER_SPACING_X");
    for (size_t i = 0; i < slots_.size(); ++i) {
        slots_[i]->SetPosition(static_cast<int32_t>(i) * step, 0);
    }
}

bool WordSprite::Matches(const std::string& text, bool skipLeftOut) const {
    if (text.size() != slots_.size()) {
        return false;
    }
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (text[i] == '?') {
            return false;
        }
        const LetterData& letter = slots_[i]->Letter();
        if (skipLeftOut && letter.IsLeftOut()) {
            continue;
        }
        if (WordList::FoldLetter(static_cast<uint8_t>(text[i])) != WordList::FoldLetter(letter.Char())) {
            return false;
        }
    }
    return true;
}

int32_t WordSprite::GetScoreMultiplier() const {
    int32_t multiplier = 1;
    for (const Ref<LetterSlot>& slot : slots_) {
        const int type = slot->Letter().GetType();
        multiplier *= type == LetterData::kDouble ? 2 : type == LetterData::kTriple ? 3 : 1;
    }
    return multiplier;
}

bool WordSprite::CanRevealLetter() const {
    if (status_ == kFound) {
        return false;
    }
    const auto hidden = std::count_if(slots_.begin(), slots_.end(),
                                      [](const Ref<LetterSlot>& slot) { return slot->Letter().IsHidden(); });
    return hidden >= 2;
}

void WordSprite::SetSlotImages(int32_t imageIndex) {
    for (const Ref<LetterSlot>& slot : slots_) {
        slot->SetImageIndex(imageIndex);
        slot->Refresh();
    }
    RebuildImage();
}

void WordSprite::SetFound() {
    status_ = kFound;
    for (const Ref<LetterSlot>& slot : slots_) {
        slot->Letter().SetHidden(false);
        slot->SetColourIndex(LetterSlot::kGreen);
    }
    RefreshLook();
}

void WordSprite::RefreshLook() {
    for (const Ref<LetterSlot>& slot : slots_) {
        slot->Refresh();
    }
    RebuildImage();
}

bool WordSprite::IsAnimating() const {
    return std::any_of(slots_.begin(), slots_.end(), [](const Ref<LetterSlot>& slot) { return slot->IsSelected(); });
}

void WordSprite::RebuildImage() {
    if (!visual_ || IsAnimating()) {
        return;
    }
    content_->SetVisible(false);
    const int32_t spacing = ticket_constants::Int("QUEUE_LETTER_SPACING_X");
    const int32_t count = SlotCount();
    const int32_t width = count * (LetterSlot::SlotWidth() + spacing) - spacing;
    const int32_t height = LetterSlot::SlotHeight();
    if (count == 0 || width <= 0 || height <= 0) {
        SetImage(nullptr);
        return;
    }
    Ref<Surface> picture = new MemorySurface(width, height);
    picture->SetUseAlphaChannel(true);
    Ref<Canvas> canvas = picture->CreateCanvas();
    for (const Ref<LetterSlot>& slot : slots_) {
        slot->DrawLook(*canvas, slot->GetX(), slot->GetY());
    }
    SetImage(picture.Get());
    SetDirty(true);
}

void WordSprite::StartWholeWordAnimation(GameNode* awaitedEffect) {
    for (const Ref<LetterSlot>& slot : slots_) {
        slot->SetSelected(true);
    }
    content_->SetVisible(true);
    SetImage(nullptr);
    if (awaitedEffect != nullptr) {
        AddModifier(Blocking(new ModifierWait(awaitedEffect)));
    }
    AddModifier(new ModifierCallback(
        [](uint32_t, GameNode* target) {
            if (auto* word = ObjectCast<WordSprite>(target)) {
                word->EndWholeWordAnimation();
            }
        },
        0));
}

void WordSprite::EndWholeWordAnimation() {
    for (const Ref<LetterSlot>& slot : slots_) {
        slot->SetSelected(false);
    }
    content_->SetVisible(false);
    RebuildImage();
}

Modifier* WordSprite::AttachArrival() {
    if (slots_.empty()) {
        return nullptr;
    }
    Modifier* arrival = slots_.front()->AddModifier(new ModifierWordArrival);
    arrival->SetOptions(Modifier::kBlockFollowing);
    return arrival;
}

void WordSprite::ShowArrival() {
    Modifier* arrival = AttachArrival();
    if (arrival == nullptr) {
        return;
    }
    for (const Ref<LetterSlot>& slot : slots_) {
        slot->StartEffect(LetterSlot::kArrival, {0, kArrivalFadeMs, 0, 0}, arrival);
    }
    StartWholeWordAnimation(slots_.front()->EffectNode());
}

void WordSprite::ShowFoundAgain() {
    if (slots_.empty() || IsAnimating()) {
        return;
    }
    SetFound();
    ShowArrival();
}

void WordSprite::ShowMissed() {
    for (const Ref<LetterSlot>& slot : slots_) {
        slot->Letter().SetHidden(false);
        slot->SetColourIndex(LetterSlot::kLightRed);
        slot->Refresh();
        slot->SetAlpha(0);
        slot->AddModifier(new ModifierValue(0, 255, kMissedFadeMs));
    }
    if (!slots_.empty()) {
        StartWholeWordAnimation(slots_.front().Get());
    }
}

void WordSprite::RevealLetter(int32_t slotIndex, int32_t waitMs, int32_t holdMs) {
    if (slotIndex < 0 || slotIndex >= SlotCount()) {
        return;
    }
    Modifier* arrival = AttachArrival();
    LetterSlot& slot = *slots_[static_cast<size_t>(slotIndex)];
    GameNode* effect = slot.StartEffect(
        LetterSlot::kReveal,
        {std::max(waitMs, 0), kRevealFadeInMs, std::clamp(holdMs, 0, kRevealLongestHoldMs), kRevealFadeOutMs}, arrival);
    StartWholeWordAnimation(effect);
}

void WordSprite::EndSubmission() {
    if (slots_.empty()) {
        return;
    }
    LetterSlot& first = *slots_.front();
    for (const Ref<LetterSlot>& slot : slots_) {
        if (const Ref<Modifier> fade = slot->EndEffect()) {
            first.AddModifier(Blocking(new ModifierWait(fade.Get())));
        }
    }
    first.AddModifier(new ModifierCallback(
        [](uint32_t, GameNode* target) {
            // Slot -> content node -> word.
            GameNode* content = target != nullptr ? target->GetParent() : nullptr;
            if (auto* word = ObjectCast<WordSprite>(content != nullptr ? content->GetParent() : nullptr)) {
                word->EndWholeWordAnimation();
            }
        },
        0));
}
