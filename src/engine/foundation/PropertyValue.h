#pragma once

#include <string>

#include "engine/foundation/Property.h"

// A value stored as wide text and converted when it is read.
class PropertyValue : public Property {
    ENGINE_CLASS(PropertyValue, Property)

public:
    PropertyValue(std::string name, std::string typeName, std::wstring text);

    // Each returns a new value without a reference; `untyped` leaves the
    // type name empty so the value becomes its node's attribute.
    static PropertyValue* FromInteger(const std::string& name, int value, bool untyped);
    static PropertyValue* FromTypedInteger(const std::string& name, int value, const std::string& typeName);
    static PropertyValue* FromFloat(const std::string& name, float value, bool untyped);
    static PropertyValue* FromString(const std::string& name, const std::string& text, bool untyped);
    static PropertyValue* FromTypedString(const std::string& name, const std::string& text,
                                          const std::string& typeName);
    static PropertyValue* FromText(const std::string& name, const std::wstring& text, bool untyped);
    static PropertyValue* FromBool(const std::string& name, bool value, bool untyped);

    const std::wstring& Text() const { return text_; }
    // Ignored on the shared default value.
    void SetText(std::wstring text);

    // The text narrowed to its low 8 bits per character.
    std::string Dump() const override;

private:
    std::wstring text_;
};
