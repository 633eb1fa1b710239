#include "engine/foundation/SectionManager.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/ScopedLock.h"
#include "platform/Time.h"
#include "platform/VirtualClock.h"

namespace {

Ref<SectionManager>& Current() {
    static Ref<SectionManager> current;
    return current;
}

}  // namespace

void SectionManager::Start() {
    if (!Current()) {
        Current() = new SectionManager();
    }
}

void SectionManager::Stop() {
    if (Current()) {
        Current()->StopLoader();
        Current().Reset();
    }
}

SectionManager* SectionManager::Instance() {
    return Current().Get();
}

void SectionManager::WakeLoader() {
    if (SectionManager* manager = Instance()) {
        manager->ResumeLoader();
    }
}

SectionManager::SectionManager()
    : dataLock_("section data"), loader_([this](platform::Thread& self) { RunLoader(self); }) {}

SectionManager::~SectionManager() {
    StopLoader();
}

void SectionManager::StopLoader() {
    running_ = false;
    loader_.Resume();
    loader_.Join();
}

void SectionManager::AddDefinitionFile(const std::string& fileName) {
    ScopedLock data(dataLock_);
    definitionFiles_.push_back(fileName);
}

bool SectionManager::LoadSections() {
    ScopedLock data(dataLock_);
    bool allRead = true;
    Ref<PropertyFile> file(new PropertyFile());
    for (const std::string& fileName : definitionFiles_) {
        file->Clear();
        const bool parsed = file->LoadOne(fileName);
        if (Property* oggToWav = Property::Child(Property::Child(file.Get(), "ResourceDefaults"), "oggtowav")) {
            oggToWav_ = Property::AsBool(oggToWav);
        }
        Property* sections = Property::Child(file.Get(), "Sections");
        if (!parsed || sections == nullptr || sections->GetKind() != Property::kVector) {
            ENGINE_LOG(1, "SectionManager: \"%s\" could not be read or declares no sections", fileName.c_str());
            allRead = false;
            continue;
        }
        for (const Ref<Property>& definition : Property::VectorOf(sections).Items()) {
            AddSection(BuildSection(definition.Get()));
        }
    }
    return allRead;
}

Section* SectionManager::BuildSection(Property* definition) {
    auto* section = new Section(Property::AsString(Property::Child(definition, "name")),
                                Property::AsBool(Property::Child(definition, "auto")));
    for (const Ref<Property>& child : Property::NodeOf(definition).Items()) {
        if (child->GetKind() != Property::kNode) {
            continue;
        }
        const Ref<Object> created(ClassFactory::Instance().Create(child.Get()));
        Resource* resource = ObjectCast<Resource>(created.Get());
        if (resource == nullptr) {
            ENGINE_LOG(2, "Section %s: %s is not a resource kind; resource %s skipped", section->Name().c_str(),
                       child->TypeName().c_str(), child->Name().c_str());
            continue;
        }
        Resource* declared = FindResourceByFile(*resource);
        section->AddResource(child->Name(), declared != nullptr ? declared : resource);
    }
    return section;
}

void SectionManager::SetDeclared() {
    {
        ScopedLock data(dataLock_);
        declared_ = true;
    }
    ResumeLoader();
}

bool SectionManager::IsDeclared() {
    ScopedLock data(dataLock_);
    return declared_;
}

void SectionManager::AddSection(Section* section) {
    ScopedLock data(dataLock_);
    Ref<Section> entry(section);
    ForgetPrefetches(section->Name());
    sections_[section->Name()] = entry;
    if (section->AutoLoad() && !section->IsLoaded()) {
        ResumeLoader();
        pending_.push_back(section->Name());
    }
    section->SetStarted();
}

bool SectionManager::RequestSection(const std::string& name) {
    if (!QueueSection(name)) {
        return false;
    }
    // On the virtual clock loading takes no game time: the answer, and what
    // the caller does with it, must not depend on the loader thread's speed.
    if (!platform::VirtualClockEnabled()) {
        return true;
    }
    FinishLoadWork();
    return QueueSection(name);
}

bool SectionManager::QueueSection(const std::string& name) {
    ScopedLock data(dataLock_);
    const Section* section = FindSection(name);
    if (section == nullptr || section->IsLoaded()) {
        return false;
    }
    if (std::find(loadQueue_.begin(), loadQueue_.end(), name) == loadQueue_.end()) {
        ResumeLoader();
        loadQueue_.push_back(name);
        queuedWeight_ += section->TotalWeight();
    }
    return true;
}

void SectionManager::ClearLoadQueue() {
    ScopedLock data(dataLock_);
    loadQueue_.clear();
    queuedWeight_ = 0;
    doneWeight_ = 0;
}

