#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ZipFixture.h"
#include "engine/foundation/Archive.h"
#include "engine/foundation/BoundedWait.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/ScopedLock.h"
#include "engine/foundation/SectionManager.h"
#include "engine/foundation/Folders.h"
#include "platform/RunOptions.h"
#include "platform/Time.h"
#include "support/TempFolder.h"
#include "support/TempUserFolders.h"

namespace {

// Holds loads until the test opens it, and tells the test that one started.
class LoadGate {
public:
    void Pass() {
        std::unique_lock<std::mutex> lock(mutex_);
        ++arrived_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    void WaitForArrival() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return arrived_ > 0; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int arrived_ = 0;
    bool open_ = false;
};

// What happened to the test resources, in order.
struct Journal {
    std::mutex mutex;
    std::vector<std::string> loads;
    std::atomic<int> unloads{0};
    std::atomic<int> destroyed{0};

    int LoadsOf(const std::string& file) {
        std::lock_guard<std::mutex> lock(mutex);
        return static_cast<int>(std::count(loads.begin(), loads.end(), file));
    }
};

// A resource kind for tests: reads its file through LoadFile and records
// each load; its load can be held at a gate, or can forget to finish.
class TestResource : public Resource {
    ENGINE_CLASS(TestResource, Resource)

public:
    TestResource(const std::string& file, Journal& journal, LoadGate* gate = nullptr, bool finishes = true)
        : Resource(file), journal_(journal), gate_(gate), finishes_(finishes) {}
    ~TestResource() override { ++journal_.destroyed; }

    void Load() override {
        {
            std::lock_guard<std::mutex> lock(journal_.mutex);
            journal_.loads.push_back(FileName());
        }
        if (gate_ != nullptr) {
            gate_->Pass();
        }
        SetHasError(LoadFile(FileName(), buffer_, GetLoadMode()));
        if (finishes_) {
            SetLoaded();
        }
    }
    Object* GetData() override { return buffer_.Count() > 0 ? &buffer_ : nullptr; }
    void Unload() override {
        buffer_.Clear();
        ++journal_.unloads;
        Resource::Unload();
    }

private:
    Journal& journal_;
    LoadGate* gate_;
    bool finishes_;
    DataBuffer buffer_;
};

// A kind that holds its data by reference, as the media kinds do, so that a
// test can hold it too.
class HeldResource : public Resource {
    ENGINE_CLASS(HeldResource, Resource)

public:
    explicit HeldResource(const std::string& file) : Resource(file) {}

    void Load() override {
        data_ = new DataBuffer();
        SetHasError(LoadFile(FileName(), *data_, GetLoadMode()));
        SetLoaded();
    }
    Object* GetData() override { return data_.Get(); }
    void Unload() override {
        data_ = nullptr;
        Resource::Unload();
    }

private:
    Ref<DataBuffer> data_;
};

// The kind the definition-file tests declare: reads its file, counting loads.
class TextFile : public Resource {
    ENGINE_CLASS(TextFile, Resource)

public:
    static inline std::atomic<int> loads{0};

    explicit TextFile(Property* definition) : Resource(definition) {}

