#include "game/rules/ScoreRule.h"

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

void ScoreRule::Read(const Property* node) {
    Score = Property::AsInt(Property::Child(node, "Score"));
    Bonus = Property::AsInt(Property::Child(node, "Bonus"));
    Multiplier = Property::AsInt(Property::Child(node, "Multiplier"));
    WordLength = Property::AsInt(Property::Child(node, "WordLength"));
}

void ScoreRule::Write(PropertyNode& node) const {
    node.Add(PropertyValue::FromInteger("Score", Score, false));
    node.Add(PropertyValue::FromInteger("Bonus", Bonus, false));
    node.Add(PropertyValue::FromInteger("Multiplier", Multiplier, false));
    node.Add(PropertyValue::FromInteger("WordLength", WordLength, false));
}
