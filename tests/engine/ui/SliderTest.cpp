#include <limits>

#include "ControlTestSupport.h"
#include "engine/ui/Button.h"
#include "engine/ui/Slider.h"

namespace {

// A horizontal slider at (100, 50), 40 x 10, whose 2 x 2 knob runs from
// x 0 to x 38, reporting to `log_`.
class SliderTest : public UiTest {
protected:
    Ref<Slider> MakeSlider(const std::string& extra = "") {
        Ref<Slider> slider = Build<Slider>(
            R"(<Slider id="it" x="100" y="50" width="40" height="10" )" + extra +
            R"(><Button id="button" image="KNOB" section="ui"/>)"
            R"(<Button id="incbutton" image="KNOB" section="ui"/>)"
            R"(<Button id="decbutton" image="KNOB" section="ui"/></Slider>)");
        slider->SetCallback(&log_, HandlerLog::Record);
        return slider;
    }

    static int32_t KnobX(const Slider& slider) { return slider.GetKnobHolder()->GetX(); }
    static int32_t KnobY(const Slider& slider) { return slider.GetKnobHolder()->GetY(); }

    HandlerLog log_;
};

TEST_F(SliderTest, DefinitionBuildsKnobTrackAndArrows) {
    const Ref<Slider> slider = MakeSlider(R"(minvalue="2" maxvalue="4.5")");
    ASSERT_NE(slider->GetKnob(), nullptr);
    EXPECT_EQ(slider->GetKnob()->GetParent(), slider->GetKnobHolder());
    EXPECT_FLOAT_EQ(slider->GetMinimum(), 2.0f);
    EXPECT_FLOAT_EQ(slider->GetMaximum(), 4.5f);
    slider->SetValue(4.5f);
    slider->PlaceKnob();
    EXPECT_EQ(KnobX(*slider), 38);  // track end = width - knob width

    const Button* decrease = slider->GetDecreaseButton();
    const Button* increase = slider->GetIncreaseButton();
    ASSERT_NE(decrease, nullptr);
    ASSERT_NE(increase, nullptr);
    EXPECT_EQ(decrease->GetAnchorKind(), Sprite::kRight);
    EXPECT_EQ(decrease->GetX(), 0);
    EXPECT_EQ(decrease->GetY(), 5);
    EXPECT_EQ(increase->GetAnchorKind(), Sprite::kLeft);
    EXPECT_EQ(increase->GetX(), 40);

    // The arrows step a tenth of the range.
    ASSERT_NE(decrease->GetCallbackFunction(), nullptr);
    const_cast<Button*>(decrease)->Invoke(const_cast<Button*>(decrease));
    EXPECT_FLOAT_EQ(slider->GetValue(), 4.25f);
    EXPECT_EQ(log_.calls, 1);

    // Offsets across a vertical track.
    const Ref<Slider> vertical = MakeSlider(R"(vertical="true" offset1="3" offset2="5")");
    vertical->SetValue(1.0f);
    vertical->PlaceKnob();
    EXPECT_EQ(KnobX(*vertical), 5);
    EXPECT_EQ(KnobY(*vertical), 8);
}

TEST_F(SliderTest, PlaceKnobMapsValueOntoTheTrack) {
    struct Case {
        const char* what;
        float minimum, maximum, value;
        float endX;
        int32_t knobX;
        float valueAfter;
    };
    const std::vector<Case> cases = {
        {"in range", 0.0f, 1.0f, 0.25f, 38.0f, 9, 0.25f},
        {"above the maximum", 0.0f, 1.0f, 1.5f, 38.0f, 57, 1.5f},
        {"below the minimum", 0.0f, 1.0f, -0.5f, 38.0f, 19, -0.5f},
        {"minimum above maximum", 1.0f, 0.0f, 0.25f, 38.0f, 28, 0.25f},
        {"minimum equals maximum", 3.0f, 3.0f, 7.0f, 38.0f, 0, 3.0f},
        {"far past the maximum", 0.0f, 1.0f, 1e30f, 38.0f, std::numeric_limits<int32_t>::max(), 1e30f},
        {"track of length 0", 0.0f, 1.0f, 0.5f, 0.0f, 0, 0.5f},
    };
    const Ref<Slider> slider = MakeSlider();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        slider->SetRange(c.minimum, c.maximum);
        slider->SetTrack(0.0f, 0.0f, c.endX, 0.0f);
        slider->SetValue(c.value);
        slider->PlaceKnob();
        EXPECT_EQ(KnobX(*slider), c.knobX);
        EXPECT_FLOAT_EQ(slider->GetValue(), c.valueAfter);
    }
}