double SectionManager::GetLoadProgress() {
    ScopedLock data(dataLock_);
    if (queuedWeight_ <= 0) {
        return 1.0;
    }
    int32_t loaded = doneWeight_;
    for (const std::string& name : loadQueue_) {
        if (const Section* section = FindSection(name)) {
            loaded += section->LoadedWeight();
        }
    }
    return static_cast<double>(loaded) / queuedWeight_;
}

bool SectionManager::HasLoadWork() {
    ScopedLock data(dataLock_);
    if (inFlight_ != nullptr) {
        return true;
    }
    if (!running_ || !declared_) {
        return false;
    }
    // The same choice the loader makes: the first unloaded section of the
    // queue, else of the pending list, and only once it has started.
    auto firstUnloaded = [this](const std::list<std::string>& names) -> const Section* {
        for (const std::string& name : names) {
            const Section* section = FindSection(name);
            if (section != nullptr && !section->IsLoaded()) {
                return section;
            }
        }
        return nullptr;
    };
    const Section* next = firstUnloaded(loadQueue_);
    if (next == nullptr) {
        next = firstUnloaded(pending_);
    }
    if (next != nullptr) {
        return next->HasStarted();
    }
    return std::any_of(prefetch_.begin(), prefetch_.end(),
                       [](const auto& entry) { return !entry.second->IsLoaded(); });
}

