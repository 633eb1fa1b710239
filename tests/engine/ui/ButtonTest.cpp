#include <memory>

#include "ControlTestSupport.h"
#include "engine/scene/DisabledSpriteImageVector.h"
#include "engine/ui/Button.h"
#include "engine/ui/URLButton.h"
#include "platform/Backend.h"
#include "platform/KeyCodes.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

constexpr uint32_t kHeld = 0x1;

class ButtonTest : public UiTest {
protected:
    // A button on "STRIP" at (10, 20) with every sound, reporting to `log_`.
    Ref<Button> MakeButton(const std::string& extra = "") {
        Ref<Button> button = Build<Button>(
            R"(<Button id="it" image="STRIP" section="ui" x="10" y="20" clicksound="CLICK" disabledsound="DISABLED" )"
            R"(oversound="OVER" soundsection="ui" )" + extra + "/>");
        button->SetCallback(&log_, HandlerLog::Record);
        return button;
    }

    HandlerLog log_;
};

// Inside is (13, 21): the opaque column; outside is (30, 30).
struct PointerStep {
    char event;  // 'm' move, 'd' left down, 'u' left up
    bool inside;
    uint32_t flags;
    int32_t state;
    bool consumed;
};

TEST_F(ButtonTest, PressDragAndReleaseFollowTheStateMachine) {
    struct Script {
        const char* what;
        std::vector<PointerStep> steps;
        int fires;
    };
    const std::vector<Script> scripts = {
        {"press, drag off, drag back on, release",
         {{'m', true, 0, 1, false}, {'d', true, 0, 2, true}, {'m', false, kHeld, 1, false},
          {'m', true, kHeld, 2, false}, {'u', true, 0, 0, true}},
         1},
        {"press, drag off, release outside",
         {{'d', true, 0, 2, true}, {'m', false, kHeld, 1, false}, {'u', false, 0, 0, false}},
         0},
        {"release inside without a press",
         {{'m', true, 0, 1, false}, {'u', true, 0, 1, false}},
         0},
        {"pointer leaves with the button up",
         {{'m', true, 0, 1, false}, {'m', false, 0, 0, false}},
         0},
    };
    for (const Script& script : scripts) {
        SCOPED_TRACE(script.what);
        log_ = {};
        const Ref<Button> button = MakeButton();
        for (const PointerStep& step : script.steps) {
            const int32_t x = step.inside ? 13 : 30;
            const int32_t y = step.inside ? 21 : 30;
            bool consumed = false;
            switch (step.event) {
                case 'm': consumed = button->OnMouseMove(x, y, step.flags); break;
                case 'd': consumed = button->OnLButtonDown(x, y, step.flags, false); break;
                default: consumed = button->OnLButtonUp(x, y, step.flags); break;
            }
            EXPECT_EQ(button->GetState(), step.state) << step.event;
            EXPECT_EQ(button->GetCurrentFrame(), step.state) << step.event;
            EXPECT_EQ(consumed, step.consumed) << step.event;
        }
        EXPECT_EQ(log_.calls, script.fires);
        if (script.fires > 0) {
            EXPECT_EQ(log_.sender, button.Get());
        }
    }
}

TEST_F(ButtonTest, SoundsPlayForOverClickAndDisabledPress) {
    const Ref<Button> button = MakeButton();
    button->OnMouseMove(13, 21, 0);
    button->OnMouseMove(12, 22, 0);  // already over: no second over sound
    button->OnLButtonDown(13, 21, 0, false);
    EXPECT_EQ(Played(), (std::vector<std::string>{"OVER", "CLICK"}));

    button->OnLButtonUp(30, 30, 0);
    button->SetEnabled(false);
    EXPECT_EQ(button->GetCurrentFrame(), Button::kDisabledFrame);
    button->OnMouseMove(13, 21, 0);  // disabled: no over sound
    EXPECT_FALSE(button->OnLButtonDown(13, 21, 0, false));
    EXPECT_EQ(Played(), std::vector<std::string>{"DISABLED"});
    EXPECT_EQ(button->GetState(), Button::kPressed);
    EXPECT_EQ(button->GetCurrentFrame(), Button::kDisabledFrame);
    EXPECT_FALSE(button->OnLButtonUp(13, 21, 0));
    EXPECT_EQ(button->GetState(), Button::kOver);
    EXPECT_EQ(log_.calls, 0);

    button->SetEnabled(true);
    EXPECT_EQ(button->GetCurrentFrame(), Button::kOver);
}

