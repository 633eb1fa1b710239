#include "game/words/WordBarSlots.h"

#include <climits>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"
#include "engine/media/ChannelMap.h"
#include "engine/scene/ModifierCropSize.h"
#include "engine/scene/ModifierRotateScale.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "game/constants/GameConstants.h"
#include "game/words/WordList.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"

namespace {

const ClassRegistration registration("WordBarSlots", CreateFromProperty<WordBarSlots>);

constexpr const char* kAlphabet = "abcdefghijklmnopqrstuvwxyz";
constexpr int32_t kShrinkMs = 300;
constexpr int32_t kHintFadeMs = 200;
constexpr int32_t kSlotFadeMs = 500;
constexpr int32_t kRevealMs = 500;
constexpr int32_t kStaggerMs = 200;
constexpr int32_t kHintGrowMs = 300;
constexpr int32_t kCopyDropDelayMs = 200;
constexpr int32_t kCopyCropInset = 15;

// Opens a threshold sprite from nothing to its whole picture.
class ThresholdReveal : public Modifier {
public:
    explicit ThresholdReveal(int32_t durationMs) : clock_(durationMs) {}

    void Update(int32_t elapsedMs) override {
        auto* sprite = ObjectCast<ThresholdSprite>(GetTarget());
        if (sprite == nullptr || clock_.HasReachedEnd()) {
            if (sprite != nullptr) {
                sprite->SetThreshold(1.0f);
            }
            SetFinished();
            return;
        }
        sprite->SetThreshold(clock_.Progress());
        clock_.Advance(elapsedMs);
    }

private:
    TweenClock clock_;
};

// The alpha channel of a picture, one byte per pixel.
Ref<ChannelMap> AlphaOf(const Surface& picture) {
    Ref<ChannelMap> map = new ChannelMap(picture.GetWidth(), picture.GetHeight());
    uint8_t* bytes = map->GetBytes();
    for (int32_t y = 0; y < picture.GetHeight(); ++y) {
        for (int32_t x = 0; x < picture.GetWidth(); ++x) {
            *bytes++ = static_cast<uint8_t>(picture.Pixels32()[picture.PixelIndex(x, y)] >> 24);
        }
    }
    return map;
}

void FadeAway(GameNode& node, int32_t fadeMs) {
    auto* sprite = ObjectCast<Sprite>(&node);
    node.AddModifier(RemovingNodeAtEnd(new ModifierValue(sprite != nullptr ? sprite->GetAlpha() : 255, 0, fadeMs)));
}

// The capital a hint shows for a letter.
uint8_t HintCharacter(const LetterData& letter) {
    const uint8_t c = letter.Joker() != '?' ? letter.Joker() : letter.Char();
    return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c;
}

// The queue's current word; null when there is none.
WordSprite* CurrentQueueWord() {
    const WordBarScene* scene = WordBar::Hooks().scene;
    const WordQueue* queue = scene != nullptr ? scene->Queue() : nullptr;
    if (queue == nullptr) {
        return nullptr;
    }
    const int32_t index = queue->CurrentIndex();
    const auto& words = queue->Words();
    return index >= 0 && static_cast<size_t>(index) < words.size() ? words[static_cast<size_t>(index)].Get()
                                                                   : nullptr;
}

}  // namespace

WordBarSlots::WordBarSlots(Property* node) : WordBar(node), slotLayer_(new GameNode) {
    AddChild(slotLayer_.Get());
    slotLayer_->InsertBefore(&CoalLayer());
    LetterRack& supply = Rack(kSupplyRack);
    supply.SetHasSmallCoals(true);
    supply.SetRackSize(LetterRack::kSlotCount);
    for (int s = 0; s < LetterRack::kSlotCount; ++s) {
        if (supply.GetLetter(s) != nullptr) {
            return;
        }
    }
    const Ref<WordSprite> alphabet = new WordSprite;
    alphabet->SetWord(kAlphabet, false);
    WordBar::DealLetters(alphabet.Get(), 0, false);
}

