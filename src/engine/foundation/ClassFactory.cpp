#include "engine/foundation/ClassFactory.h"

#include "engine/foundation/PropertyNode.h"

namespace {

Ref<ClassFactory>& Holder() {
    static Ref<ClassFactory> holder;
    return holder;
}

}  // namespace

ClassFactory& ClassFactory::Instance() {
    Ref<ClassFactory>& holder = Holder();
    if (!holder) {
        holder = new ClassFactory();
    }
    return *holder;
}

void ClassFactory::ReleaseInstance() {
    Holder().Reset();
}

void ClassFactory::Register(const std::string& className, CreateFunction create) {
    classes_[className] = create;
}

CreateFunction ClassFactory::Find(const std::string& className) const {
    auto found = classes_.find(className);
    return found == classes_.end() ? nullptr : found->second;
}

Object* ClassFactory::Create(Property* definition) const {
    if (definition == nullptr) {
        return nullptr;
    }
    CreateFunction create = Find(definition->TypeName());
    return create == nullptr ? nullptr : create(definition);
}

void ClassFactory::CreateNamedObjects(PropertyNode& root) {
    // A copy of the order: a creation function may read constants but must
    // not be able to pull the walked list from under us.
    const std::vector<Ref<Property>> definitions = root.IndexOrder();
    for (const Ref<Property>& definition : definitions) {
        if (Object* object = Create(definition.Get())) {
            RegisterNamedObject(definition->Name(), object);
        }
    }
}

void ClassFactory::RegisterNamedObject(const std::string& name, Object* object) {
    namedObjects_[name] = object;
}

Object* ClassFactory::FindNamedObject(const std::string& name) const {
    auto found = namedObjects_.find(name);
    return found == namedObjects_.end() ? nullptr : found->second.Get();
}
