#include "game/progress/PlayerStats.h"

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

namespace {

template <size_t N>
void WriteCounters(PropertyNode& node, const char* key, const std::array<int32_t, N>& counters) {
    Ref<PropertyVector> vector = new PropertyVector(key);
    for (const int32_t counter : counters) {
        vector->Add(PropertyValue::FromInteger("", counter, false));
    }
    node.Add(vector.Get());
}

// The vector's entries in order; entries past the array are ignored, and
// counters past a short vector keep their values.
template <size_t N>
void ReadCounters(const Property* node, const char* key, std::array<int32_t, N>& counters) {
    const Property* vector = Property::Child(node, key);
    if (vector == nullptr || vector->GetKind() != Property::kVector) {
        return;
    }
    for (size_t index = 0; index < N; ++index) {
        const Property* entry = Property::At(vector, static_cast<int>(index));
        if (entry == nullptr) {
            return;
        }
        counters[index] = Property::AsInt(entry);
    }
}

}  // namespace

void PlayerStats::Read(const Property* property) {
    LevelStats::Read(property);
    moneySpent = Property::AsInt(Property::Child(property, "moneySpent"));
    ReadCounters(property, "playcount", playcount);
    ReadCounters(property, "MissionsWon", missionsWon);
}

void PlayerStats::Write(Property* property) const {
    LevelStats::Write(property);
    PropertyNode& node = Property::NodeOf(property);
    node.Add(PropertyValue::FromInteger("moneySpent", moneySpent, true));
    WriteCounters(node, "playcount", playcount);
    WriteCounters(node, "MissionsWon", missionsWon);
}

void PlayerStats::Reset() {
    LevelStats::Reset();
    moneySpent = 0;
    missionsLost = 0;
    missionsWon.fill(0);
    playcount.fill(0);
}

void PlayerStats::MergeScore(int32_t value) {
    score = SaturatingAdd(score, value);
}