TEST_F(ButtonTest, HitTestUsesMaskOrAlphaThreshold) {
    struct Case {
        const char* extra;
        int32_t column;  // of the frame at y 21
        bool hit;
    };
    const std::vector<Case> cases = {
        {"", 0, true},                          // threshold -1: transparent pixels hit too
        {R"(hitmaskthreshold="0")", 0, false},  // alpha 0
        {R"(hitmaskthreshold="0")", 1, true},   // alpha 1
        {R"(hitmaskthreshold="127")", 1, false},
        {R"(hitmaskthreshold="127")", 2, true},  // alpha 128 compares unsigned
        {R"(hitmaskthreshold="255")", 3, false},
        {R"(hitmask="MASK")", 1, false},  // low byte 0x80 is not above 128
        {R"(hitmask="MASK" hitmaskthreshold="300")", 2, true},  // the mask wins over the threshold
        {R"(hitmaskthreshold="-1")", 4, false},  // right of the frame
    };
    for (const Case& c : cases) {
        const Ref<Button> button = MakeButton(c.extra);
        EXPECT_EQ(button->HitTest(10 + c.column, 21), c.hit) << c.extra << " column " << c.column;
    }
    // The parent's position and the anchor move the frame.
    const Ref<Button> button = MakeButton(R"(hitmaskthreshold="0")");
    const Ref<GameNode> parent(new GameNode);
    parent->SetPosition(100, 0);
    parent->AddChild(button.Get());
    button->SetAnchorPoint(2.0f, 0.0f);
    EXPECT_FALSE(button->HitTest(112, 21));  // right of the frame
    EXPECT_TRUE(button->HitTest(111, 21));   // column 3
    EXPECT_TRUE(button->HitTest(109, 21));   // column 1
    EXPECT_FALSE(button->HitTest(108, 21));  // column 0, alpha 0
}

TEST_F(ButtonTest, FireKeyPressesAndItsReleaseAloneFires) {
    const Ref<Button> button = MakeButton(R"(firekeycode="#0D")");
    EXPECT_EQ(button->GetFireKeyCode(), static_cast<int32_t>(platform::VK_RETURN));
    EXPECT_TRUE(button->OnKeyUp(platform::VK_RETURN));
    EXPECT_EQ(log_.calls, 1);
    EXPECT_TRUE(button->OnKeyDown(platform::VK_RETURN));
    EXPECT_EQ(button->GetState(), Button::kPressed);
    EXPECT_FALSE(button->OnKeyDown(platform::VK_ESCAPE));
    EXPECT_TRUE(button->OnKeyUp(platform::VK_RETURN));
    EXPECT_EQ(button->GetState(), Button::kNormal);
    EXPECT_EQ(log_.calls, 2);

    button->SetEnabled(false);
    EXPECT_FALSE(button->OnKeyDown(platform::VK_RETURN));
    EXPECT_FALSE(button->OnKeyUp(platform::VK_RETURN));
    EXPECT_EQ(log_.calls, 2);

    // Without a fire key no key presses it.
    const Ref<Button> plain = MakeButton();
    EXPECT_FALSE(plain->OnKeyUp(0));
}

TEST_F(ButtonTest, DefinitionKeysAndFourFrames) {
    const Ref<Button> button = MakeButton(R"(enabled="false")");
    EXPECT_FALSE(button->IsEnabled());
    EXPECT_EQ(button->GetFrameCount(), 4);
    EXPECT_EQ(button->GetHeight(), 4);
    EXPECT_EQ(button->GetWrapStyle(), Sprite::kWrapSwitch);
    EXPECT_EQ(button->GetCurrentFrame(), Button::kDisabledFrame);
    ASSERT_TRUE(button->GetSourceRect());
    EXPECT_EQ(button->GetSourceRect()->y, 12);

    // Only "false" disables; a new image is cut into four frames again.
    const Ref<Button> enabled = MakeButton(R"(enabled="no")");
    EXPECT_TRUE(enabled->IsEnabled());
    enabled->SetState(Button::kOver);
    enabled->SetImage(FilledSurface(6, 40, 0xFF000000).Get());
    EXPECT_EQ(enabled->GetHeight(), 10);
    EXPECT_EQ(enabled->GetSourceRect()->y, 10);
}

TEST_F(ButtonTest, DisabledPictureOfASpriteImageVectorIsAButton) {
    const Ref<DisabledSpriteImageVector> vector = Build<DisabledSpriteImageVector>(
        R"(<DisabledSpriteImageVector id="it" image="STRIP" imageDisabled="STRIP" section="ui" x="3"/>)");
    ASSERT_TRUE(vector);
    const Button* disabled = ObjectCast<Button>(vector->GetDisabledSprite());
    ASSERT_NE(disabled, nullptr);
    EXPECT_EQ(disabled->GetX(), 3);
    EXPECT_EQ(disabled->GetFrameCount(), 4);
}

class URLButtonTest : public ButtonTest {
protected:
    URLButtonTest() {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::SetActiveBackend(std::move(backend));
    }
    ~URLButtonTest() override { platform::SetActiveBackend(nullptr); }

    platform::HeadlessBackend* backend_ = nullptr;
};

TEST_F(URLButtonTest, FiringOpensTheAddressThenCallsTheHandler) {
    const Ref<URLButton> button =
        Build<URLButton>(R"(<URLButton id="it" image="STRIP" section="ui" url="https://example.org/rail" )"
                         R"(file="no/such/picture.png"/>)");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GetWidth(), 4);  // the missing file keeps the sprite's image
    button->SetCallback(&log_, HandlerLog::Record);
    button->OnLButtonDown(1, 1, 0, false);
    button->OnLButtonUp(1, 1, 0);
    EXPECT_EQ(backend_->OpenedUrls(), std::vector<std::string>{"https://example.org/rail"});
    EXPECT_EQ(log_.calls, 1);

    // Addresses other than web and mail ones are refused.
    const Ref<URLButton> local =
        Build<URLButton>(R"(<URLButton id="it" image="STRIP" section="ui" url="file:///etc/passwd"/>)");
    local->Invoke(local.Get());
    EXPECT_EQ(backend_->OpenedUrls().size(), 1u);
}

}  // namespace
