#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/foundation/TimerListenerList.h"

namespace {

// Logs its hooks and updates; an optional action runs inside Update.
class LoggingService : public Service {
public:
    LoggingService(std::string name, std::string* log) : name_(std::move(name)), log_(log) {}
    ~LoggingService() override { *log_ += name_ + ".gone "; }

    void OnStart() override { *log_ += name_ + ".start "; }
    void Update(uint32_t elapsedMs) override {
        *log_ += name_ + "." + std::to_string(elapsedMs) + " ";
        if (action) {
            action();
        }
    }
    void OnStop() override { *log_ += name_ + ".stop "; }

    std::function<void()> action;

private:
    std::string name_;
    std::string* log_;
};

TEST(TimerListenerListTest, UpdatesInOrderAndStartsOnceAtTheFirstActiveFrame) {
    std::string log;
    Ref<LoggingService> a(new LoggingService("a", &log)), b(new LoggingService("b", &log));
    Ref<TimerListenerList> list(new TimerListenerList());
    list->AddListener(a.Get());
    list->AddListener(b.Get());
    EXPECT_TRUE(a->IsRegistered());
    b->SetActive(false);
    list->Dispatch(16);
    b->SetActive(true);
    list->Dispatch(17);
    EXPECT_EQ(log, "a.start a.16 a.17 b.start b.17 ");
    EXPECT_EQ(list->Count(), 2);

    log.clear();
    list.Reset();
    EXPECT_EQ(log, "a.stop b.stop ");
    EXPECT_FALSE(a->IsRegistered());
}

TEST(TimerListenerListTest, ARemovalRequestHandsOverToTheSuccessorInTheSameFrame) {
    std::string log;
    Ref<TimerListenerList> list(new TimerListenerList());
    Ref<LoggingService> scene(new LoggingService("scene", &log)), other(new LoggingService("other", &log));
    list->AddListener(scene.Get());
    list->AddListener(other.Get());
    scene->SetSuccessor(new LoggingService("next", &log));
    scene->SetRemovalRequested(true);
    list->Dispatch(10);
    EXPECT_EQ(log, "scene.stop other.start other.10 next.start next.10 ");
    EXPECT_EQ(scene->GetSuccessor(), nullptr);
    EXPECT_FALSE(scene->IsRegistered());
    EXPECT_EQ(list->Count(), 2);
}

TEST(TimerListenerListTest, ServicesMayRemoveOthersAndThemselvesDuringADispatch) {
    std::string log;
    Ref<TimerListenerList> list(new TimerListenerList());
    auto* first = new LoggingService("first", &log);
    auto* second = new LoggingService("second", &log);
    auto* third = new LoggingService("third", &log);
    list->AddListener(first);
    list->AddListener(second);
    list->AddListener(third);
    // The list holds the only references, so removal destroys them.
    first->action = [&] {
        list->RemoveListener(second);
        list->RemoveListener(first);
    };
    list->Dispatch(5);
    EXPECT_EQ(log, "first.start first.5 second.stop second.gone first.stop first.gone third.start third.5 ");
    EXPECT_EQ(list->Count(), 1);
}

TEST(ServiceTest, DestructionReleasesTheSuccessor) {
    std::string log;
    Ref<LoggingService> service(new LoggingService("s", &log));
    EXPECT_TRUE(service->IsActive());
    service->SetSuccessor(new LoggingService("next", &log));
    service.Reset();
    EXPECT_EQ(log, "s.gone next.gone ");
}

}  // namespace
