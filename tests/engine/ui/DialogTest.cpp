#include "ControlTestSupport.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/ui/Button.h"
#include "engine/ui/Dialog.h"
#include "engine/ui/Painter.h"
#include "engine/ui/Slider.h"
#include "engine/ui/Switch.h"

namespace {

// Fills the buffer with one colour and counts its paintings; sizes round up
// to even numbers.
class CountingPainter : public Painter {
public:
    CountingPainter() : Painter(nullptr) {}
    void Paint(Surface& target) override {
        ++paints;
        auto* pixels = ObjectCast<MemorySurface>(&target);
        ASSERT_NE(pixels, nullptr);
        for (int32_t y = 0; y < target.GetHeight(); ++y) {
            std::fill_n(pixels->Pixels32() + pixels->PixelIndex(0, y), target.GetWidth(), 0xFF102030u);
        }
    }
    int32_t FitWidth(int32_t width) override { return width + width % 2; }
    int32_t FitHeight(int32_t height) override { return height + height % 2; }
    int paints = 0;
};

class DialogTest : public UiTest {
protected:
    // A dialog at (20, 10), 30 x 20.
    Ref<Dialog> MakeDialog(const std::string& attributes, const std::string& components = "") {
        Ref<Dialog> dialog = Build<Dialog>(R"(<Dialog id="it" x="20" y="10" width="30" height="20" )" + attributes +
                                           "><Vector id=\"components\">" + components + "</Vector></Dialog>");
        return dialog;
    }

