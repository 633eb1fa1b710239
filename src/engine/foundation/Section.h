#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/Resource.h"

// A named group of resources that is requested and loaded as one. The same
// Resource may stand in several sections.
class Section : public Object {
    ENGINE_CLASS(Section, Object)

public:
    Section(std::string name, bool autoLoad);

    // Enters the resource under the identifier, replacing a previous entry.
    void AddResource(const std::string& identifier, Resource* resource);
    // The resource of that identifier, or null.
    Resource* FindResource(const std::string& identifier) const;
    // Whether the resource stands in this section under any identifier.
    bool Holds(const Resource& resource) const;
    // The first resource, in identifier order, that is not loaded, or null.
    Resource* FirstUnloaded() const;

    // Whether every resource is loaded; a section without resources is.
    bool IsLoaded() const { return FirstUnloaded() == nullptr; }
    int32_t TotalWeight() const;
    int32_t LoadedWeight() const;
    int FailedCount() const;

    const std::map<std::string, Ref<Resource>>& Resources() const { return resources_; }
    const std::string& Name() const { return name_; }
    bool AutoLoad() const { return autoLoad_; }
    bool HasStarted() const { return hasStarted_; }
    void SetStarted() { hasStarted_ = true; }

    std::string Dump() const override;

private:
    std::map<std::string, Ref<Resource>> resources_;
    std::string name_;
    bool autoLoad_;
    bool hasStarted_ = false;
};
