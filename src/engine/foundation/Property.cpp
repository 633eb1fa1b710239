#include "engine/foundation/Property.h"

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/TextConversions.h"

Property::Property(int kind, std::string typeName, std::string name)
    : kind_(kind), typeName_(std::move(typeName)), name_(std::move(name)) {}

// The shared defaults hold one reference each until the program ends, so the
// references that readers take and drop never destroy them.
Property& Property::DummyAbstract() {
    static const Ref<Property> dummy(new Property(kAbstract, "", "DUMMY_ABSTRACT"));
    return *dummy;
}

PropertyValue& Property::DummyValue() {
    static const Ref<PropertyValue> dummy(new PropertyValue("DUMMY_VALUE", "", L""));
    return *dummy;
}

PropertyNode& Property::DummyNode() {
    static const Ref<PropertyNode> dummy(new PropertyNode("DUMMY_NODE", ""));
    return *dummy;
}

PropertyVector& Property::DummyVector() {
    static const Ref<PropertyVector> dummy(new PropertyVector("DUMMY_VECTOR"));
    return *dummy;
}

const PropertyValue& Property::ValueOf(const Property* property) {
    if (property != nullptr && property->kind_ == kValue) {
        return static_cast<const PropertyValue&>(*property);
    }
    return DummyValue();
}

PropertyNode& Property::NodeOf(Property* property) {
    if (property != nullptr && property->kind_ == kNode) {
        return static_cast<PropertyNode&>(*property);
    }
    return DummyNode();
}

PropertyVector& Property::VectorOf(Property* property) {
    if (property != nullptr && property->kind_ == kVector) {
        return static_cast<PropertyVector&>(*property);
    }
    return DummyVector();
}

Property* Property::Child(const Property* node, const std::string& name) {
    if (node == nullptr || node->kind_ != kNode) {
        return nullptr;
    }
    return static_cast<const PropertyNode*>(node)->Find(name);
}

Property* Property::At(const Property* vector, int index) {
    if (vector == nullptr || (vector->kind_ != kVector && vector->kind_ != kNode)) {
        return nullptr;
    }
    const auto& items = static_cast<const PropertyVector*>(vector)->Items();
    if (index < 0 || index >= static_cast<int>(items.size())) {
        return nullptr;
    }
    return items[index].Get();
}

int Property::FindChoice(const Property* node, const std::string& key, const char* const* words, int count) {
    const Property* child = Child(node, key);
    if (child == nullptr) {
        return -1;
    }
    const std::string text = AsString(child);
    for (int i = 0; i < count; ++i) {
        if (text == words[i]) {
            return i;
        }
    }
    return -1;
}

int Property::AsInt(const Property* value) {
    return ParseIntText(ValueOf(value).Text());
}

double Property::AsDouble(const Property* value) {
    return ParseDoubleText(ValueOf(value).Text());
}

float Property::AsFloat(const Property* value) {
    return ParseFloatText(ValueOf(value).Text());
}

bool Property::AsBool(const Property* value) {
    const std::wstring& text = ValueOf(value).Text();
    return !text.empty() && text != L"false";
}

std::string Property::AsString(const Property* value) {
    return WideToNarrow(ValueOf(value).Text());
}

const std::wstring& Property::AsText(const Property* value) {
    return ValueOf(value).Text();
}
