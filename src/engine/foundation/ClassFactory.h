#pragma once

#include <string>
#include <unordered_map>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"

class Property;
class PropertyNode;

// Builds an object from its definition; returns a new object without a
// reference, or null when the definition builds no object.
using CreateFunction = Object* (*)(Property* definition);

// The one registry from class name (the XML element word of a definition) to
// the function that builds the class, plus the objects built by name at
// start-up.
class ClassFactory : public Object {
    ENGINE_CLASS(ClassFactory, Object)

public:
    // The registry, created with one reference on first use.
    static ClassFactory& Instance();
    // Drops that reference at shutdown, with every named object.
    static void ReleaseInstance();

    // A later registration of the same name replaces the earlier one.
    void Register(const std::string& className, CreateFunction create);
    // The function for a class name, or null.
    CreateFunction Find(const std::string& className) const;
    // Builds an object from a definition by its type name; null when the
    // type is unknown or builds no object.
    Object* Create(Property* definition) const;

    // Builds every top-level definition in the root's name-index order and
    // keeps what it builds under the definition's name; unknown types are skipped.
    void CreateNamedObjects(PropertyNode& root);
    // Keeps the object under the name, releasing a replaced one.
    void RegisterNamedObject(const std::string& name, Object* object);
    Object* FindNamedObject(const std::string& name) const;

private:
    std::unordered_map<std::string, CreateFunction> classes_;
    std::unordered_map<std::string, Ref<Object>> namedObjects_;
};

// Registers a class while static objects are initialised, e.g.
//   static const ClassRegistration registration("Sprite", CreateFromProperty<Sprite>);
struct ClassRegistration {
    ClassRegistration(const char* className, CreateFunction create) {
        ClassFactory::Instance().Register(className, create);
    }
};

// Builds an object from a definition and keeps it only when it is a T; an
// object of another class (a damaged file may name any) is released again.
template <typename T>
Ref<T> CreateObjectOf(Property* definition) {
    const Ref<Object> made(ClassFactory::Instance().Create(definition));
    return Ref<T>(ObjectCast<T>(made.Get()));
}

// The creation function of a class whose constructor takes its definition.
template <typename T>
Object* CreateFromProperty(Property* definition) {
    return new T(definition);
}
