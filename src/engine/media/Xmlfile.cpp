#include "engine/media/Xmlfile.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"

namespace {
const ClassRegistration registration("Xmlfile", CreateFromProperty<Xmlfile>);
}

void Xmlfile::Load() {
    tree_ = new PropertyFile({FileName()});
    if (!tree_->Load()) {
        ENGINE_LOG(1, "XML file \"%s\" could not be read", FileName().c_str());
    }
    SetLoaded();
}

void Xmlfile::Unload() {
    tree_.Reset();
    Resource::Unload();
}

std::string Xmlfile::Dump() const {
    return std::string("Object: ") + (tree_ ? "not 0" : "NULL") + "; " + Resource::Dump();
}
