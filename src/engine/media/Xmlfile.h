#pragma once

#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/Resource.h"

// A property file resource. A file that cannot be read leaves an empty tree.
class Xmlfile : public Resource {
    ENGINE_CLASS(Xmlfile, Resource)

public:
    explicit Xmlfile(Property* definition) : Resource(definition) {}

    void Load() override;
    Object* GetData() override { return tree_.Get(); }
    void Unload() override;
    std::string Dump() const override;

private:
    Ref<PropertyFile> tree_;
};
