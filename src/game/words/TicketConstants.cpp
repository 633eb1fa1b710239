#include "game/words/TicketConstants.h"

#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyVector.h"

namespace ticket_constants {

int Int(const std::string& name) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetInt(name) : 0;
}

float Float(const std::string& name) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetFloat(name) : 0.0f;
}

const Property* List(const std::string& name) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetVector(name) : &Property::DummyVector();
}

const Property* ModeGroup(int gameType) {
    const Defines* defines = Defines::Instance();
    if (defines == nullptr) {
        return &Property::DummyNode();
    }
    return defines->GetNode(Property::AsString(Property::At(List("GAME_MODES"), gameType)));
}

int IntAt(const Property* list, int index) { return Property::AsInt(Property::At(list, index)); }

float FloatAt(const Property* list, int index) { return Property::AsFloat(Property::At(list, index)); }

}  // namespace ticket_constants
