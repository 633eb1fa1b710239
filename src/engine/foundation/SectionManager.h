#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/Section.h"
#include "platform/Thread.h"
#include "platform/TimedMutex.h"

// Owns every resource section and the loader thread that loads the sections
// asked for, one resource per cycle, in the background.
//
// The data lock guards the section map, the lists, the weights and the
// resources' bookkeeping; every public operation takes it for its whole run,
// and code elsewhere holds it around a lookup and the use of its result. The
// loader releases it while a resource loads, keeping a reference to that
// resource so that nothing can free it meanwhile.
class SectionManager : public Object {
    ENGINE_CLASS(SectionManager, Object)

public:
    enum class List { LoadQueue, Pending };

    // Creates the one manager and its loader thread, which waits until the
    // sections are declared.
    static void Start();
    // Wakes the loader, waits for it to end, then releases the manager.
    static void Stop();
    // The manager between Start and Stop, else null.
    static SectionManager* Instance();
    // Wakes the loader of the current manager, if there is one.
    static void WakeLoader();

    ~SectionManager() override;

    void AddDefinitionFile(const std::string& fileName);
    // Reads every definition file and adds the sections declared in it. A
    // resource naming the file of one already declared shares that resource.
    // False, logged, when a file cannot be read or declares no sections.
    bool LoadSections();
    // Lets the loader start work.
    void SetDeclared();
    bool IsDeclared();

    // Enters the section under its name, replacing a previous one; an auto
    // section with work left joins the pending list.
    void AddSection(Section* section);
    // True while the section is not wholly loaded; queues it the first time.
    // On the virtual clock the section is loaded before the answer is given.
    bool RequestSection(const std::string& name);
    void ClearLoadQueue();
    // From 0 to 1 over what was queued since the last ClearLoadQueue; 1 when
    // nothing is queued.
    double GetLoadProgress();
    // Erases every wholly loaded section from the list (counting its weight
    // as done when `count` is true) and returns the first one left, or null.
    Section* NextUnloadedSection(List list, bool count);
    // True while the loader has a resource in hand or a started section
    // with resources left; leaves the lists as they are.
    bool HasLoadWork();
    // Wakes the loader and waits, in real time, until it has no work left;
    // false, with a log line, once it has finished nothing for the stall
    // limit (30 s). After that it waits again only when a load has ended.
    bool FinishLoadWork();
    // On the virtual clock loading takes no game time, so the loader's work
    // is finished before the game goes on; on the real clock, nothing.
    static void SettleOnVirtualClock();
    void SetStallLimitForTesting(std::chrono::milliseconds limit);

    // The data of a loaded resource, or null when the section or resource is
    // unknown or the resource is not loaded. Never loads.
    Object* GetResource(const std::string& identifier, const std::string& sectionName);
    // The same, but loads the resource on the calling thread first when it is
    // not loaded; when the loader is loading it, waits for that load only. A
    // load of another resource on the loader thread does not hold it up.
    Object* GetLoadedResource(const std::string& identifier, const std::string& sectionName);

    // Queues one resource for the loader, after every section asked for: a
    // picture a scene will soon need is then decoded off the frames. Unknown
    // or loaded resources are ignored; unloading the section forgets them.
    void PrefetchResource(const std::string& identifier, const std::string& sectionName);

    void RemoveSection(const std::string& name, bool unload);
    // Unloads every loaded resource of the section; one the loader is loading
    // right now is unloaded when that load ends, unless its data is looked
    // up before then.
    void UnloadSection(const std::string& name);
    // Lets go of a section that a scene which has been left asked for: unloads
    // each of its resources that only it holds. One that also stands in
    // another section stays, and so does one whose data is still held
    // elsewhere (by a scene's sprite, say): unloading it would free nothing
    // and the next request would decode a second copy. A section asked for
    // again already is left as it is.
    void ReleaseSection(const std::string& name);
    // The first declared resource, sections and resources in name order,
    // that names the same file, or null.
    Resource* FindResourceByFile(const Resource& resource);

    void ResumeLoader();
    // True from Start until Stop begins.
    bool IsRunning() const { return running_; }

    // Whether Ogg sounds are converted to WAV files when loaded. Takes no
    // lock, so a resource's Load may ask.
    bool OggToWav() const { return oggToWav_; }
    platform::TimedMutex& DataLock() { return dataLock_; }

private:
    SectionManager();

    // A section from its definition; resource kinds come from the class registry.
    Section* BuildSection(Property* definition);
    void RunLoader(platform::Thread& self);
    // One loader cycle; false when there was nothing to load.
    bool LoadNextResource();
    void FinishLoad(Resource& resource);
    // Waits, without the data lock's help, until the loader's Load of the
    // resource in flight has returned; the caller holds the data lock.
    void WaitForLoadInFlight();
    // Whoever is handed a resource's data keeps it: an unload put off until
    // the loader's load ends would free it under their feet.
    void KeepInFlight(const Resource* resource);
    // The next resource to load: the first unloaded one of the first started
    // section asked for, else the first unloaded prefetch; null when none.
    Resource* NextResourceToLoad();
    void ForgetPrefetches(const std::string& sectionName);
    // RequestSection's answer without waiting for the loader.
    bool QueueSection(const std::string& name);
    std::list<std::string>& ListOf(List list) { return list == List::LoadQueue ? loadQueue_ : pending_; }
    Section* FindSection(const std::string& name) const;
    // Whether a section other than `owner` holds the resource.
    bool SharedWithAnotherSection(const Resource& resource, const Section& owner) const;
    Resource* FindResource(const std::string& identifier, const std::string& sectionName) const;
    void StopLoader();

    std::map<std::string, Ref<Section>> sections_;
    std::vector<std::string> definitionFiles_;
    std::list<std::string> loadQueue_;
    std::list<std::string> pending_;
    // Resources queued one by one, each with the name of its section.
    std::list<std::pair<std::string, Ref<Resource>>> prefetch_;
    bool declared_ = false;
    int32_t queuedWeight_ = 0;
    int32_t doneWeight_ = 0;
    std::atomic<bool> oggToWav_{true};
    // The resource the loader is loading with the data lock released.
    Resource* inFlight_ = nullptr;
    bool unloadAfterLoad_ = false;
    // Set while the loader runs the in-flight resource's Load; guarded by
    // loadEndLock_, not the data lock, so a thread that holds the data lock
    // can wait for that one load to end.
    bool inFlightLoading_ = false;
    std::mutex loadEndLock_;
    std::condition_variable loadEnded_;

    // Loads the loader has ended, and their count when FinishLoadWork last
    // gave up; they tell a slow loader from a stuck one.
    std::atomic<uint64_t> finishedLoads_{0};
    std::atomic<uint64_t> stalledAt_{UINT64_MAX};
    std::chrono::milliseconds stallLimit_{30000};

    std::atomic<bool> running_{true};
    platform::TimedMutex dataLock_;
    // Last: the loader starts once everything above exists.
    platform::Thread loader_;
};
