// Parses arbitrary bytes as a property file, walks the tree through the
// lookups and writes it back to memory; the written form must parse again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/PropertyXml.h"

namespace {

void Walk(Property* property, int depth) {
    if (depth > 300) {
        std::abort();
    }
    Property::AsInt(property);
    Property::AsFloat(property);
    Property::AsBool(property);
    for (int i = 0; Property* child = Property::At(property, i); ++i) {
        Walk(child, depth + 1);
    }
    for (const Ref<Property>& child : Property::NodeOf(property).IndexOrder()) {
        Property::Child(property, child->Name());
        if (child->IsUntypedValue()) {
            Walk(child.Get(), depth + 1);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Ref<PropertyFile> file(new PropertyFile());
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz input")) {
        return 0;
    }
    Walk(file.Get(), 0);
    const std::string written = WritePropertyXml(*file);
    Ref<PropertyFile> again(new PropertyFile());
    if (!again->LoadFromMemory(written.data(), written.size(), "written")) {
        std::abort();
    }
    return 0;
}
