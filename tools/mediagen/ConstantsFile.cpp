#include "mediagen/ConstantsFile.h"

#include <tinyxml.h>

#include <cstdlib>

namespace {

double ToNumber(const std::string& text) {
    if (!text.empty() && text[0] == '#') {
        return static_cast<double>(std::strtol(text.c_str() + 1, nullptr, 16));
    }
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace

ConstantsFile::ConstantsFile(const std::string& path) {
    TiXmlDocument document;
    if (!document.LoadFile(path.c_str())) {
        return;
    }
    const TiXmlElement* top = document.RootElement();
    if (top == nullptr) {
        return;
    }
    exists_ = true;
    auto read = [](auto&& self, const TiXmlElement* xml) -> Element {
        Element element;
        element.tag = xml->Value();
        const char* id = xml->Attribute("id");
        element.id = id != nullptr ? id : "";
        const char* value = xml->Attribute("value");
        const char* text = xml->GetText();
        element.text = text != nullptr ? text : (value != nullptr ? value : "");
        for (const TiXmlElement* child = xml->FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
            element.children.push_back(self(self, child));
        }
        return element;
    };
    root_ = read(read, top);
}

const ConstantsFile::Element* ConstantsFile::Find(const std::string& id, const std::string& group) const {
    const Element* scope = &root_;
    if (!group.empty()) {
        scope = Find(group, "");
        if (scope == nullptr) {
            return nullptr;
        }
    }
    for (const Element& child : scope->children) {
        if (child.id == id) {
            return &child;
        }
    }
    return nullptr;
}

std::vector<double> ConstantsFile::Numbers(const std::string& id, const std::string& group) const {
    std::vector<double> numbers;
    if (const Element* list = Find(id, group)) {
        for (const Element& entry : list->children) {
            numbers.push_back(ToNumber(entry.text));
        }
    }
    return numbers;
}

std::optional<double> ConstantsFile::Number(const std::string& id, const std::string& group) const {
    const Element* value = Find(id, group);
    return value != nullptr ? std::optional<double>(ToNumber(value->text)) : std::nullopt;
}

std::vector<std::string> ConstantsFile::Strings(const std::string& id) const {
    std::vector<std::string> strings;
    if (const Element* list = Find(id, "")) {
        for (const Element& entry : list->children) {
            strings.push_back(entry.text);
        }
    }
    return strings;
}

std::string ConstantsFile::Text(const std::string& id) const {
    const Element* element = Find(id, "");
    return element != nullptr ? element->text : std::string();
}
