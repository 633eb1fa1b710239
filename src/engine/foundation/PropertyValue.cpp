#include "engine/foundation/PropertyValue.h"

#include "engine/foundation/TextConversions.h"

PropertyValue::PropertyValue(std::string name, std::string typeName, std::wstring text)
    : Property(kValue, std::move(typeName), std::move(name)), text_(std::move(text)) {}

PropertyValue* PropertyValue::FromInteger(const std::string& name, int value, bool untyped) {
    return FromTypedInteger(name, value, untyped ? "" : "Integer");
}

PropertyValue* PropertyValue::FromTypedInteger(const std::string& name, int value, const std::string& typeName) {
    return new PropertyValue(name, typeName, IntToWString(value));
}

PropertyValue* PropertyValue::FromFloat(const std::string& name, float value, bool untyped) {
    return new PropertyValue(name, untyped ? "" : "Float", FloatToText(value));
}

PropertyValue* PropertyValue::FromString(const std::string& name, const std::string& text, bool untyped) {
    return FromTypedString(name, text, untyped ? "" : "String");
}

PropertyValue* PropertyValue::FromTypedString(const std::string& name, const std::string& text,
                                              const std::string& typeName) {
    return new PropertyValue(name, typeName, NarrowToWide(text));
}

PropertyValue* PropertyValue::FromText(const std::string& name, const std::wstring& text, bool untyped) {
    return new PropertyValue(name, untyped ? "" : "Text", text);
}

PropertyValue* PropertyValue::FromBool(const std::string& name, bool value, bool untyped) {
    return new PropertyValue(name, untyped ? "" : "Boolean", value ? L"true" : L"false");
}

void PropertyValue::SetText(std::wstring text) {
    if (this != &DummyValue()) {
        text_ = std::move(text);
    }
}

std::string PropertyValue::Dump() const {
    return WideToNarrow(text_);
}
