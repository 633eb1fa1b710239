#include "engine/foundation/PropertyVector.h"

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

PropertyVector::PropertyVector(std::string name) : PropertyVector(kVector, "Vector", std::move(name)) {}

PropertyVector::PropertyVector(int kind, std::string typeName, std::string name)
    : Property(kind, std::move(typeName), std::move(name)) {}

Property* PropertyVector::Add(Property* child) {
    if (IsSharedDefault() || child == nullptr) {
        return Discard(child);
    }
    items_.emplace_back(child);
    return child;
}

void PropertyVector::PushBool(bool value) {
    Add(PropertyValue::FromBool("", value, false));
}

bool PropertyVector::IsSharedDefault() const {
    return this == &DummyVector() || this == &DummyNode();
}

Property* PropertyVector::Discard(Property* child) {
    // A child nobody holds yet would leak; one held elsewhere stays alive.
    Ref<Property> dropped(child);
    return nullptr;
}
