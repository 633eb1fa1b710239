#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/foundation/PropertyVector.h"

// A vector whose children are also found by name. A name occurs once among
// the children; untyped values (attributes) are in the name index only.
class PropertyNode : public PropertyVector {
    ENGINE_CLASS(PropertyNode, PropertyVector)

public:
    PropertyNode(std::string name, std::string typeName);

    // Replaces a same-named child (the new one goes last), then indexes the
    // child and, unless it is an attribute, appends it to the ordered items.
    Property* Add(Property* child) override;
    // Adds a Boolean value of that name, replacing a same-named child.
    void SetBool(const std::string& name, bool value, bool untyped);
    void Clear();

    Property* Find(const std::string& name) const;
    // Every child, attributes included, in the order the index was filled;
    // the writer and the named-object builder walk this order.
    const std::vector<Ref<Property>>& IndexOrder() const { return indexOrder_; }

private:
    void Remove(const std::string& name);

    std::unordered_map<std::string, Property*> index_;
    std::vector<Ref<Property>> indexOrder_;
};