WordBarSlots::~WordBarSlots() {
    WordBarSlots::RemoveAllLetters();
    for (const Ref<Sprite>& hint : hintLetters_) {
        hint->SetRemoved(true);
    }
    for (const Ref<ThresholdSprite>& slot : coalSlots_) {
        slot->SetRemoved(true);
    }
}

void WordBarSlots::Save(PropertyNode& node) const { SaveAs(node, "WordBarSlots"); }

void WordBarSlots::PickLetterAt(int32_t x, int32_t y) {
    source_ = FindLetterAt(x, y);
    if (!source_.IsValid()) {
        lastAction_ = kNoAction;
        return;
    }
    inHand_ = GetLetter(source_);
    if (source_.rack == kWordRack) {
        lastAction_ = kTakenAway;
        target_ = {};
        return;
    }
    target_ = {kWordRack, Rack(kWordRack).FindFreeSlot(INT_MIN)};
    lastAction_ = target_.slot >= 0 ? kCanMove : kNoRoom;
}

void WordBarSlots::PlayLetterSound() {
    if (lastAction_ == kTakenAway && source_.rack == kWordRack) {
        RemoveWordCoal(source_.slot, false);
    }
    WordBar::PlayLetterSound();
}

void WordBarSlots::RemoveWordCoal(int slot, bool flash) {
    LetterSprite* coal = GetLetter({kWordRack, slot});
    if (coal == nullptr) {
        return;
    }
    if (flash) {
        coal->Flash();
    }
    coal->AddModifier(
        RemovingNodeAtEnd(new ModifierCropSize(coal->GetWidth(), coal->GetHeight(), 0, 0, kShrinkMs)));
    Rack(kWordRack).SetLetter(slot, nullptr);
}

void WordBarSlots::RemoveAllLetters() {
    LetterRack& word = Rack(kWordRack);
    for (int s = 0; s < LetterRack::kSlotCount; ++s) {
        if (LetterSprite* coal = word.GetLetter(s)) {
            coal->SetRemoved(true);
            word.SetLetter(s, nullptr);
        }
    }
    inHand_ = nullptr;
}

void WordBarSlots::TakeBackLetters(bool lastOnly, bool flash) {
    const std::vector<int> slots = WordSlotsToTakeBack(lastOnly);
    for (const int s : slots) {
        RemoveWordCoal(s, flash);
    }
    if (lastOnly && !flash) {
        PlayGameSound(slots.empty() ? "SOUND_LETTER_TYPED_WRONG" : "SOUND_LETTER_CLICK_BACK");
    }
}

void WordBarSlots::PopLetters() {
    for (const Ref<ThresholdSprite>& slot : coalSlots_) {
        FadeAway(*slot, kSlotFadeMs);
    }
    for (const Ref<Sprite>& hint : hintLetters_) {
        FadeAway(*hint, kHintFadeMs);
    }
    coalSlots_.clear();
    hintLetters_.clear();
    WordBar::PopLetters();
}

Ref<ThresholdSprite> WordBarSlots::MakeCoalSlot() const {
    Ref<ThresholdSprite> slot = new ThresholdSprite;
    const Ref<Surface> picture = ObjectCast<Surface>(FindResourceData("COAL_SLOT", "gamescene").Get());
    const Ref<Surface> mask = ObjectCast<Surface>(FindResourceData("COAL_SLOT_MASK", "gamescene").Get());
    if (picture) {
        slot->SetPicture(picture.Get());
        if (mask && mask->GetWidth() == picture->GetWidth() && mask->GetHeight() == picture->GetHeight()) {
            slot->SetThresholdMap(AlphaOf(*mask).Get());
        }
    }
    slot->SetAnchorKind(kCenter);
    return slot;
}

