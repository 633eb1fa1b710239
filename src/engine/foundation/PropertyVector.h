#pragma once

#include <string>
#include <vector>

#include "engine/foundation/Property.h"
#include "engine/foundation/Ref.h"

// An ordered list of properties.
class PropertyVector : public Property {
    ENGINE_CLASS(PropertyVector, Property)

public:
    explicit PropertyVector(std::string name);

    // Appends the child and takes a reference to it. On the shared default
    // nothing is added, the child is released and the result is null.
    virtual Property* Add(Property* child);
    // Adds an unnamed Boolean value.
    void PushBool(bool value);

    int Count() const { return static_cast<int>(items_.size()); }
    const std::vector<Ref<Property>>& Items() const { return items_; }

protected:
    PropertyVector(int kind, std::string typeName, std::string name);

    // Whether this is one of the shared defaults that ignore every change.
    bool IsSharedDefault() const;
    static Property* Discard(Property* child);

    std::vector<Ref<Property>> items_;
};
