#include "engine/scene/DialogTable.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"

namespace {

Ref<DialogTable>& Holder() {
    static Ref<DialogTable> holder;
    return holder;
}

}  // namespace

DialogTable* DialogTable::Create(const std::string& fileName) {
    Holder() = new DialogTable(fileName);
    return Holder().Get();
}

DialogTable* DialogTable::Instance() {
    return Holder().Get();
}

void DialogTable::ReleaseInstance() {
    Holder().Reset();
}

DialogTable::DialogTable(std::string fileName) : fileName_(std::move(fileName)) {
    Load();
}

void DialogTable::Load() {
    definitions_ = new PropertyFile({fileName_});
    definitions_->SetCondenseWhiteSpace(true);
    if (!definitions_->Load()) {
        ENGINE_LOG(1, "DialogTable: could not read \"%s\"", fileName_.c_str());
    }
}

Object* DialogTable::CreateDialog(const std::string& name) const {
    return Build(Property::Child(definitions_.Get(), "dialogs"), name, "dialogs");
}

Property* DialogTable::FindDialogDefinition(const std::string& name) const {
    return Property::Child(Property::Child(definitions_.Get(), "dialogs"), name);
}

Object* DialogTable::CreateObject(const std::string& name) const {
    return Build(definitions_.Get(), name, "the top level");
}

Object* DialogTable::Build(const Property* scope, const std::string& name, const char* scopeName) {
    Property* definition = Property::Child(scope, name);
    if (definition == nullptr || definition->GetKind() != Property::kNode) {
        ENGINE_LOG(1, "DialogTable: no definition \"%s\" in %s", name.c_str(), scopeName);
        return nullptr;
    }
    Object* object = ClassFactory::Instance().Create(definition);
    if (object == nullptr) {
        ENGINE_LOG(1, "DialogTable: definition \"%s\" names no known class \"%s\"", name.c_str(),
                   definition->TypeName().c_str());
    }
    return object;
}
