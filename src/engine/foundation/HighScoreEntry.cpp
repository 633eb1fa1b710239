#include "engine/foundation/HighScoreEntry.h"

#include <utility>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

HighScoreEntry::HighScoreEntry(std::string playerName, int32_t score)
    : playerName_(std::move(playerName)), score_(score) {}

HighScoreEntry::HighScoreEntry(const Property* node)
    : playerName_(Property::AsString(Property::Child(node, "playername"))),
      score_(Property::AsInt(Property::Child(node, "scorevalue"))) {}

HighScoreEntry* HighScoreEntry::FromXml(const Property* node) {
    return new HighScoreEntry(node);
}

void HighScoreEntry::Write(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    if (&target == &Property::DummyNode()) {
        return;
    }
    target.SetTypeName("HighScoreEntry");
    target.Add(PropertyValue::FromInteger("scorevalue", score_, true));
    target.Add(PropertyValue::FromString("playername", playerName_, true));
}

bool HighScoreEntry::LessOrEqual(const HighScoreEntry& other) const {
    return score_ <= other.score_;
}

namespace {

const ClassRegistration registration("HighScoreEntry", [](Property* definition) -> Object* {
    return HighScoreEntry::FromXml(definition);
});

}  // namespace