    void Load() override {
        ++loads;
        SetHasError(LoadFile(FileName(), buffer_, GetLoadMode()));
        SetLoaded();
    }
    Object* GetData() override { return buffer_.Count() > 0 ? &buffer_ : nullptr; }

private:
    DataBuffer buffer_;
};

const ClassRegistration textFileRegistration("TextFile", CreateFromProperty<TextFile>);

std::string TextOf(Object* data) {
    const auto* buffer = ObjectCast<DataBuffer>(data);
    return buffer != nullptr ? std::string(buffer->Text()) : "<none>";
}

void WaitUntil(const std::function<bool()>& done) {
    while (!done()) {
        std::this_thread::yield();
    }
}

class SectionManagerTest : public testing::Test {
protected:
    SectionManagerTest() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(folder_.Path());
        SectionManager::Start();
        manager_ = SectionManager::Instance();
    }
    ~SectionManagerTest() override {
        SectionManager::Stop();
        CloseMediaArchive();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    // A section of test resources named "<section>/<id>.txt", each file
    // holding its own identifier.
    Section* MakeSection(const std::string& name, const std::vector<std::string>& ids, bool autoLoad = false,
                         bool writeFiles = true) {
        auto* section = new Section(name, autoLoad);
        for (const std::string& id : ids) {
            const std::string file = name + "/" + id + ".txt";
            if (writeFiles) {
                WriteTestFile(file, id);
            }
            section->AddResource(id, new TestResource(file, journal_));
        }
        return section;
    }

    // Section "pics" with the one resource "a", whose load the loader has
    // begun and now holds at the gate.
    const Resource& StartGatedLoad(LoadGate& gate) {
        auto* section = new Section("pics", false);
        WriteTestFile("pics/a.txt", "a");
        auto* resource = new TestResource("pics/a.txt", journal_, &gate);
        section->AddResource("a", resource);
        manager_->AddSection(section);
        manager_->RequestSection("pics");
        manager_->SetDeclared();
        gate.WaitForArrival();
        return *resource;
    }

    // Requests the section and waits until the loader has loaded it and no
    // longer holds it in its queue.
    void LoadInBackground(const std::string& name) {
        WaitUntil([&] { return !manager_->RequestSection(name); });
        WaitUntil([&] { return manager_->NextUnloadedSection(SectionManager::List::LoadQueue, true) == nullptr; });
    }

    // Log files go to the temporary user folders.
    TempUserFolders userFolders_;
    TempFolder folder_;
    std::filesystem::path previous_;
    Journal journal_;
    SectionManager* manager_ = nullptr;
};

TEST_F(SectionManagerTest, RequestQueuesASectionOnceAndOnlyWhileWorkIsLeft) {
    // Not declared, so the loader stays idle and the queue holds still.
    Section* done = MakeSection("done", {"a"});
    done->FindResource("a")->Load();
    manager_->AddSection(done);
    manager_->AddSection(MakeSection("fresh", {"a", "b"}));
    manager_->AddSection(MakeSection("empty", {}));

    EXPECT_FALSE(manager_->RequestSection("done"));
    EXPECT_FALSE(manager_->RequestSection("empty"));
    EXPECT_FALSE(manager_->RequestSection("undeclared"));
    EXPECT_EQ(manager_->GetLoadProgress(), 1.0);

    EXPECT_TRUE(manager_->RequestSection("fresh"));
    EXPECT_TRUE(manager_->RequestSection("fresh"));
    EXPECT_EQ(manager_->GetLoadProgress(), 0.0);
    EXPECT_EQ(TextOf(manager_->GetLoadedResource("a", "fresh")), "a");
    EXPECT_EQ(manager_->GetLoadProgress(), 0.5);
    EXPECT_EQ(manager_->NextUnloadedSection(SectionManager::List::LoadQueue, true)->Name(), "fresh");

    manager_->ClearLoadQueue();
    EXPECT_EQ(manager_->GetLoadProgress(), 1.0);
    EXPECT_EQ(manager_->NextUnloadedSection(SectionManager::List::LoadQueue, true), nullptr);
    EXPECT_EQ(journal_.LoadsOf("fresh/b.txt"), 0);
}

TEST_F(SectionManagerTest, TheLoaderLoadsQueuedSectionsWithSteadyProgress) {
    manager_->AddSection(MakeSection("first", {"a", "b", "c"}));
    manager_->AddSection(MakeSection("second", {"d"}));
    ASSERT_TRUE(manager_->RequestSection("first"));
    ASSERT_TRUE(manager_->RequestSection("second"));
    EXPECT_EQ(manager_->GetResource("a", "first"), nullptr);
    manager_->SetDeclared();

    // Every value seen is a whole number of resources out of four, and it never falls.
    double last = 0.0;
    WaitUntil([&] {
        const double progress = manager_->GetLoadProgress();
        EXPECT_GE(progress, last);
        EXPECT_DOUBLE_EQ(progress * 4, static_cast<int>(progress * 4 + 0.5));
        last = progress;
        return manager_->NextUnloadedSection(SectionManager::List::LoadQueue, true) == nullptr;
    });
    EXPECT_EQ(manager_->GetLoadProgress(), 1.0);
    EXPECT_EQ(TextOf(manager_->GetResource("c", "first")), "c");
    EXPECT_EQ(TextOf(manager_->GetResource("d", "second")), "d");
    EXPECT_EQ(manager_->GetResource("x", "first"), nullptr);
    EXPECT_EQ(manager_->GetResource("a", "undeclared"), nullptr);
    const std::vector<std::string> order = {"first/a.txt", "first/b.txt", "first/c.txt", "second/d.txt"};
    EXPECT_EQ(journal_.loads, order);
}

TEST_F(SectionManagerTest, FinishedSectionsLeaveTheQueueEvenBehindAnUnloadedOne) {
    // Not declared yet, so only the main thread loads.
    manager_->AddSection(MakeSection("first", {"a"}));
    manager_->AddSection(MakeSection("second", {"b"}));
    ASSERT_TRUE(manager_->RequestSection("first"));
    ASSERT_TRUE(manager_->RequestSection("second"));
    ASSERT_NE(manager_->GetLoadedResource("b", "second"), nullptr);

    EXPECT_EQ(manager_->NextUnloadedSection(SectionManager::List::LoadQueue, true)->Name(), "first");
    EXPECT_EQ(manager_->GetLoadProgress(), 0.5);
    // Once counted as done, the section no longer moves the progress or loads again.
    manager_->UnloadSection("second");
    EXPECT_EQ(manager_->GetLoadProgress(), 0.5);
    manager_->SetDeclared();
    WaitUntil([&] { return manager_->NextUnloadedSection(SectionManager::List::LoadQueue, true) == nullptr; });
    EXPECT_EQ(manager_->GetLoadProgress(), 1.0);
    EXPECT_EQ(journal_.LoadsOf("second/b.txt"), 1);
}

TEST_F(SectionManagerTest, AnAutoSectionLoadsAfterTheQueueWithoutMovingProgress) {
    manager_->AddSection(MakeSection("background", {"x", "y"}, true));
    manager_->AddSection(MakeSection("wanted", {"a"}));
    ASSERT_TRUE(manager_->RequestSection("wanted"));
    manager_->SetDeclared();
    LoadInBackground("wanted");
    WaitUntil([&] { return manager_->NextUnloadedSection(SectionManager::List::Pending, false) == nullptr; });

    EXPECT_EQ(manager_->GetLoadProgress(), 1.0);
    const std::vector<std::string> order = {"wanted/a.txt", "background/x.txt", "background/y.txt"};
    EXPECT_EQ(journal_.loads, order);
}

TEST_F(SectionManagerTest, PrefetchedResourcesLoadAloneAfterRequestedSections) {
    manager_->AddSection(MakeSection("backs", {"a", "b", "c"}));
    manager_->AddSection(MakeSection("other", {"x"}));
    manager_->AddSection(MakeSection("wanted", {"w"}));
    ASSERT_TRUE(manager_->RequestSection("wanted"));
    manager_->PrefetchResource("c", "backs");
    manager_->PrefetchResource("b", "backs");
    manager_->PrefetchResource("c", "backs");
    manager_->PrefetchResource("missing", "backs");
    manager_->PrefetchResource("x", "nowhere");
    // Unloading a section forgets what was prefetched of it.
    manager_->PrefetchResource("x", "other");
    manager_->UnloadSection("other");
    manager_->SetDeclared();
    WaitUntil([&] { return !manager_->HasLoadWork(); });

    const std::vector<std::string> order = {"wanted/w.txt", "backs/c.txt", "backs/b.txt"};
    EXPECT_EQ(journal_.loads, order);
    EXPECT_EQ(TextOf(manager_->GetResource("b", "backs")), "b");
    // Only the prefetched resources load: the section itself was never asked for.
    EXPECT_EQ(manager_->GetResource("a", "backs"), nullptr);
    // A prefetched resource already loaded is not queued again.
    manager_->PrefetchResource("b", "backs");
    EXPECT_FALSE(manager_->HasLoadWork());
}

TEST_F(SectionManagerTest, ASectionLoadsFromTheArchiveOrFromLooseFiles) {
    ASSERT_TRUE(WriteZip("media.dat", {{"pics/a.txt", "from the archive"}}));
    WriteTestFile("pics/a.txt", "from disk");
    WriteTestFile("pics/b.txt", "only on disk");
    auto* section = new Section("pics", false);
    section->AddResource("a", new TestResource("Pics\\A.TXT", journal_));
    section->AddResource("b", new TestResource("pics/b.txt", journal_));
    manager_->AddSection(section);
    manager_->SetDeclared();

    OpenMediaArchive(LoadMode::File, "");
    LoadInBackground("pics");
    EXPECT_EQ(TextOf(manager_->GetResource("a", "pics")), "from the archive");
    // The archive is the whole media: a member it lacks is not looked for on disk.
    EXPECT_EQ(manager_->GetResource("b", "pics"), nullptr);

    manager_->UnloadSection("pics");
    std::filesystem::remove("media.dat");
    OpenMediaArchive(LoadMode::File, "");
    LoadInBackground("pics");
    EXPECT_EQ(TextOf(manager_->GetResource("a", "pics")), "from disk");
    EXPECT_EQ(TextOf(manager_->GetResource("b", "pics")), "only on disk");
}

TEST_F(SectionManagerTest, FailedResourcesStillFinishTheirSection) {
    auto* section = MakeSection("broken", {"missing"}, false, false);
    section->AddResource("stuck", new TestResource("broken/stuck.txt", journal_, nullptr, false));
    manager_->AddSection(section);
    manager_->SetDeclared();
    ASSERT_TRUE(manager_->RequestSection("broken"));
    WaitUntil([&] { return manager_->NextUnloadedSection(SectionManager::List::LoadQueue, true) == nullptr; });

    EXPECT_EQ(manager_->GetLoadProgress(), 1.0);
    EXPECT_FALSE(manager_->RequestSection("broken"));
    EXPECT_EQ(manager_->GetResource("missing", "broken"), nullptr);
    for (const char* id : {"missing", "stuck"}) {
        const Resource* resource = section->FindResource(id);
        EXPECT_TRUE(resource->IsLoaded()) << id;
        EXPECT_TRUE(resource->HasError()) << id;
    }
    EXPECT_EQ(journal_.LoadsOf("broken/stuck.txt"), 1);
}

TEST_F(SectionManagerTest, StopDuringALoadWaitsForItAndLoadsNothingMore) {
    LoadGate gate;
    auto* section = MakeSection("slow", {"b", "c"});
    section->AddResource("a", new TestResource("slow/a.txt", journal_, &gate));
    manager_->AddSection(section);
    manager_->RequestSection("slow");
    manager_->SetDeclared();
    gate.WaitForArrival();

    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        SectionManager::Stop();
        stopped = true;
    });
    // Stop cannot end while the load runs; once it may, it ends by itself.
    WaitUntil([&] { return !manager_->IsRunning(); });
    EXPECT_FALSE(stopped);
    gate.Open();
    stopper.join();

