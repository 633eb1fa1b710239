#pragma once

#include <string>

#include "engine/foundation/Object.h"

class PropertyValue;
class PropertyVector;
class PropertyNode;

// One entry of the typed property tree that carries all configuration and
// saved data. Lookups never fail: what is missing, or of another kind than
// the reader expects, reads as one of the shared defaults, whose conversions
// give 0, false or empty text and which ignore every write.
class Property : public Object {
    ENGINE_CLASS(Property, Object)

public:
    enum Kind { kAbstract = 0, kValue = 1, kNode = 2, kVector = 3 };

    Property(int kind, std::string typeName, std::string name);

    int GetKind() const { return kind_; }
    const std::string& TypeName() const { return typeName_; }
    const std::string& Name() const { return name_; }
    void SetTypeName(std::string typeName) { typeName_ = std::move(typeName); }
    void SetName(std::string name) { name_ = std::move(name); }

    // A value with an empty type name: a node's attribute, found by name only.
    bool IsUntypedValue() const { return kind_ == kValue && typeName_.empty(); }

    // The shared defaults, alive for the whole run.
    static Property& DummyAbstract();
    static PropertyValue& DummyValue();
    static PropertyNode& DummyNode();
    static PropertyVector& DummyVector();

    // The property itself when it has the expected kind, else the default.
    static const PropertyValue& ValueOf(const Property* property);
    static PropertyNode& NodeOf(Property* property);
    static PropertyVector& VectorOf(Property* property);

    // The child of that name, or null; a parent that is not a node has none.
    static Property* Child(const Property* node, const std::string& name);
    // The ordered child at a 0-based position, or null out of range.
    static Property* At(const Property* vector, int index);
    // The position of the value text of child `key` among `words`, or -1.
    static int FindChoice(const Property* node, const std::string& key, const char* const* words, int count);

    // Conversions of a value's text, read anew on every call.
    static int AsInt(const Property* value);
    static double AsDouble(const Property* value);
    static float AsFloat(const Property* value);
    static bool AsBool(const Property* value);
    static std::string AsString(const Property* value);
    static const std::wstring& AsText(const Property* value);

private:
    int kind_;
    std::string typeName_;
    std::string name_;
};
