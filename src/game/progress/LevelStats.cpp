#include "game/progress/LevelStats.h"

#include <algorithm>
#include <limits>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

namespace {

using Counter = int32_t LevelStats::*;

struct Key {
    const char* name;
    Counter counter;
};

// The order in which the counters are written and read.
constexpr Key kKeys[] = {
    {"playtime", &LevelStats::playtime},
    {"score", &LevelStats::score},
    {"tracksBought", &LevelStats::tracksBought},
    {"numWordsFound", &LevelStats::numWordsFound},
    {"numWordsInserted", &LevelStats::numWordsInserted},
    {"numWordsInQueue", &LevelStats::numWordsInQueue},
    {"coalsUsed", &LevelStats::coalsUsed},
    {"moneyEarned", &LevelStats::moneyEarned},
    {"numShuffle", &LevelStats::numShuffle},
    {"numSkip", &LevelStats::numSkip},
    {"numHelp", &LevelStats::numHelp},
    {"gamesCounter", &LevelStats::gamesCounter},
};

// What Add sums up: every counter but the score and gamesCounter.
constexpr Counter kAdded[] = {
    &LevelStats::tracksBought, &LevelStats::numWordsFound, &LevelStats::numWordsInserted,
    &LevelStats::numWordsInQueue, &LevelStats::coalsUsed, &LevelStats::moneyEarned,
    &LevelStats::playtime, &LevelStats::numShuffle, &LevelStats::numSkip, &LevelStats::numHelp,
};

}  // namespace

int32_t SaturatingAdd(int32_t total, int32_t value) {
    const int64_t sum = int64_t{total} + value;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void LevelStats::Read(const Property* property) {
    for (const Key& key : kKeys) {
        this->*key.counter = Property::AsInt(Property::Child(property, key.name));
    }
}

void LevelStats::Write(Property* property) const {
    PropertyNode& node = Property::NodeOf(property);
    for (const Key& key : kKeys) {
        node.Add(PropertyValue::FromInteger(key.name, this->*key.counter, true));
    }
}

void LevelStats::Reset() {
    for (Counter counter : kAdded) {
        this->*counter = 0;
    }
    gamesCounter = 0;
}

void LevelStats::Add(const LevelStats& other) {
    MergeScore(other.score);
    for (Counter counter : kAdded) {
        this->*counter = SaturatingAdd(this->*counter, other.*counter);
    }
}

void LevelStats::MergeScore(int32_t value) {
    score = value;
}