    void DrawOnce(Dialog& dialog) {
        const Ref<MemorySurface> screen = CreateMemorySurface(80, 60);
        dialog.Draw(*screen->CreateCanvas());
    }
};

TEST_F(DialogTest, APressBecomesADragOnlyBeyondThreePixels) {
    struct Case {
        int32_t dx, dy;
        bool drags;
    } const cases[] = {{3, 0, false}, {0, -3, false}, {4, 0, true}, {0, 4, true}, {-4, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        const Ref<Dialog> dialog = MakeDialog(R"(movable="true")");
        dialog->SetActive(true);
        EXPECT_TRUE(dialog->OnLButtonDown(25, 15, 0, false));
        EXPECT_FALSE(dialog->OnMouseMove(25 + c.dx, 15 + c.dy, 0));
        EXPECT_EQ(dialog->GetDragState(), c.drags ? Dialog::kDragging : Dialog::kPressed);
        EXPECT_EQ(dialog->IsActive(), !c.drags);  // a dragged dialog stops acting
        // The move that starts the drag already carries the dialog along.
        const int32_t steps = c.drags ? 1 : 0;
        EXPECT_EQ(dialog->GetX(), 20 + steps * c.dx);
        EXPECT_EQ(dialog->GetY(), 10 + steps * c.dy);
        if (c.drags) {
            dialog->OnMouseMove(25 + 2 * c.dx, 15 + 2 * c.dy, 0);
            EXPECT_EQ(dialog->GetX(), 20 + 2 * c.dx);
            EXPECT_EQ(dialog->GetY(), 10 + 2 * c.dy);
        }
        // Released outside: a drag still reports the release as its own,
        // a mere press gives the hit test.
        EXPECT_EQ(dialog->OnLButtonUp(0, 0, 0), c.drags);
        EXPECT_EQ(dialog->GetDragState(), Dialog::kIdle);
        EXPECT_TRUE(dialog->IsActive());
    }
}

TEST_F(DialogTest, AFixedDialogTakesPressesInsideButNeverMoves) {
    const Ref<Dialog> dialog = MakeDialog("");
    EXPECT_TRUE(dialog->OnLButtonDown(49, 29, 0, false));
    EXPECT_FALSE(dialog->OnLButtonDown(50, 29, 0, false));
    dialog->OnMouseMove(70, 50, 0);
    EXPECT_EQ(dialog->GetX(), 20);
    EXPECT_EQ(dialog->GetDragState(), Dialog::kIdle);
    EXPECT_FALSE(dialog->OnLButtonUp(49, 29, 0));
}

TEST_F(DialogTest, ControlsBoundLaterAreServedFirstAndAllBeforeTheDialog) {
    const Ref<Dialog> dialog = MakeDialog(
        "", R"(<Button name="ok" image="KNOB" section="ui"/><Switch name="flip" image="STRIP" section="ui"/>)"
            R"(<Sprite name="plain"/><Panel name="inner"><Vector id="components">)"
            R"(<Slider name="volume" width="40" height="10"><Button id="button" image="KNOB" section="ui"/>)"
            R"(<Button id="incbutton" image="KNOB" section="ui"/><Button id="decbutton" image="KNOB" section="ui"/>)"
            R"(</Slider></Vector></Panel>)");
    ASSERT_TRUE(dialog);
    HandlerLog log;
    for (const char* name : {"ok", "plain", "missing", "flip", "volume"}) {
        dialog->BindControlByName(name, HandlerLog::Record, &log);
    }
    auto* ok = ObjectCast<Button>(dialog->FindChild("ok"));
    auto* flip = ObjectCast<Switch>(dialog->FindChild("flip"));
    auto* volume = ObjectCast<Slider>(dialog->FindChild("volume"));
    ASSERT_TRUE(ok && flip && volume);
    const std::vector<InputListener*> expected = {volume->GetDecreaseButton(), volume->GetIncreaseButton(), volume,
                                                  flip, ok, dialog.Get()};
    EXPECT_EQ(dialog->GetListenerList()->Listeners(), expected);
    for (const ControlCallback* control : std::initializer_list<const ControlCallback*>{ok, flip, volume}) {
        EXPECT_EQ(control->GetCallbackContext(), &log);
        EXPECT_EQ(control->GetCallbackFunction(), &HandlerLog::Record);
    }
    // Binding again moves the control to the front instead of adding it twice.
    dialog->BindControlByName("ok", HandlerLog::Record, &log);
    EXPECT_EQ(dialog->GetListenerList()->Listeners().front(), ok);
    EXPECT_EQ(dialog->GetListenerList()->Listeners().size(), expected.size());
}

TEST_F(DialogTest, ThePainterBufferIsKeptUntilTheSizeChanges) {
    const Ref<Dialog> dialog = MakeDialog("");
    const Ref<CountingPainter> painter(new CountingPainter);
    dialog->SetPainter(painter.Get());
    EXPECT_EQ(dialog->GetWidth(), 30);
    dialog->SetHeight(21);
    EXPECT_EQ(dialog->GetHeight(), 22);  // through the painter's fitting

    DrawOnce(*dialog);
    ASSERT_NE(dialog->GetBackground(), nullptr);
    const Surface* buffer = dialog->GetBackground();
    EXPECT_EQ(painter->paints, 1);
    EXPECT_EQ(buffer->GetWidth(), 30);
    EXPECT_EQ(buffer->GetHeight(), 22);
    ASSERT_NE(dialog->GetImage(), nullptr);
    EXPECT_NE(dialog->GetImage(), buffer);  // the picture is a copy of the buffer
    EXPECT_EQ(PixelAt(*dialog->GetImage(), 29, 21), 0xFF102030u);

    dialog->OnShow();  // a new layout, but the same size
    DrawOnce(*dialog);
    EXPECT_EQ(dialog->GetBackground(), buffer);
    EXPECT_EQ(painter->paints, 1);

    dialog->SetWidth(40);
    DrawOnce(*dialog);
    EXPECT_NE(dialog->GetBackground(), buffer);
    EXPECT_EQ(dialog->GetBackground()->GetWidth(), 40);
    EXPECT_EQ(painter->paints, 2);
}

// A hidden dialog kept for later holds none of the pictures it made; shown
// again, it makes them anew and looks the same, in the same place.
TEST_F(DialogTest, AHiddenDialogLetsGoOfItsPicturesUntilItIsDrawnAgain) {
    const Ref<Dialog> painted = MakeDialog("");
    const Ref<CountingPainter> painter(new CountingPainter);
    painted->SetPainter(painter.Get());
    const Ref<Dialog> pictured = MakeDialog("");
    const Ref<Surface> backdrop = FilledSurface(30, 20, 0xFF000010u);
    pictured->SetBackground(backdrop.Get());
    for (Dialog* dialog : {painted.Get(), pictured.Get()}) {
        DrawOnce(*dialog);
        ASSERT_NE(dialog->GetImage(), nullptr);
        const uint32_t look = PixelAt(*dialog->GetImage(), 29, 19);

        dialog->ReleaseBuffers();
        EXPECT_EQ(dialog->GetImage(), nullptr);
        EXPECT_EQ(dialog->GetWidth(), 30);
        EXPECT_EQ(dialog->GetHeight(), 20);
        EXPECT_EQ(dialog->GetX(), 20);
        DrawOnce(*dialog);
        ASSERT_NE(dialog->GetImage(), nullptr);
        EXPECT_EQ(PixelAt(*dialog->GetImage(), 29, 19), look);
    }
    // The painted backdrop was the dialog's own and was painted again; a
    // picture it was given stays.
    EXPECT_EQ(painter->paints, 2);
    EXPECT_EQ(pictured->GetBackground(), backdrop.Get());
}

TEST_F(DialogTest, ABufferedDialogDrawsItsComponentsIntoItsPicture) {
    const Ref<Dialog> dialog =
        MakeDialog(R"(usebuffer="true")", R"(<Sprite name="dot" x="4" y="3" width="2" height="2"/>)");
    EXPECT_FALSE(dialog->GetComponentNode()->IsVisible());  // the render pass must not draw them again
    auto* dot = ObjectCast<Sprite>(dialog->FindChild("dot"));
    ASSERT_NE(dot, nullptr);
    dot->SetImage(FilledSurface(2, 2, 0xFFAA0000u).Get());
    dialog->SetBackground(FilledSurface(30, 20, 0xFF000010u).Get());

    DrawOnce(*dialog);
    const Surface* picture = dialog->GetImage();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(PixelAt(*picture, 4, 3), 0xFFAA0000u);
    EXPECT_EQ(PixelAt(*picture, 5, 4), 0xFFAA0000u);
    EXPECT_EQ(PixelAt(*picture, 6, 3), 0xFF000010u);
    EXPECT_EQ(PixelAt(*dialog->GetBackground(), 4, 3), 0xFF000010u);  // the background stays clean

    // A changed component makes the picture be rebuilt on the next draw,
    // over the same block while the size fits.
    dot->SetX(10);
    dot->SetDirty(true);
    DrawOnce(*dialog);
    EXPECT_EQ(dialog->GetImage(), picture);
    EXPECT_EQ(PixelAt(*dialog->GetImage(), 4, 3), 0xFF000010u);
    EXPECT_EQ(PixelAt(*dialog->GetImage(), 10, 3), 0xFFAA0000u);
}

TEST_F(DialogTest, AnAnchoredBufferShiftsNestedComponentsOnlyOnce) {
    const Ref<Dialog> dialog = MakeDialog(R"(usebuffer="true")", R"(<Sprite name="box" x="-10" y="-6"/>)");
    dialog->SetAnchorKind(Sprite::kCenter);  // (15, 10) on 30 x 20
    GameNode* box = dialog->FindChild("box");
    ASSERT_NE(box, nullptr);
    box->AddChild(new Sprite(2, 1, FilledSurface(1, 1, 0xFFAA0000u).Get()));
    dialog->SetBackground(FilledSurface(30, 20, 0xFF000010u).Get());
    DrawOnce(*dialog);
    // On screen the dot is at the dialog's position + (-8, -5), the picture's (7, 5).
    EXPECT_EQ(PixelAt(*dialog->GetImage(), 7, 5) & 0xF0F0F0u, 0xA00000u);
    EXPECT_EQ(ChangedPixels(*dialog->GetImage(), 0xFF000010u).size(), 1u);
}

}  // namespace
