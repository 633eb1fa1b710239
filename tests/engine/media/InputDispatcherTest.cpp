#include "engine/media/InputDispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/WindowTypes.h"

using namespace platform;

namespace {

// Records what reaches it as "name:event" lines; consumes what it is told to.
class Recorder : public InputListener {
public:
    Recorder(std::string name, std::vector<std::string>& log, bool consumes = true)
        : name_(std::move(name)), log_(log), consumes_(consumes) {}

    bool OnKeyDown(int32_t key) override { return Note("down " + std::to_string(key)); }
    bool OnKeyUp(int32_t key) override { return Note("up " + std::to_string(key)); }
    bool OnChar(int32_t c) override { return Note("char " + std::to_string(c)); }
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override {
        return Note("move " + Position(x, y, flags));
    }
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool dbl) override {
        return Note(std::string(dbl ? "ldbl " : "ldown ") + Position(x, y, flags));
    }
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override {
        return Note("lup " + Position(x, y, flags));
    }
    bool OnRButtonDown(int32_t x, int32_t y, uint32_t flags, bool dbl) override {
        return Note(std::string(dbl ? "rdbl " : "rdown ") + Position(x, y, flags));
    }
    bool OnMButtonUp(int32_t x, int32_t y, uint32_t flags) override {
        return Note("mup " + Position(x, y, flags));
    }
    void SetInputEnabled(bool enabled) override { enabled_ = enabled; }
    bool IsInputEnabled() const override { return enabled_; }

    std::function<void()> onEvent;

private:
    static std::string Position(int32_t x, int32_t y, uint32_t flags) {
        return std::to_string(x) + "," + std::to_string(y) + "/" + std::to_string(flags);
    }
    bool Note(const std::string& what) {
        log_.push_back(name_ + ":" + what);
        if (onEvent) onEvent();
        return consumes_;
    }

    std::string name_;
    std::vector<std::string>& log_;
    bool consumes_;
    bool enabled_ = true;
};

class InputDispatcherTest : public ::testing::Test {
protected:
    void SetUp() override { dispatcher_->AddList(scene_.Get()); }
    std::vector<std::string> log_;
    Ref<InputDispatcher> dispatcher_ = new InputDispatcher();
    Ref<InputListenerList> scene_ = new InputListenerList();
};

TEST_F(InputDispatcherTest, QueuedMessagesAreDeliveredInOrderOnceAFrame) {
    Recorder listener("scene", log_);
    scene_->AddListener(&listener, false);
    const Message messages[] = {
        {0, WM_KEYDOWN, 'A', 0},          {0, WM_CHAR, 'a', 0},
        {0, WM_KEYUP, 'A', 0},            {0, WM_SYSKEYDOWN, 13, 0},
        {0, WM_SYSKEYUP, 13, 0}, {0, WM_SETFOCUS, 0, 0},
        {0, WM_MOUSEWHEEL, 0, 0},         {0, WM_MOUSEMOVE, MK_LBUTTON, PackPoint(10, 20)},
        {0, WM_LBUTTONDOWN, MK_LBUTTON, PackPoint(10, 20)},
        {0, WM_LBUTTONUP, 0, PackPoint(10, 20)},
        {0, WM_LBUTTONDBLCLK, MK_LBUTTON, PackPoint(10, 20)},
        {0, WM_RBUTTONDBLCLK, MK_RBUTTON, PackPoint(3, 4)},
        {0, WM_MBUTTONUP, 0, PackPoint(-5, 7)},
    };
    for (const Message& m : messages) dispatcher_->OnMessage(m.message, m.wParam, m.lParam);
    EXPECT_TRUE(log_.empty());
    // Key, character and mouse messages wait; system keys wait and are dropped.
    EXPECT_EQ(dispatcher_->QueuedEvents().size(), 11u);
    dispatcher_->DispatchFrame();
    EXPECT_EQ(log_, (std::vector<std::string>{
                        "scene:down 65", "scene:char 97", "scene:up 65", "scene:move 10,20/1",
                        "scene:ldown 10,20/1", "scene:lup 10,20/0", "scene:ldbl 10,20/1",
                        "scene:rdbl 3,4/2", "scene:mup 0,7/0"}));
    EXPECT_TRUE(dispatcher_->QueuedEvents().empty());
}

TEST_F(InputDispatcherTest, InactiveDispatcherQueuesNothingAndDropsItsQueue) {
    dispatcher_->QueueMessage(WM_KEYDOWN, 'A', 0);
    dispatcher_->SetActive(false);
    EXPECT_TRUE(dispatcher_->QueuedEvents().empty());
    dispatcher_->QueueMessage(WM_KEYDOWN, 'B', 0);
    EXPECT_TRUE(dispatcher_->QueuedEvents().empty());
}

TEST_F(InputDispatcherTest, ConsumedEventsStopAndDisabledListenersAreSkipped) {
    Recorder disabled("disabled", log_), passes("passes", log_, false), takes("takes", log_),
        late("late", log_);
    disabled.SetInputEnabled(false);
    for (Recorder* r : {&disabled, &passes, &takes, &late}) scene_->AddListener(r, false);
    EXPECT_TRUE(dispatcher_->OnKeyDown(1));
    EXPECT_EQ(log_, (std::vector<std::string>{"passes:down 1", "takes:down 1"}));
}

