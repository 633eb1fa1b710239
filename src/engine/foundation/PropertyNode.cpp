#include "engine/foundation/PropertyNode.h"

#include <algorithm>

#include "engine/foundation/PropertyValue.h"

PropertyNode::PropertyNode(std::string name, std::string typeName)
    : PropertyVector(kNode, std::move(typeName), std::move(name)) {}

Property* PropertyNode::Add(Property* child) {
    if (IsSharedDefault() || child == nullptr) {
        return Discard(child);
    }
    Ref<Property> keep(child);  // the child may already be ours under its name
    Remove(child->Name());
    index_[child->Name()] = child;
    indexOrder_.push_back(keep);
    if (!child->IsUntypedValue()) {
        items_.push_back(keep);
    }
    return child;
}

void PropertyNode::SetBool(const std::string& name, bool value, bool untyped) {
    Add(PropertyValue::FromBool(name, value, untyped));
}

void PropertyNode::Clear() {
    index_.clear();
    items_.clear();
    indexOrder_.clear();
}

Property* PropertyNode::Find(const std::string& name) const {
    auto found = index_.find(name);
    return found == index_.end() ? nullptr : found->second;
}

void PropertyNode::Remove(const std::string& name) {
    auto found = index_.find(name);
    if (found == index_.end()) {
        return;
    }
    Property* old = found->second;
    index_.erase(found);
    auto holdsOld = [old](const Ref<Property>& entry) { return entry.Get() == old; };
    items_.erase(std::remove_if(items_.begin(), items_.end(), holdsOld), items_.end());
    indexOrder_.erase(std::remove_if(indexOrder_.begin(), indexOrder_.end(), holdsOld), indexOrder_.end());
}
