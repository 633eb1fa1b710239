#pragma once

#include <string>

#include "engine/foundation/Object.h"

class Property;

// One narrow text kept in a record's list and saved as an untyped value
// "name" of a property node.
class XmlStringValue : public Object {
    ENGINE_CLASS(XmlStringValue, Object)

public:
    explicit XmlStringValue(std::string text) : text_(std::move(text)) {}

    // Reads the child "name" of the node (empty text when missing).
    static XmlStringValue* FromXml(Property* node);
    // Adds the text to the node as the untyped value "name".
    virtual void Write(Property* node) const;

    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
