#include "engine/foundation/PropertyXml.h"

// The Debian library is built without TIXML_USE_STL (pkg-config gives no
// flags), so it must stay undefined here: defining it changes the class
// layouts the library was compiled with.
#include <tinyxml.h>

#include <mutex>

#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/TextConversions.h"

namespace {

// Deeper documents are refused before parsing: the parser and the reader
// both recurse once per level.
constexpr int kMaxNesting = 256;

bool IsValueWord(const std::string& tag) {
    return tag == "Integer" || tag == "Double" || tag == "Float" || tag == "Boolean" || tag == "String" ||
           tag == "Text";
}

const char* AttributeOrEmpty(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value != nullptr ? value : "";
}

const TiXmlText* FirstText(const TiXmlElement& element) {
    for (const TiXmlNode* child = element.FirstChild(); child != nullptr; child = child->NextSibling()) {
        if (const TiXmlText* text = child->ToText()) {
            return text;
        }
    }
    return nullptr;
}

// An upper bound of the element nesting, skipping comments, CDATA and
// declarations, which may hold "<" freely.
bool NestingWithinLimit(const std::string& text) {
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '<') {
            continue;
        }
        if (text.compare(i, 4, "<!--") == 0) {
            i = text.find("-->", i + 4);
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            i = text.find("]]>", i + 9);
        } else if (i + 1 < text.size() && (text[i + 1] == '!' || text[i + 1] == '?')) {
            i = text.find('>', i + 1);
        } else if (i + 1 < text.size() && text[i + 1] == '/') {
            // Stray closing tags must not buy room for deeper nesting later.
            depth = depth > 0 ? depth - 1 : 0;
        } else {
            size_t end = text.find('>', i);
            if (end == std::string::npos || text[end - 1] != '/') {
                if (++depth > kMaxNesting) {
                    return false;
                }
            }
        }
        if (i == std::string::npos) {
            break;
        }
    }
    return true;
}

Property* ReadElement(const TiXmlElement& element);

void ReadChildElements(const TiXmlElement& element, PropertyVector& target) {
    for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        target.Add(ReadElement(*child));
    }
}

Property* ReadValue(const TiXmlElement& element, const std::string& tag) {
    const TiXmlText* text = FirstText(element);
    const char* value = text != nullptr ? text->Value() : AttributeOrEmpty(element, "value");
    return new PropertyValue(AttributeOrEmpty(element, "id"), tag, NarrowToWide(value));
}

Property* ReadNode(const TiXmlElement& element, const std::string& tag) {
    auto* node = new PropertyNode(AttributeOrEmpty(element, "id"), tag);
    if (const char* setup = element.Attribute("setup"); setup != nullptr && Defines::Instance() != nullptr) {
        for (const Ref<Property>& child : Defines::Instance()->GetNode(setup)->IndexOrder()) {
            node->Add(child.Get());
        }
    }
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr;
         attribute = attribute->Next()) {
        if (std::string(attribute->Name()) != "id") {
            node->Add(PropertyValue::FromString(attribute->Name(), attribute->Value(), true));
        }
    }
    if (const TiXmlText* text = FirstText(element)) {
        node->Add(new PropertyValue("value", "Text", NarrowToWide(text->Value())));
    }
    ReadChildElements(element, *node);
    return node;
}

Property* ReadElement(const TiXmlElement& element) {
    const std::string tag = element.Value();
    if (tag == "Vector") {
        auto* vector = new PropertyVector(AttributeOrEmpty(element, "id"));
        ReadChildElements(element, *vector);
        return vector;
    }
    if (IsValueWord(tag)) {
        return ReadValue(element, tag);
    }
    return ReadNode(element, tag);
}

void WriteElement(const Property& property, TiXmlNode& parent, bool inNode) {
    const std::string& name = property.Name();
    if (property.GetKind() == Property::kValue) {
        const std::string text = WideToNarrow(static_cast<const PropertyValue&>(property).Text());
        if (property.IsUntypedValue()) {
            // An attribute can only sit on a node; elsewhere it has no XML form.
            if (TiXmlElement* element = parent.ToElement(); inNode && element != nullptr) {
                element->SetAttribute(name.c_str(), text.c_str());
            } else {
                ENGINE_LOG(2, "Untyped value %s outside a node is not written", name.c_str());
            }
            return;
        }
        TiXmlElement element(property.TypeName().c_str());
        if (!name.empty()) {
            element.SetAttribute("id", name.c_str());
        }
        element.SetAttribute("value", text.c_str());
        parent.InsertEndChild(element);
        return;
    }
    if (property.GetKind() != Property::kNode && property.GetKind() != Property::kVector) {
        return;
    }
    const bool isNode = property.GetKind() == Property::kNode;
    // A node without a type name still needs an element word to be read back.
    const std::string tag = !isNode ? "Vector" : property.TypeName().empty() ? "Node" : property.TypeName();
    TiXmlElement element(tag.c_str());
    if (!name.empty()) {
        element.SetAttribute("id", name.c_str());
    }
    TiXmlNode* written = parent.InsertEndChild(element);
    const auto& children = isNode ? static_cast<const PropertyNode&>(property).IndexOrder()
                                  : static_cast<const PropertyVector&>(property).Items();
    for (const Ref<Property>& child : children) {
        WriteElement(*child, *written, isNode);
    }
}

std::mutex& ParserLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

bool ReadPropertyXml(const char* bytes, size_t size, bool condenseWhiteSpace, PropertyNode& root,
                     const std::string& sourceName) {
    // The parser reads up to a zero byte; a copy guarantees there is one.
    const std::string text(bytes, size);
    if (!NestingWithinLimit(text)) {
        ENGINE_LOG(3, "XML file %s is nested too deeply", sourceName.c_str());
        return false;
    }
    TiXmlDocument document;
    {
        std::lock_guard<std::mutex> guard(ParserLock());
        TiXmlBase::SetCondenseWhiteSpace(condenseWhiteSpace);
        // Legacy encoding keeps every byte as it is: our narrow text is single-byte.
        document.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    }
    if (document.Error()) {
        ENGINE_LOG(3, "XML file %s does not parse: %s (line %d)", sourceName.c_str(), document.ErrorDesc(),
                   document.ErrorRow());
        return false;
    }
    for (const TiXmlElement* top = document.FirstChildElement(); top != nullptr; top = top->NextSiblingElement()) {
        for (const TiXmlElement* child = top->FirstChildElement(); child != nullptr;
             child = child->NextSiblingElement()) {
            root.Add(ReadElement(*child));
        }
    }
    return true;
}

std::string WritePropertyXml(const Property& root) {
    TiXmlDocument document;
    WriteElement(root, document, false);
    TiXmlPrinter printer;
    document.Accept(&printer);
    return std::string(printer.CStr(), printer.Size());
}
