#include "game/words/LetterRack.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "game/constants/GameConstants.h"

namespace {

const ClassRegistration registration("LetterRack", CreateFromProperty<LetterRack>);

// Full racks up to 6 coals share the first spacing; longer ones close up.
constexpr int kPlainRackSlots = 6;

LetterRack::RandomSource& ShuffleSource() {
    static LetterRack::RandomSource source = [] { return std::rand(); };
    return source;
}

int WordBarSpacing(int rackSize) {
    const Defines* defines = Defines::Instance();
    if (defines == nullptr) {
        return 0;
    }
    return Property::AsInt(Property::At(defines->GetVector("WORDBAR_COAL_SPACING"), std::max(rackSize - kPlainRackSlots, 0)));
}

// A rack never has more slots than it holds nor fewer than none; a saved
// number outside that is damage.
int ReadSlotCount(const Property* node, const char* key) {
    const int32_t read = Property::AsInt(Property::Child(node, key));
    const int held = std::clamp(read, 0, LetterRack::kSlotCount);
    if (held != read) {
        ENGINE_LOG(2, "letter rack \"%s\" of %d read as %d: a rack has 0 to %d slots", key, read, held,
                   LetterRack::kSlotCount);
    }
    return held;
}

}  // namespace

LetterRack::LetterRack(Property* node) {
    if (node == nullptr) {
        return;
    }
    size_ = ReadSlotCount(node, "size");
    rackSize_ = ReadSlotCount(node, "RackSize");
    compact_ = Property::AsBool(Property::Child(node, "Compact"));
    centerLetters_ = Property::AsBool(Property::Child(node, "CenterLetters"));
    closestToX_ = Property::AsBool(Property::Child(node, "ClosestToX"));
    hasSmallCoals_ = Property::AsBool(Property::Child(node, "HasSmallCoals"));
    const Property* letters = Property::Child(node, "letters");
    for (int i = 0; Property* entry = Property::At(letters, i); ++i) {
        const int slot = Property::AsInt(Property::Child(entry, "idx"));
        if (slot < 0 || slot >= kSlotCount) {
            ENGINE_LOG(2, "saved coal for rack slot %d skipped: the rack has slots 0 to %d", slot, kSlotCount - 1);
            continue;
        }
        const Ref<Object> created = ClassFactory::Instance().Create(entry);
        if (auto* letter = ObjectCast<LetterSprite>(created.Get())) {
            slots_[slot] = letter;
        }
    }
}

LetterRack::~LetterRack() = default;

void LetterRack::Save(PropertyNode& node) const {
    node.Add(PropertyValue::FromInteger("size", size_, true));
    node.Add(PropertyValue::FromInteger("RackSize", rackSize_, true));
    node.SetBool("Compact", compact_, true);
    node.SetBool("CenterLetters", centerLetters_, true);
    node.SetBool("ClosestToX", closestToX_, true);
    node.SetBool("HasSmallCoals", hasSmallCoals_, true);
    auto* letters = new PropertyVector("letters");
    node.Add(letters);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!slots_[slot]) {
            continue;
        }
        auto* entry = new PropertyNode("", "LetterSprite");
        letters->Add(entry);
        entry->Add(PropertyValue::FromInteger("idx", slot, true));
        slots_[slot]->Save(*entry);
    }
}

int LetterRack::UsedSlots() const { return std::clamp(rackSize_, 0, kSlotCount); }

LetterSprite* LetterRack::GetLetter(int slot) const {
    return slot >= 0 && slot < kSlotCount ? slots_[slot].Get() : nullptr;
}

void LetterRack::SetLetter(int slot, LetterSprite* letter) {
    if (slot >= 0 && slot < kSlotCount) {
        slots_[slot] = letter;
    }
}

int LetterRack::OccupiedCount() const {
    return static_cast<int>(std::count_if(slots_.begin(), slots_.begin() + UsedSlots(),
                                          [](const Ref<LetterSprite>& letter) { return static_cast<bool>(letter); }));
}

int LetterRack::GetSlotX(int slot) const {
    int spacing = WordBarSpacing(rackSize_);
    int offset = 0;
    int index = slot;
    int count = rackSize_;
    if (hasSmallCoals_) {
        spacing = SLOTS_COAL_X_SPACING;
        offset = SLOTS_COAL_X_OFFSET;
        index = slot % kSmallCoalsPerRow;
        count = kSmallCoalsPerRow;
    }
    if (centerLetters_) {
        count = OccupiedCount();
    }
    // The halving truncates towards zero, as the layout always has.
    return spacing * index - ((count - 1) * spacing) / 2 + offset;
}

int LetterRack::FindFreeSlot(int x) const {
    const int steps = std::clamp(size_, 0, kSlotCount);
    if (!closestToX_) {
        for (int slot = 0; slot < steps; ++slot) {
            if (IsFree(slot)) {
                return slot;
            }
        }
        return -1;
    }
    const int used = UsedSlots();
    if (used == 0) {
        return -1;
    }
    int nearest = 0;
    int64_t nearestDistance = INT64_MAX;
    for (int slot = 0; slot < used; ++slot) {
        const int64_t distance = std::llabs(int64_t{GetSlotX(slot)} - x);
        if (distance < nearestDistance) {
            nearest = slot;
            nearestDistance = distance;
        }
    }
    for (int k = 0; k < steps; ++k) {
        if (nearest - k >= 0 && IsFree(nearest - k)) {
            return nearest - k;
        }
        if (nearest + k < used && IsFree(nearest + k)) {
            return nearest + k;
        }
    }
    return -1;
}

void LetterRack::Compact() {
    if (!compact_) {
        return;
    }
    const int used = UsedSlots();
    for (int slot = 0; slot < used; ++slot) {
        if (!IsFree(slot)) {
            continue;
        }
        for (int next = slot + 1; next < used; ++next) {
            if (!IsFree(next)) {
                slots_[slot] = std::move(slots_[next]);
                slots_[next] = nullptr;
                break;
            }
        }
    }
}

void LetterRack::GetWord(std::string& out, bool resolveJokers) const {
    const int used = UsedSlots();
    for (int slot = 0; slot < used; ++slot) {
        if (const LetterSprite* coal = slots_[slot].Get()) {
            const LetterData& letter = coal->Letter();
            const bool joker = resolveJokers && letter.GetType() == LetterData::kJoker;
            out += static_cast<char>(joker ? letter.Joker() : letter.Char());
        }
    }
}

void LetterRack::Shuffle() {
    const int used = UsedSlots();
    std::vector<Ref<LetterSprite>> shuffled(slots_.begin(), slots_.begin() + used);
    for (int i = 1; i < used; ++i) {
        const int j = static_cast<int>(static_cast<unsigned>(ShuffleSource()()) % static_cast<unsigned>(i + 1));
        std::swap(shuffled[i], shuffled[j]);
    }
    auto next = shuffled.begin();
    for (int slot = 0; slot < used; ++slot) {
        if (IsFree(slot)) {
            continue;
        }
        while (!*next) {
            ++next;
        }
        slots_[slot] = *next++;
    }
}

void LetterRack::SetRandomSource(RandomSource source) {
    ShuffleSource() = source ? std::move(source) : RandomSource([] { return std::rand(); });
}