TEST_F(SliderTest, DraggingTheKnobClampsAtBothEnds) {
    const Ref<Slider> slider = MakeSlider();
    // Grab the knob (at 100..101) by its right column: it does not jump.
    EXPECT_TRUE(slider->OnLButtonDown(101, 51, 0, false));
    EXPECT_EQ(KnobX(*slider), 0);
    EXPECT_EQ(slider->GetKnob()->GetState(), Button::kPressed);
    EXPECT_FALSE(slider->OnMouseMove(120, 80, 0x1));
    EXPECT_EQ(KnobX(*slider), 19);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.5f);
    slider->OnMouseMove(500, 51, 0x1);
    EXPECT_EQ(KnobX(*slider), 38);
    EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
    slider->OnMouseMove(-500, 51, 0x1);
    EXPECT_EQ(KnobX(*slider), 0);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
    EXPECT_EQ(log_.calls, 4);
    EXPECT_EQ(log_.sender, slider.Get());
    EXPECT_TRUE(slider->OnLButtonUp(101, 51, 0));
    EXPECT_EQ(slider->GetKnob()->GetState(), Button::kOver);

    // A click on the bare track puts the knob's corner there.
    EXPECT_TRUE(slider->OnLButtonDown(119, 55, 0, false));
    EXPECT_EQ(KnobX(*slider), 19);
    EXPECT_FALSE(slider->OnLButtonUp(300, 300, 0));
    EXPECT_EQ(slider->GetKnob()->GetState(), Button::kNormal);
}

TEST_F(SliderTest, ATrackWithoutLengthOrRangeHoldsTheKnobAtTheStart) {
    for (const bool zeroRange : {false, true}) {
        SCOPED_TRACE(zeroRange ? "no range" : "no length");
        const Ref<Slider> slider = MakeSlider(R"(minvalue="1" maxvalue="2")");
        if (zeroRange) {
            slider->SetRange(1.0f, 1.0f);
        } else {
            slider->SetTrack(5.0f, 0.0f, 5.0f, 0.0f);
        }
        slider->OnLButtonDown(120, 55, 0, false);
        slider->OnMouseMove(130, 55, 0x1);
        EXPECT_EQ(KnobX(*slider), zeroRange ? 30 : 5);  // a range of 0 still lets the knob travel
        if (!zeroRange) {
            EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
        }
        slider->PlaceKnob();
        EXPECT_EQ(KnobX(*slider), zeroRange ? 0 : 5);
        EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
    }
}

TEST_F(SliderTest, ArrowsStepATenthAndStopAtTheirOwnEndAndStillCallBack) {
    const struct {
        const char* range;
        float from;
        bool increase;
        float to;
    } cases[] = {
        {"", 0.95f, true, 1.0f},
        {"", 1.0f, true, 1.0f},  // at the maximum it stays, and still calls back
        {"", 0.5f, true, 0.6f},
        {"", 0.05f, false, 0.0f},
        {"", 0.5f, false, 0.4f},
        // A range that runs downwards: increase heads for the maximum, decrease for the minimum.
        {R"(minvalue="1" maxvalue="0")", 0.5f, true, 0.4f},
        {R"(minvalue="1" maxvalue="0")", 0.05f, true, 0.0f},
        {R"(minvalue="1" maxvalue="0")", 0.5f, false, 0.6f},
        {R"(minvalue="1" maxvalue="0")", 0.95f, false, 1.0f},
    };
    for (const auto& c : cases) {
        const Ref<Slider> slider = MakeSlider(c.range);
        slider->SetValue(c.from);
        log_.calls = 0;
        c.increase ? slider->Increase() : slider->Decrease();
        EXPECT_NEAR(slider->GetValue(), c.to, 1e-6f) << c.range << " " << c.from << " " << c.increase;
        EXPECT_EQ(log_.calls, 1) << c.range << " " << c.from;
    }
    const Ref<Slider> slider = MakeSlider();
    slider->SetValue(1.0f);
    slider->Increase();
    EXPECT_EQ(KnobX(*slider), 38);
}

TEST_F(SliderTest, DisabledSliderIgnoresInputButTakesPressesInside) {
    const Ref<Slider> slider = MakeSlider(R"(enabled="false")");
    EXPECT_FALSE(slider->GetKnob()->IsEnabled());
    EXPECT_FALSE(slider->GetIncreaseButton()->IsEnabled());
    EXPECT_TRUE(slider->OnLButtonDown(120, 55, 0, false));
    EXPECT_FALSE(slider->OnLButtonDown(99, 55, 0, false));
    slider->OnMouseMove(130, 55, 0x1);
    EXPECT_EQ(KnobX(*slider), 0);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
    EXPECT_EQ(log_.calls, 0);
    slider->SetEnabled(true);
    EXPECT_TRUE(slider->GetDecreaseButton()->IsEnabled());
}

}  // namespace