void WordBarSlots::DealLetters(WordSprite* word, int, bool) {
    for (const Ref<Sprite>& hint : hintLetters_) {
        FadeAway(*hint, kHintFadeMs);
    }
    hintLetters_.clear();
    const int count = word != nullptr ? std::min(word->SlotCount(), LetterRack::kSlotCount) : 0;
    Rack(kWordRack).SetSize(count);
    for (size_t i = static_cast<size_t>(count); i < coalSlots_.size(); ++i) {
        FadeAway(*coalSlots_[i], kSlotFadeMs);
    }
    if (coalSlots_.size() > static_cast<size_t>(count)) {
        coalSlots_.resize(static_cast<size_t>(count));
    }
    int32_t slotDelay = 0;
    int32_t hintDelay = 0;
    BitmapFont* font = LetterSprite::SharedLooks().fonts[LetterSprite::kFontNormal].Get();
    for (int i = 0; i < count; ++i) {
        const PointF position = GetSlotPosition({kWordRack, i});
        const int32_t x = RoundToInt(position.x);
        const int32_t y = RoundToInt(position.y);
        if (static_cast<size_t>(i) >= coalSlots_.size()) {
            const Ref<ThresholdSprite> slot = MakeCoalSlot();
            slot->SetPosition(x, y);
            slotLayer_->AddChildFront(slot.Get());
            slot->AddModifier(Blocking(new ModifierWait(slotDelay)));
            slot->AddModifier(new ThresholdReveal(kRevealMs));
            slotDelay += kStaggerMs;
            coalSlots_.push_back(slot);
        }
        const LetterData& letter = word->Slots()[static_cast<size_t>(i)]->Letter();
        if (letter.IsLeftOut()) {
            continue;
        }
        const Ref<Sprite> hint = LetterSprite::GlyphSprite(font, HintCharacter(letter));
        if (!hint) {
            continue;
        }
        hint->SetPosition(x, y);
        hint->SetScale(0.0f);
        hint->AddModifier(Blocking(new ModifierWait(hintDelay)));
        hint->AddModifier(Blocking(new ModifierRotateScale(0.0f, 0.0f, 0.0f, 1.0f, kHintGrowMs)));
        slotLayer_->AddChild(hint.Get());
        hintDelay += kStaggerMs;
        hintLetters_.push_back(hint);
    }
}

void WordBarSlots::DropLetter(SlotRef source, SlotRef target, bool movedByMouse) {
    const Ref<LetterSprite> coal = GetLetter(source);
    if (!coal || !target.IsValid()) {
        return;
    }
    const Ref<Sprite> copy = new Sprite(0, 0, coal->GetImage());
    copy->SetAnchorKind(kCenter);
    const int32_t smallWidth = coal->GetWidth();
    const int32_t smallHeight = coal->GetHeight();

    // The alphabet keeps a record of its own, so the word coal stays full size when redrawn.
    const Ref<LetterData> alphabetLetter = coal->Letter().Clone();
    LetterData& letter = coal->Letter();
    letter.SetSmall(false);
    if (const WordSprite* word = CurrentQueueWord()) {
        if (target.slot < word->SlotCount()) {
            const LetterData& expected = word->Slots()[static_cast<size_t>(target.slot)]->Letter();
            if (!expected.IsLeftOut() &&
                WordList::FoldLetter(expected.Char()) != WordList::FoldLetter(letter.Char())) {
                coal->SetWrong(true);
            }
        }
    }
    coal->UpdateImage();
    MoveLetter(source, target, movedByMouse);
    AddLetter(source, alphabetLetter.Get(), true, false, kCopyDropDelayMs);
    ArrangeLetters(false);

    const int32_t width = coal->GetWidth();
    const int32_t height = coal->GetHeight();
    coal->SetAlpha(0);
    coal->AddModifier(new ModifierCropSize(smallWidth + 2, smallHeight + 2, width, height, COAL_MOVE_TIME));
    coal->AddModifier(new ModifierValue(0, 255, COAL_MOVE_TIME / 2));
    coal->AddChild(copy.Get());
    copy->AddModifier(new ModifierCropSize(smallWidth, smallHeight, std::max(width - kCopyCropInset, 0),
                                           std::max(height - kCopyCropInset, 0), COAL_MOVE_TIME));
    copy->AddModifier(Blocking(new ModifierWait(COAL_MOVE_TIME / 2)));
    copy->AddModifier(RemovingNodeAtEnd(new ModifierValue(255, 0, COAL_MOVE_TIME / 2)));
}