    EXPECT_EQ(SectionManager::Instance(), nullptr);
    EXPECT_EQ(journal_.loads, std::vector<std::string>{"slow/a.txt"});
    EXPECT_EQ(journal_.destroyed, 3);
}

TEST_F(SectionManagerTest, StopWhileIdleEndsTheLoader) {
    manager_->AddSection(MakeSection("never", {"a"}));
    SectionManager::Stop();
    EXPECT_EQ(SectionManager::Instance(), nullptr);
    EXPECT_TRUE(journal_.loads.empty());
    SectionManager::Start();
    EXPECT_NE(SectionManager::Instance(), nullptr);
}

TEST_F(SectionManagerTest, ALoadOnTheMainThreadWaitsForTheLoadersLoad) {
    LoadGate gate;
    StartGatedLoad(gate);

    EXPECT_EQ(manager_->GetResource("a", "pics"), nullptr);
    std::string fetched;
    std::thread fetcher([&] { fetched = TextOf(manager_->GetLoadedResource("a", "pics")); });
    // Once the fetcher holds the data lock it is on its way to wait for the load.
    WaitUntil([&] {
        if (manager_->DataLock().TryLockFor(0)) {
            manager_->DataLock().Unlock();
            return false;
        }
        return true;
    });
    gate.Open();
    fetcher.join();
    EXPECT_EQ(fetched, "a");
    EXPECT_EQ(journal_.LoadsOf("pics/a.txt"), 1);
}

