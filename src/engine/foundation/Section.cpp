#include "engine/foundation/Section.h"

#include <algorithm>
#include <utility>

Section::Section(std::string name, bool autoLoad) : name_(std::move(name)), autoLoad_(autoLoad) {}

void Section::AddResource(const std::string& identifier, Resource* resource) {
    resources_[identifier] = resource;
}

Resource* Section::FindResource(const std::string& identifier) const {
    const auto found = resources_.find(identifier);
    return found != resources_.end() ? found->second.Get() : nullptr;
}

bool Section::Holds(const Resource& resource) const {
    return std::any_of(resources_.begin(), resources_.end(),
                       [&resource](const auto& entry) { return entry.second.Get() == &resource; });
}

Resource* Section::FirstUnloaded() const {
    for (const auto& [identifier, resource] : resources_) {
        if (!resource->IsLoaded()) {
            return resource.Get();
        }
    }
    return nullptr;
}

int32_t Section::TotalWeight() const {
    int32_t total = 0;
    for (const auto& entry : resources_) {
        total += entry.second->Weight();
    }
    return total;
}

int32_t Section::LoadedWeight() const {
    int32_t total = 0;
    for (const auto& entry : resources_) {
        total += entry.second->LoadedWeight();
    }
    return total;
}

int Section::FailedCount() const {
    int failed = 0;
    for (const auto& entry : resources_) {
        failed += entry.second->HasError() ? 1 : 0;
    }
    return failed;
}

std::string Section::Dump() const {
    std::string text = Object::Dump() + "Auto Load: " + (autoLoad_ ? "yes" : "no") +
                       "; Has Started: " + (hasStarted_ ? "yes" : "no") + "; Name: " + name_ + ";\n\tObjects:";
    for (const auto& entry : resources_) {
        text += "\n\t\t" + entry.second->Dump();
    }
    return text;
}