bool SectionManager::FinishLoadWork() {
    uint64_t seen = finishedLoads_.load();
    if (seen == stalledAt_.load()) {
        // Given up on already, and nothing has loaded since: a stuck loader
        // must not cost every later wait the whole limit again.
        return !HasLoadWork();
    }
    auto deadline = std::chrono::steady_clock::now() + stallLimit_;
    while (HasLoadWork()) {
        const auto now = std::chrono::steady_clock::now();
        if (const uint64_t finished = finishedLoads_.load(); finished != seen) {
            seen = finished;
            deadline = now + stallLimit_;
        } else if (now >= deadline) {
            ENGINE_LOG(1, "SectionManager: the loader finished nothing for %lld ms; going on without it",
                       static_cast<long long>(stallLimit_.count()));
            stalledAt_ = seen;
            return false;
        }
        ResumeLoader();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void SectionManager::SettleOnVirtualClock() {
    if (platform::VirtualClockEnabled()) {
        if (SectionManager* sections = Instance()) sections->FinishLoadWork();
    }
}

void SectionManager::SetStallLimitForTesting(std::chrono::milliseconds limit) { stallLimit_ = limit; }

Section* SectionManager::NextUnloadedSection(List list, bool count) {
    ScopedLock data(dataLock_);
    std::list<std::string>& names = ListOf(list);
    Section* first = nullptr;
    for (auto name = names.begin(); name != names.end();) {
        Section* section = FindSection(*name);
        if (section != nullptr && !section->IsLoaded()) {
            if (first == nullptr) {
                first = section;
            }
            ++name;
            continue;
        }
        if (section != nullptr) {
            if (count) {
                doneWeight_ += section->TotalWeight();
            }
            if (const int failed = section->FailedCount()) {
                ENGINE_LOG(3, "Section %s finished with %d resource(s) that failed to load", name->c_str(),
                           failed);
            }
        }
        name = names.erase(name);
    }
    return first;
}

Object* SectionManager::GetResource(const std::string& identifier, const std::string& sectionName) {
    ScopedLock data(dataLock_);
    Resource* resource = FindResource(identifier, sectionName);
    if (resource == nullptr || !resource->IsLoaded()) {
        return nullptr;
    }
    KeepInFlight(resource);
    return resource->GetData();
}

Object* SectionManager::GetLoadedResource(const std::string& identifier, const std::string& sectionName) {
    ScopedLock data(dataLock_);
    Resource* resource = FindResource(identifier, sectionName);
    if (resource == nullptr) {
        return nullptr;
    }
    if (resource == inFlight_) {
        WaitForLoadInFlight();
        KeepInFlight(resource);
    } else if (!resource->IsLoaded()) {
        resource->Load();
    }
    FinishLoad(*resource);
    return resource->GetData();
}

void SectionManager::RemoveSection(const std::string& name, bool unload) {
    ScopedLock data(dataLock_);
    loadQueue_.remove(name);
    pending_.remove(name);
    ForgetPrefetches(name);
    if (sections_.count(name) != 0) {
        if (unload) {
            UnloadSection(name);
        }
        sections_.erase(name);
    }
}

void SectionManager::PrefetchResource(const std::string& identifier, const std::string& sectionName) {
    ScopedLock data(dataLock_);
    Resource* resource = FindResource(identifier, sectionName);
    if (resource == nullptr || resource->IsLoaded() ||
        std::any_of(prefetch_.begin(), prefetch_.end(),
                    [resource](const auto& entry) { return entry.second.Get() == resource; })) {
        return;
    }
    prefetch_.emplace_back(sectionName, Ref<Resource>(resource));
    ResumeLoader();
}

void SectionManager::UnloadSection(const std::string& name) {
    ScopedLock data(dataLock_);
    ForgetPrefetches(name);
    const Section* section = FindSection(name);
    if (section == nullptr) {
        return;
    }
    for (const auto& entry : section->Resources()) {
        if (entry.second.Get() == inFlight_) {
            unloadAfterLoad_ = true;
        } else if (entry.second->IsLoaded()) {
            entry.second->Unload();
        }
    }
}

void SectionManager::ReleaseSection(const std::string& name) {
    ScopedLock data(dataLock_);
    const Section* section = FindSection(name);
    if (section == nullptr || std::find(loadQueue_.begin(), loadQueue_.end(), name) != loadQueue_.end()) {
        return;
    }
    ForgetPrefetches(name);
    for (const auto& entry : section->Resources()) {
        Resource& resource = *entry.second;
        if (!resource.IsLoaded() || &resource == inFlight_ || SharedWithAnotherSection(resource, *section)) {
            continue;
        }
        // The resource's own reference is the one it gives up.
        const Object* held = resource.GetData();
        if (held == nullptr || held->ReferenceCount() <= 1) {
            resource.Unload();
        }
    }
}

bool SectionManager::SharedWithAnotherSection(const Resource& resource, const Section& owner) const {
    return std::any_of(sections_.begin(), sections_.end(), [&](const auto& entry) {
        return entry.second.Get() != &owner && entry.second->Holds(resource);
    });
}

Resource* SectionManager::FindResourceByFile(const Resource& resource) {
    ScopedLock data(dataLock_);
    for (const auto& section : sections_) {
        for (const auto& entry : section.second->Resources()) {
            if (entry.second->IsFile(resource)) {
                return entry.second.Get();
            }
        }
    }
    return nullptr;
}

void SectionManager::ResumeLoader() {
    loader_.Resume();
}

void SectionManager::RunLoader(platform::Thread& self) {
    while (running_) {
        if (!LoadNextResource()) {
            self.SuspendSelf();
        }
    }
}

bool SectionManager::LoadNextResource() {
    Ref<Resource> resource;
    {
        ScopedLock data(dataLock_);
        if (!running_ || !declared_) {
            return false;
        }
        resource = NextResourceToLoad();
        if (!resource) {
            return false;
        }
        inFlight_ = resource.Get();
        unloadAfterLoad_ = false;
        std::lock_guard<std::mutex> loading(loadEndLock_);
        inFlightLoading_ = true;
    }
    resource->Load();
    {
        std::lock_guard<std::mutex> loading(loadEndLock_);
        inFlightLoading_ = false;
    }
    loadEnded_.notify_all();
    platform::SleepMs(0);

    ScopedLock data(dataLock_);
    FinishLoad(*resource);
    inFlight_ = nullptr;
    ++finishedLoads_;
    if (unloadAfterLoad_) {
        resource->Unload();
    }
    // A resource whose section went away meanwhile is freed here, still under the data lock.
    resource.Reset();
    return true;
}

void SectionManager::ForgetPrefetches(const std::string& sectionName) {
    prefetch_.remove_if([&sectionName](const auto& entry) { return entry.first == sectionName; });
}

Resource* SectionManager::NextResourceToLoad() {
    Section* section = NextUnloadedSection(List::LoadQueue, true);
    if (section == nullptr) {
        section = NextUnloadedSection(List::Pending, false);
    }
    if (section != nullptr) {
        return section->HasStarted() ? section->FirstUnloaded() : nullptr;
    }
    while (!prefetch_.empty() && prefetch_.front().second->IsLoaded()) {
        prefetch_.pop_front();
    }
    return prefetch_.empty() ? nullptr : prefetch_.front().second.Get();
}

void SectionManager::WaitForLoadInFlight() {
    std::unique_lock<std::mutex> loading(loadEndLock_);
    loadEnded_.wait(loading, [this] { return !inFlightLoading_; });
}

void SectionManager::KeepInFlight(const Resource* resource) {
    if (resource != nullptr && resource == inFlight_) {
        unloadAfterLoad_ = false;
    }
}

void SectionManager::FinishLoad(Resource& resource) {
    // A load that does not end loaded would be picked again at once, for ever.
    if (!resource.IsLoaded()) {
        ENGINE_LOG(3, "Resource %s did not finish loading; it counts as failed", resource.FileName().c_str());
        resource.SetHasError(true);
        resource.SetLoaded();
    }
}

Section* SectionManager::FindSection(const std::string& name) const {
    const auto found = sections_.find(name);
    return found != sections_.end() ? found->second.Get() : nullptr;
}

Resource* SectionManager::FindResource(const std::string& identifier, const std::string& sectionName) const {
    const Section* section = FindSection(sectionName);
    return section != nullptr ? section->FindResource(identifier) : nullptr;
}
