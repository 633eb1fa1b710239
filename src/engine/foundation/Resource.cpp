#include "engine/foundation/Resource.h"

#include "engine/foundation/Paths.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/SectionManager.h"

namespace {

LoadMode LoadModeOf(Property* definition) {
    static const char* const kWords[] = {"file", "zip", "encryptfile", "encryptzip"};
    const int choice = Property::FindChoice(definition, "archive", kWords, 4);
    return static_cast<LoadMode>(choice + 1);
}

}  // namespace

Resource::Resource(Property* definition) : loadMode_(LoadModeOf(definition)) {
    if (Property* file = Property::Child(definition, "file")) {
        fileName_ = NormalizeMediaPath(Property::AsString(file));
    }
}

Resource::Resource(const std::string& fileName) : fileName_(NormalizeMediaPath(fileName)) {}

void Resource::Unload() {
    SectionManager::WakeLoader();
    loaded_ = false;
    hasError_ = false;
    loadedWeight_ = 0;
}

void Resource::SetLoaded() {
    loadedWeight_ = weight_;
    loaded_ = true;
}

std::string Resource::Dump() const {
    return Object::Dump() + "Has Error: " + (hasError_ ? "true" : "false") +
           "; Is Loaded: " + (loaded_ ? "true" : "false") + "; File Name: " + fileName_ + ";\n\t\t\t";
}
