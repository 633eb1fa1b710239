#include "game/progress/KR2Score.h"

#include <utility>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

KR2Score::KR2Score(std::string playerName, int32_t score, int32_t level)
    : HighScoreEntry(std::move(playerName), score), level_(level) {}

KR2Score::KR2Score(const Property* node)
    : HighScoreEntry(node), level_(Property::AsInt(Property::Child(node, "level"))) {}

KR2Score* KR2Score::FromXml(const Property* node) {
    return new KR2Score(node);
}

void KR2Score::Write(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    if (&target == &Property::DummyNode()) {
        return;
    }
    HighScoreEntry::Write(node);
    target.SetTypeName("KR2Score");
    target.Add(PropertyValue::FromInteger("level", level_, true));
}

namespace {

const ClassRegistration registration("KR2Score", [](Property* definition) -> Object* {
    return KR2Score::FromXml(definition);
});

}  // namespace