TEST_F(SectionManagerTest, ALoadOnTheMainThreadIsNotHeldUpByTheLoadersLoadOfAnother) {
    LoadGate gate;
    StartGatedLoad(gate);
    manager_->AddSection(MakeSection("other", {"b"}));

    auto fetched = std::async(std::launch::async, [this] { return TextOf(manager_->GetLoadedResource("b", "other")); });
    const bool answered = fetched.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    EXPECT_TRUE(answered) << "the fetch of b waited for the loader's load of a";
    gate.Open();
    EXPECT_EQ(fetched.get(), "b");
    // The loader needs the gate until it has left it.
    WaitUntil([&] { return !manager_->HasLoadWork(); });
}

// A section unloaded while the loader loads one of its resources, whose data
// is then handed out before that load has ended: what was handed out stays.
TEST_F(SectionManagerTest, ALookupDuringALoadCancelsTheUnloadPutOffUntilItsEnd) {
    struct Case {
        const char* name;
        std::function<Object*(SectionManager&)> lookUp;
    };
    const Case cases[] = {
        {"GetResource", [](SectionManager& m) { return m.GetResource("a", "pics"); }},
        {"GetLoadedResource", [](SectionManager& m) { return m.GetLoadedResource("a", "pics"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadGate gate;
        const Resource& resource = StartGatedLoad(gate);
        const int unloads = journal_.unloads;
        Object* data = nullptr;
        {
            // Held, so that the load ends but the loader cannot yet take it in.
            ScopedLock held(manager_->DataLock());
            manager_->UnloadSection("pics");
            gate.Open();
            WaitUntil([&] { return resource.IsLoaded(); });
            data = c.lookUp(*manager_);
        }
        WaitUntil([&] { return !manager_->HasLoadWork(); });
        EXPECT_TRUE(resource.IsLoaded());
        EXPECT_EQ(journal_.unloads, unloads);
        EXPECT_EQ(TextOf(data), "a");
    }
}

TEST_F(SectionManagerTest, UnloadAndRemoveDuringALoadWaitForItToEnd) {
    LoadGate gate;
    StartGatedLoad(gate);

    manager_->RemoveSection("pics", true);
    EXPECT_EQ(journal_.unloads, 0);
    EXPECT_EQ(journal_.destroyed, 0);
    gate.Open();
    // The loader unloads the resource after its load, then lets it go.
    WaitUntil([&] { return journal_.destroyed == 1; });
    EXPECT_EQ(journal_.unloads, 1);
    EXPECT_FALSE(manager_->RequestSection("pics"));
}

// What a left scene's section lets go of: only what nothing else holds.
TEST_F(SectionManagerTest, ReleasingASectionUnloadsOnlyWhatNothingElseHolds) {
    auto* left = new Section("left", false);
    for (const char* id : {"alone", "held", "shared", "never"}) {
        const std::string file = std::string("left/") + id + ".txt";
        WriteTestFile(file, id);
        left->AddResource(id, new HeldResource(file));
    }
    manager_->AddSection(left);
    auto* other = new Section("other", false);
    other->AddResource("same", left->FindResource("shared"));
    manager_->AddSection(other);
    for (const char* id : {"alone", "held", "shared"}) {
        ASSERT_NE(manager_->GetLoadedResource(id, "left"), nullptr) << id;
    }
    const Ref<Object> kept(manager_->GetResource("held", "left"));

    manager_->ReleaseSection("left");
    EXPECT_FALSE(left->FindResource("alone")->IsLoaded());
    EXPECT_FALSE(left->FindResource("never")->IsLoaded());
    EXPECT_EQ(TextOf(manager_->GetResource("held", "left")), "held");
    EXPECT_EQ(TextOf(manager_->GetResource("same", "other")), "shared");

    // A section asked for again before it is let go stays whole.
    ASSERT_TRUE(manager_->RequestSection("left"));
    ASSERT_NE(manager_->GetLoadedResource("alone", "left"), nullptr);
    manager_->ReleaseSection("left");
    EXPECT_EQ(TextOf(manager_->GetResource("alone", "left")), "alone");
    manager_->ReleaseSection("undeclared");
}

TEST_F(SectionManagerTest, ResourcesNamingOneFileAreFoundByFile) {
    auto* first = MakeSection("first", {"a"});
    manager_->AddSection(first);
    const TestResource sameFile("FIRST/a.txt", journal_);
    const TestResource otherFile("first/b.txt", journal_);
    EXPECT_EQ(manager_->FindResourceByFile(sameFile), first->FindResource("a"));
    EXPECT_EQ(manager_->FindResourceByFile(otherFile), nullptr);
}

TEST_F(SectionManagerTest, TheDefinitionFileDeclaresSectionsThatShareFiles) {
    WriteTestFile("media/properties/resources.xml", R"(<root>
  <Node id="ResourceDefaults" oggtowav="false"/>
  <Vector id="Sections">
    <Node name="first">
      <TextFile id="a" file="\Media\Text\A.TXT"/>
      <TextFile id="b" file="media/text/b.txt" archive="encryptfile"/>
      <Mystery id="m" file="media/text/m.txt"/>
      <Integer id="number" value="3"/>
    </Node>
    <Node name="second" auto="true">
      <TextFile id="same" file="media/text/a.txt" archive="zip"/>
    </Node>
  </Vector>
</root>)");
    WriteTestFile("media/text/a.txt", "text a");
    WriteTestFile("media/text/b.txt.!", Scrambled("text b"));
    TextFile::loads = 0;
    manager_->AddDefinitionFile("media/properties/resources.xml");
    manager_->LoadSections();

    EXPECT_FALSE(manager_->OggToWav());
    manager_->SetDeclared();
    LoadInBackground("first");
    WaitUntil([&] { return manager_->NextUnloadedSection(SectionManager::List::Pending, false) == nullptr; });

    EXPECT_EQ(TextOf(manager_->GetResource("a", "first")), "text a");
    EXPECT_EQ(TextOf(manager_->GetResource("b", "first")), "text b");
    EXPECT_EQ(manager_->GetResource("a", "first"), manager_->GetResource("same", "second"));
    EXPECT_EQ(manager_->GetResource("m", "first"), nullptr);
    EXPECT_EQ(manager_->GetResource("number", "first"), nullptr);
    EXPECT_EQ(TextFile::loads, 2);
}

TEST_F(SectionManagerTest, OggToWavIsOnUnlessTheDefinitionTurnsItOff) {
    struct Case {
        const char* defaults;
        bool expected;
    };
    const Case cases[] = {
        {R"(<Node id="ResourceDefaults" oggtowav="false"/>)", false},
        {R"(<Node id="ResourceDefaults" oggtowav=""/>)", false},
        {R"(<Node id="ResourceDefaults" oggtowav="yes"/>)", true},
        {R"(<Node id="ResourceDefaults"/>)", true},
        {"", true},
    };
    for (const Case& c : cases) {
        SectionManager::Stop();
        SectionManager::Start();
        WriteTestFile("resources.xml", std::string("<root>") + c.defaults + "</root>");
        SectionManager::Instance()->AddDefinitionFile("resources.xml");
        SectionManager::Instance()->LoadSections();
        EXPECT_EQ(SectionManager::Instance()->OggToWav(), c.expected) << c.defaults;
    }
}

TEST_F(SectionManagerTest, LookupsAndRemovalsRaceSafelyWithTheLoader) {
    std::vector<std::string> ids;
    for (int i = 0; i < 20; ++i) {
        ids.push_back("r" + std::to_string(i));
    }
    manager_->SetDeclared();
    for (int round = 0; round < 20; ++round) {
        const std::string name = "s" + std::to_string(round % 3);
        manager_->AddSection(MakeSection(name, ids, round % 2 == 0));
        manager_->RequestSection(name);
        for (const std::string& id : ids) {
            ScopedLock data(manager_->DataLock());
            const std::string text = TextOf(manager_->GetResource(id, name));
            EXPECT_TRUE(text == "<none>" || text == id) << text;
        }
        manager_->GetLoadProgress();
        manager_->RemoveSection(name, round % 4 == 1);
    }
}

// A loader stuck in a load is given up on once: later waits do not each
// cost the stall limit again, until a load ends.
TEST_F(SectionManagerTest, AStuckLoaderIsWaitedForOnlyUntilItIsSeenStuck) {
    // Far above the quick wait and the 20 ms load below, even on a machine
    // busy enough to delay a thread's wake-up.
    constexpr auto kLimit = std::chrono::milliseconds(400);
    manager_->SetStallLimitForTesting(kLimit);
    LoadGate gate;
    StartGatedLoad(gate);
    auto timed = [this](bool& finished) {
        const auto start = std::chrono::steady_clock::now();
        finished = manager_->FinishLoadWork();
        return std::chrono::steady_clock::now() - start;
    };
    bool finished = true;
    EXPECT_GE(timed(finished), kLimit);
    EXPECT_FALSE(finished);
    EXPECT_LT(timed(finished), kLimit);
    EXPECT_FALSE(finished);
    // Once loads end again, so do the waits: for a slow load as for a quick one.
    gate.Open();
    WaitUntil([&] { return !manager_->HasLoadWork(); });
    LoadGate slowGate;
    auto* slow = new Section("slow", false);
    WriteTestFile("slow/b.txt", "b");
    slow->AddResource("b", new TestResource("slow/b.txt", journal_, &slowGate));
    manager_->AddSection(slow);
    std::thread opener([&slowGate] {
        slowGate.WaitForArrival();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        slowGate.Open();
    });
    ASSERT_TRUE(manager_->RequestSection("slow"));
    EXPECT_TRUE(manager_->FinishLoadWork());
    EXPECT_EQ(TextOf(manager_->GetResource("b", "slow")), "b");
    opener.join();
}

// Scripted runs use the virtual clock: however long the loader takes in real
// time, a wait for loading moves no game time and a section asked for is
// there when the answer comes.
TEST_F(SectionManagerTest, OnTheVirtualClockLoadingTakesNoGameTime) {
    setenv("WORDRAIL_CLOCK", "virtual", 1);
    platform::ReloadRunOptionsForTesting();
    LoadGate backgroundGate;
    LoadGate askedGate;
    auto* background = new Section("background", true);
    WriteTestFile("background/a.txt", "a");
    background->AddResource("a", new TestResource("background/a.txt", journal_, &backgroundGate));
    manager_->AddSection(background);
    auto* asked = new Section("asked", false);
    WriteTestFile("asked/b.txt", "b");
    asked->AddResource("b", new TestResource("asked/b.txt", journal_, &askedGate));
    manager_->AddSection(asked);
    // Each load is held for a while of real time.
    auto openLater = [](LoadGate& gate) {
        return std::thread([&gate] {
            gate.WaitForArrival();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            gate.Open();
        });
    };
    std::thread backgroundOpener = openLater(backgroundGate);
    std::thread askedOpener = openLater(askedGate);
    manager_->SetDeclared();

    const uint32_t start = platform::TickCountMs();
    EXPECT_TRUE(WaitForLoading([&] { return manager_->GetResource("a", "background") != nullptr; }, 5000));
    EXPECT_EQ(platform::TickCountMs(), start);
    EXPECT_FALSE(manager_->RequestSection("asked"));
    EXPECT_EQ(TextOf(manager_->GetResource("b", "asked")), "b");
    EXPECT_EQ(platform::TickCountMs(), start);

    backgroundOpener.join();
    askedOpener.join();
    unsetenv("WORDRAIL_CLOCK");
    platform::ReloadRunOptionsForTesting();
}


}  // namespace
