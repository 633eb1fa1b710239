#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/foundation/Callback.h"
#include "engine/foundation/ListenerList.h"
#include "engine/foundation/Ref.h"

namespace {

// Records each call in a shared log and runs an optional action inside it.
class Recorder : public MessageListener {
public:
    Recorder(std::string name, std::string* log) : name_(std::move(name)), log_(log) {}

    void OnMessage(uint32_t message, uint32_t first, uint32_t second) override {
        *log_ += name_ + ":" + std::to_string(message) + "," + std::to_string(first) + "," + std::to_string(second) + " ";
        if (action) {
            action();
        }
    }

    std::function<void()> action;

private:
    std::string name_;
    std::string* log_;
};

TEST(ListenerListTest, DispatchCallsEachListenerOnceInOrder) {
    std::string log;
    Recorder a("a", &log), b("b", &log);
    Ref<ListenerList> list(new ListenerList());
    list->Dispatch(1, 2, 3);
    EXPECT_EQ(log, "");

    list->AddListener(&a);
    list->AddListener(&b);
    list->AddListener(&a);
    EXPECT_EQ(list->Count(), 2);
    list->Dispatch(0x201, 1, 0x00640032);
    EXPECT_EQ(log, "a:513,1,6553650 b:513,1,6553650 ");

    Recorder absent("x", &log);
    list->RemoveListener(&absent);
    list->RemoveListener(&a);
    log.clear();
    list->Dispatch(7, 0, 0);
    EXPECT_EQ(log, "b:7,0,0 ");
}

TEST(ListenerListTest, ChangesDuringADispatchKeepTheListConsistent) {
    std::string log;
    Recorder first("first", &log), second("second", &log), third("third", &log), added("added", &log);
    Ref<ListenerList> list(new ListenerList());
    list->AddListener(&first);
    list->AddListener(&second);
    list->AddListener(&third);
    // The first listener removes itself and the third and adds another.
    first.action = [&] {
        list->RemoveListener(&first);
        list->RemoveListener(&third);
        list->AddListener(&added);
        list->AddListener(&added);
    };
    list->Dispatch(1, 0, 0);
    EXPECT_EQ(log, "first:1,0,0 second:1,0,0 ");
    EXPECT_EQ(list->Count(), 2);

    log.clear();
    first.action = nullptr;
    list->Dispatch(2, 0, 0);
    EXPECT_EQ(log, "second:2,0,0 added:2,0,0 ");
}

TEST(ListenerListTest, RemovingThenAddingDuringADispatchMovesTheListenerLast) {
    std::string log;
    Recorder a("a", &log), b("b", &log);
    Ref<ListenerList> list(new ListenerList());
    list->AddListener(&a);
    list->AddListener(&b);
    int calls = 0;
    a.action = [&] {
        if (++calls == 1) {
            list->RemoveListener(&a);
            list->AddListener(&a);
        } else if (calls == 2) {
            // A nested dispatch sees the same consistent list.
            list->Dispatch(9, 0, 0);
        }
    };
    list->Dispatch(1, 0, 0);
    EXPECT_EQ(log, "a:1,0,0 b:1,0,0 ");
    log.clear();
    list->Dispatch(2, 0, 0);
    EXPECT_EQ(log, "b:2,0,0 a:2,0,0 b:9,0,0 a:9,0,0 ");
}

int AddArgument(void* context, int32_t argument) {
    return *static_cast<int*>(context) + argument;
}

TEST(CallbackTest, InvokeCallsTheBoundFunctionWithItsContext) {
    Callback callback;
    EXPECT_EQ(callback.Invoke(5), 0);
    int base = 40;
    callback.Bind(&base, AddArgument);
    EXPECT_EQ(callback.Invoke(2), 42);
    EXPECT_EQ(callback.GetContext(), &base);
}

}  // namespace