TEST_F(InputDispatcherTest, ModalAndCapturedListsDecideWhoHearsAnEvent) {
    Recorder sceneButton("scene", log_), dialogButton("button", log_, false),
        dialogFrame("dialog", log_, false);
    scene_->AddListener(&sceneButton, false);
    Ref<InputListenerList> dialog = new InputListenerList();
    dialog->AddListener(&dialogButton, false);
    dialog->SetOwner(&dialogFrame);
    dispatcher_->AddList(dialog.Get());   // the newest list is served first

    dispatcher_->OnLButtonDown(1, 1, 0, false);
    EXPECT_EQ(log_, (std::vector<std::string>{"button:ldown 1,1/0", "dialog:ldown 1,1/0",
                                              "scene:ldown 1,1/0"}));
    log_.clear();
    dialog->SetBlocking(true);   // modal: nothing passes to the scene
    dispatcher_->OnLButtonDown(1, 1, 0, false);
    EXPECT_EQ(log_, (std::vector<std::string>{"button:ldown 1,1/0", "dialog:ldown 1,1/0"}));
    log_.clear();
    dialog->SetOpenToAll(false);   // dragged: the owner alone
    dispatcher_->OnMouseMove(2, 2, MK_LBUTTON);
    EXPECT_EQ(log_, (std::vector<std::string>{"dialog:move 2,2/1"}));
    log_.clear();
    dispatcher_->RemoveList(dialog.Get());
    dispatcher_->OnMouseMove(2, 2, 0);
    EXPECT_EQ(log_, (std::vector<std::string>{"scene:move 2,2/0"}));
}

// Keys act on the top dialog alone, and a dialog just shown takes none for
// a while of frame time; clicks are neither kept nor held.
TEST_F(InputDispatcherTest, ADialogKeepsItsKeysAndHoldsThemForAWhileWhenShown) {
    Recorder sceneButton("scene", log_, false), lowerButton("lower", log_, false), topButton("top", log_, false);
    scene_->AddListener(&sceneButton, false);
    Ref<InputListenerList> lower = new InputListenerList();
    Ref<InputListenerList> top = new InputListenerList();
    lower->AddListener(&lowerButton, false);
    top->AddListener(&topButton, false);
    dispatcher_->AddList(lower.Get());
    dispatcher_->AddList(top.Get());
    lower->SetKeepsKeys(true);

    dispatcher_->OnKeyDown(13);
    dispatcher_->OnChar('a');
    EXPECT_EQ(log_, (std::vector<std::string>{"top:down 13", "lower:down 13", "top:char 97", "lower:char 97"}));
    log_.clear();
    top->SetKeepsKeys(true);
    top->HoldKeys(500);
    dispatcher_->OnKeyDown(13);
    dispatcher_->OnKeyUp(13);
    dispatcher_->OnLButtonDown(1, 1, 0, false);
    EXPECT_EQ(log_, (std::vector<std::string>{"top:ldown 1,1/0", "lower:ldown 1,1/0", "scene:ldown 1,1/0"}));
    log_.clear();
    dispatcher_->PassTime(499);
    dispatcher_->OnKeyDown(27);
    EXPECT_TRUE(log_.empty());
    dispatcher_->PassTime(1);
    dispatcher_->OnKeyDown(27);
    EXPECT_EQ(log_, (std::vector<std::string>{"top:down 27"}));
    log_.clear();
    // Characters press no button: a holding list still takes them (typed
    // text is kept); a list that lets keys through passes them on.
    top->HoldKeys(500);
    dispatcher_->OnChar('b');
    top->SetKeepsKeys(false);
    dispatcher_->OnKeyDown(13);
    EXPECT_EQ(log_, (std::vector<std::string>{"top:char 98", "lower:down 13"}));
}

TEST_F(InputDispatcherTest, HandlersMayChangeTheListsWhileAnEventIsDelivered) {
    Recorder opener("opener", log_, false), removed("removed", log_), last("last", log_, false);
    Recorder dialogListener("dialog", log_, false);
    Ref<InputListenerList> dialog = new InputListenerList();
    dialog->AddListener(&dialogListener, false);
    scene_->AddListener(&opener, false);
    scene_->AddListener(&removed, false);
    scene_->AddListener(&last, false);
    opener.onEvent = [&] {
        scene_->RemoveListener(&removed);
        dispatcher_->AddList(dialog.Get());
        dispatcher_->QueueMessage(WM_KEYUP, 9, 0);   // queued meanwhile: same frame
        opener.onEvent = nullptr;
    };
    dispatcher_->QueueMessage(WM_KEYDOWN, 9, 0);
    dispatcher_->DispatchFrame();
    EXPECT_EQ(log_, (std::vector<std::string>{"opener:down 9", "last:down 9", "dialog:up 9",
                                              "opener:up 9", "last:up 9"}));

    // A list hidden (and gone) while its own listener handles the event.
    log_.clear();
    dialogListener.onEvent = [&] {
        dispatcher_->RemoveList(dialog.Get());
        dialog.Reset();
    };
    dispatcher_->OnChar(65);
    EXPECT_EQ(log_, (std::vector<std::string>{"dialog:char 65", "opener:char 65",
                                              "last:char 65"}));
}

}  // namespace
