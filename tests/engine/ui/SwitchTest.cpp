#include "ControlTestSupport.h"
#include "engine/ui/Switch.h"

namespace {

class SwitchTest : public UiTest {
protected:
    // A switch on an 8-frame strip at x, with its sounds; reports to `log`.
    Ref<Switch> MakeSwitch(int32_t x, const std::string& extra, HandlerLog* log) {
        Ref<Switch> made = Build<Switch>(R"(<Switch id="it" image="EIGHT" section="ui" x=")" + std::to_string(x) +
                                         R"(" onsound="ON" offsound="OFF" disabledsound="DISABLED" )"
                                         R"(soundsection="ui" )" + extra + "/>");
        if (log != nullptr) {
            made->SetCallback(log, HandlerLog::Record);
        }
        return made;
    }

    // A completed click at the switch's top-left corner.
    static bool Click(Switch& which) {
        const int32_t x = which.GetAbsoluteX();
        which.OnLButtonDown(x, 0, 0, false);
        return which.OnLButtonUp(x, 0, 0);
    }
};

TEST_F(SwitchTest, AFreeSwitchTogglesFiresAndSoundsEachWay) {
    HandlerLog log;
    const Ref<Switch> box = MakeSwitch(0, "", &log);
    EXPECT_EQ(box->GetFrameCount(), 8);
    EXPECT_TRUE(Click(*box));
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(box->GetCurrentFrame(), 4);
    EXPECT_TRUE(Click(*box));
    EXPECT_FALSE(box->IsChecked());
    EXPECT_EQ(log.calls, 2);
    EXPECT_EQ(log.sender, box.Get());
    EXPECT_EQ(Played(), (std::vector<std::string>{"ON", "OFF"}));
}

TEST_F(SwitchTest, GroupMembersUncheckEachOtherAcrossAllLiveSwitches) {
    HandlerLog first;
    HandlerLog second;
    HandlerLog other;
    const Ref<Switch> a = MakeSwitch(0, R"(groupid="1" checked="true")", &first);
    const Ref<Switch> b = MakeSwitch(10, R"(groupid="1")", &second);
    const Ref<Switch> c = MakeSwitch(20, R"(groupid="2" checked="true")", &other);
    const Ref<Switch> free = MakeSwitch(30, R"(checked="true")", nullptr);

    EXPECT_TRUE(Click(*b));
    EXPECT_TRUE(b->IsChecked());
    EXPECT_FALSE(a->IsChecked());
    EXPECT_TRUE(c->IsChecked());
    EXPECT_TRUE(free->IsChecked());
    EXPECT_EQ(first.calls, 0);
    EXPECT_EQ(second.calls, 1);
    EXPECT_EQ(Played(), std::vector<std::string>{"ON"});

    // The checked member stays checked and quiet, unless it repeats.
    EXPECT_TRUE(Click(*b));
    EXPECT_TRUE(b->IsChecked());
    EXPECT_EQ(second.calls, 1);
    EXPECT_TRUE(Played().empty());
    b->SetRepeatFire(true);
    EXPECT_TRUE(Click(*b));
    EXPECT_TRUE(b->IsChecked());
    EXPECT_EQ(second.calls, 2);

    // A checked definition unchecks its group without firing anyone.
    const Ref<Switch> d = MakeSwitch(40, R"(groupid="1" checked="true")", nullptr);
    EXPECT_FALSE(b->IsChecked());
    EXPECT_EQ(second.calls, 2);
}

TEST_F(SwitchTest, SwitchesLeaveTheGlobalListWhenDestroyed) {
    const size_t before = Switch::AllSwitches().size();
    {
        const Ref<Switch> a = MakeSwitch(0, R"(groupid="5")", nullptr);
        EXPECT_EQ(Switch::AllSwitches().size(), before + 1);
    }
    EXPECT_EQ(Switch::AllSwitches().size(), before);
    const Ref<Switch> b = MakeSwitch(0, R"(groupid="5")", nullptr);
    b->SetChecked(true);  // no stale member to uncheck
    EXPECT_TRUE(b->IsChecked());
}

TEST_F(SwitchTest, DisabledSwitchShowsItsLookAndOnlyItsSound) {
    HandlerLog log;
    const Ref<Switch> box = MakeSwitch(0, R"(checked="true" enabled="false")", &log);
    EXPECT_EQ(box->GetCurrentFrame(), 7);
    EXPECT_TRUE(box->OnLButtonDown(0, 0, 0, false));  // a press inside is taken even so
    EXPECT_FALSE(box->OnLButtonUp(0, 0, 0));
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(log.calls, 0);
    EXPECT_EQ(Played(), std::vector<std::string>{"DISABLED"});
    EXPECT_EQ(box->GetState(), 1);

    box->SetEnabled(true);
    EXPECT_EQ(box->GetCurrentFrame(), 5);
    box->SetChecked(false);
    EXPECT_EQ(box->GetCurrentFrame(), 1);
    EXPECT_EQ(log.calls, 0);
}

TEST_F(SwitchTest, PointerMovesAndTheLinkedCaption) {
    const Ref<Switch> box = MakeSwitch(0, "", nullptr);
    const Ref<Sprite> caption(new Sprite(50, 0, 30, 4));
    box->SetLinkedNode(caption.Get());
    EXPECT_FALSE(box->OnMouseMove(60, 1, 0));
    EXPECT_EQ(box->GetState(), 1);
    EXPECT_TRUE(box->OnLButtonDown(60, 1, 0, false));
    EXPECT_FALSE(box->OnMouseMove(200, 1, 0x1));
    EXPECT_EQ(box->GetState(), 1);
    EXPECT_FALSE(box->OnLButtonUp(200, 1, 0));  // released off: nothing
    EXPECT_EQ(box->GetState(), 0);
    EXPECT_FALSE(box->IsChecked());
    box->OnLButtonDown(60, 1, 0, false);
    EXPECT_TRUE(box->OnLButtonUp(60, 1, 0));
    EXPECT_TRUE(box->IsChecked());
}

}  // namespace
