#include "game/words/WordBarClassic.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/media/Canvas.h"

namespace {

const ClassRegistration registration("WordBarClassic", CreateFromProperty<WordBarClassic>);

// Any x left of every slot finds a closest-to-x rack's leftmost free slot.
constexpr int kLeftOfEverySlot = -9999;

}  // namespace

WordBarClassic::WordBarClassic(Property* node) : WordBar(node) {
    Rack(kWordRack).SetCompact(true);
    Rack(kWordRack).SetCenterLetters(true);
    Rack(kSupplyRack).SetClosestToX(true);
    for (int s = 0; s < LetterRack::kSlotCount; ++s) {
        if (LetterSprite* coal = Rack(kWordRack).GetLetter(s)) {
            const PointF slot = GetSlotPosition({kWordRack, s});
            coal->ClearModifiers();
            coal->SetScale(1.0f);
            coal->SetPosition(RoundToInt(slot.x), RoundToInt(slot.y));
            coal->SetHome(static_cast<float>(RoundToInt(slot.x)), static_cast<float>(RoundToInt(slot.y)));
        }
    }
}

void WordBarClassic::Save(PropertyNode& node) const { SaveAs(node, "WordBarClassic"); }

void WordBarClassic::PickLetterAt(int32_t x, int32_t y) {
    source_ = FindLetterAt(x, y);
    if (!source_.IsValid()) {
        lastAction_ = kNoAction;
        return;
    }
    inHand_ = GetLetter(source_);
    const int otherRack = source_.rack == kSupplyRack ? kWordRack : kSupplyRack;
    target_ = {otherRack, Rack(otherRack).FindFreeSlot(inHand_->GetX())};
    lastAction_ = target_.slot >= 0 ? kCanMove : kNoRoom;
}

void WordBarClassic::DropLetter(SlotRef source, SlotRef target, bool movedByMouse) {
    MoveLetter(source, target, movedByMouse);
    Rack(kWordRack).Compact();
    ArrangeLetters(false);
}

void WordBarClassic::TakeBackLetters(bool lastOnly, bool flash) {
    const std::vector<int> slots = WordSlotsToTakeBack(lastOnly);
    for (const int s : slots) {
        LetterSprite* coal = GetLetter({kWordRack, s});
        const int x = lastOnly ? coal->GetX() : kLeftOfEverySlot;
        const int free = Rack(kSupplyRack).FindFreeSlot(x);
        if (free < 0) {
            continue;
        }
        if (flash) {
            coal->Flash();
        }
        MoveLetter({kWordRack, s}, {kSupplyRack, free}, false);
    }
    if (lastOnly && !flash) {
        PlayGameSound(slots.empty() ? "SOUND_LETTER_TYPED_WRONG" : "SOUND_LETTER_CLICK_BACK");
    }
    Rack(kWordRack).Compact();
    ArrangeLetters(false);
}
