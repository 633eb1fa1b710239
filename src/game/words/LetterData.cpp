#include "game/words/LetterData.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RandomGenerator.h"

namespace {

const ClassRegistration registration("LetterData", CreateFromProperty<LetterData>);

constexpr int kVariants = 3;

}  // namespace

LetterData::LetterData(Property* definition) {
    if (definition != nullptr) {
        char_ = static_cast<uint8_t>(Property::AsInt(Property::Child(definition, "char")));
        joker_ = static_cast<uint8_t>(Property::AsInt(Property::Child(definition, "joker")));
        type_ = Property::AsInt(Property::Child(definition, "type"));
        if (type_ < kNormal || type_ > kJoker) {
            type_ = kNormal;  // a damaged save must not pick a coal picture that does not exist
        }
        leftOut_ = Property::AsBool(Property::Child(definition, "leftout"));
        hidden_ = Property::AsBool(Property::Child(definition, "hidden"));
        small_ = Property::AsBool(Property::Child(definition, "small"));
    }
    if (RandomGenerator* generator = RandomGenerator::Global()) {
        variant_ = static_cast<int>(generator->Next() % kVariants);
    }
    frame_ = FrameFor(type_, small_);
}

void LetterData::Save(PropertyNode& node) const {
    node.Add(PropertyValue::FromInteger("char", char_, true));
    node.Add(PropertyValue::FromInteger("joker", joker_, true));
    node.Add(PropertyValue::FromInteger("type", type_, true));
    node.SetBool("leftout", leftOut_, true);
    node.SetBool("hidden", hidden_, true);
    node.SetBool("small", small_, true);
}

int LetterData::FrameFor(int type, bool small) { return (type == kNormal ? 0 : type + 2) + (small ? 10 : 0); }

void LetterData::SetType(int type) {
    type_ = type;
    frame_ = FrameFor(type_, small_);
}

void LetterData::SetSmall(bool small) {
    small_ = small;
    frame_ = FrameFor(type_, small_);
}
