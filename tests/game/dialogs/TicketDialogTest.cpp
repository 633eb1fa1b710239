#include <gtest/gtest.h>

#include "GameDialogFixture.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Label.h"
#include "game/dialogs/TicketDialog.h"
#include "game/words/TicketInfo.h"
#include "game/world/SectionList.h"
#include "game/world/TicketSprite.h"

namespace {

int32_t ChildCount(const GameNode& node) {
    int32_t count = 0;
    for (const GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        ++count;
    }
    return count;
}

// A 200 x 120 card; the ticket itself is 109 x 52, standing on its bottom
// centre like the map's tickets.
const std::string kTicketDialog =
    R"(<TicketDialog id="DIALOG_TICKET" width="200" height="120"><Vector id="components">)"
    R"(<Label name="LABEL_DISTANCE_LEFT" font="TINY" section="dlgfonts"/>)"
    R"(</Vector></TicketDialog>)";

class TicketDialogTest : public GameDialogTest {
protected:
    TicketDialogTest() {
        UseDialogs(kTicketDialog);
        auto* images = new Section("mapscene", false);
        images->AddResource("DIALOG_TICKET_2", new HeldResource(background_.Get()));
        images->AddResource("2_PASSENGER_EMPTY", new HeldResource(empty_.Get()));
        for (int32_t kind = 0; kind < 6; ++kind) {
            images->AddResource("2_PASSENGER" + std::to_string(kind), new HeldResource(seat_.Get()));
        }
        sections_.Load(images);
        Defines::Instance()->StoreText(
            Ref<PropertyValue>(PropertyValue::FromText("TEXT_TICKET_DISTANCE0", L"short", false)).Get());
        ticket_->GameType = 2;
        sprite_->SetImage(FilledSurface(109, 52 * 4, 0xFFC0A060).Get());  // four button frames
        sprite_->SetAnchorKind(Sprite::kBottom);
        sprite_->SetTicket(ticket_.Get(), map_);
        GameScene()->AddChild(sprite_.Get());
    }

    TicketDialog* OpenAt(int32_t x, int32_t y, float rating = 0.5f) {
        ticket_->Rating = rating;
        sprite_->SetPosition(x, y);
        auto* dialog = ObjectCast<TicketDialog>(GameScene()->GetDialog("DIALOG_TICKET"));
        dialog->SetTicketSprite(sprite_.Get());
        GameScene()->ShowDialog(dialog);
        return dialog;
    }

    int32_t Seats(const TicketDialog& dialog, const Surface* image) const {
        int32_t count = 0;
        for (const Ref<Sprite>& seat : dialog.GetPassengerSprites()) {
            count += seat->GetImage() == image ? 1 : 0;
        }
        return count;
    }

    Ref<MemorySurface> background_ = FilledSurface(200, 120, 0xFF3060A0);
    Ref<MemorySurface> seat_ = FilledSurface(10, 14, 0xFFFF0000);
    Ref<MemorySurface> empty_ = FilledSurface(10, 14, 0xFF808080);
    SectionList map_;
    Ref<TicketInfo> ticket_{new TicketInfo};
    Ref<TicketSprite> sprite_{new TicketSprite(static_cast<MapSpriteHost*>(nullptr))};
};

TEST_F(TicketDialogTest, OpensBesideTheTicketWhereItFitsAndGrowsFromTheMeetingCorner) {
    // The ticket spans x - 54 .. x + 54 and y - 52 .. y.
    const struct {
        int32_t x, y;
        int32_t dialogX, dialogY;
        float dialogPivotX, dialogPivotY, ticketPivotX, ticketPivotY;
    } cases[] = {
        {300, 300, 245, 183, 6, 114, 8, 51},      // right and above
        {300, 100, 245, 50, 6, 0, 9, 2},          // too near the top: below
        {700, 300, 553, 183, 200, 114, 113, 51},  // too near the right edge: to the left
        {700, 100, 553, 50, 200, 0, 113, 2},
    };
    for (const auto& c : cases) {
        TicketDialog* dialog = OpenAt(c.x, c.y);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->GetX(), c.dialogX) << c.x << "," << c.y;
        EXPECT_EQ(dialog->GetY(), c.dialogY) << c.x << "," << c.y;
        EXPECT_EQ(dialog->GetPivotX(), c.dialogPivotX) << c.x << "," << c.y;
        EXPECT_EQ(dialog->GetPivotY(), c.dialogPivotY) << c.x << "," << c.y;
        EXPECT_EQ(sprite_->GetPivotX(), c.ticketPivotX) << c.x << "," << c.y;
        EXPECT_EQ(sprite_->GetPivotY(), c.ticketPivotY) << c.x << "," << c.y;
        GameScene()->CloseDialog(dialog);
    }
}

TEST_F(TicketDialogTest, ShowsEarnedPassengersBackgroundAndDistanceWithoutPilingUpSeats) {
    const struct {
        float rating;
        int32_t seated;
    } cases[] = {{0.5f, 3}, {1.0f, 5}, {0.1f, 0}};
    int32_t children = -1;
    for (const auto& c : cases) {
        TicketDialog* dialog = OpenAt(300, 300, c.rating);
        ASSERT_EQ(dialog->GetPassengerSprites().size(), 5u) << c.rating;
        EXPECT_EQ(Seats(*dialog, seat_.Get()), c.seated) << c.rating;
        EXPECT_EQ(Seats(*dialog, empty_.Get()), 5 - c.seated) << c.rating;
        EXPECT_EQ(dialog->GetBackground(), background_.Get());
        EXPECT_EQ(ObjectCast<Label>(dialog->FindChild("LABEL_DISTANCE_LEFT"))->GetText(), L"short");
        // Each showing replaces the seats of the one before.
        if (children < 0) {
            children = ChildCount(*dialog);
        }
        EXPECT_EQ(ChildCount(*dialog), children) << c.rating;
        GameScene()->CloseDialog(dialog);
    }
}

TEST_F(TicketDialogTest, GrowsOpenThenShrinksBackIntoTheTicketBeforeLeaving) {
    TICKET_DIALOG_POPUP_TIME = 100;
    TicketDialog* dialog = OpenAt(300, 300);
    EXPECT_EQ(dialog->GetAlpha(), 0);
    Run(150);
    EXPECT_EQ(dialog->GetAlpha(), 255);
    EXPECT_EQ(sprite_->GetCropRect()->w, 210);
    EXPECT_EQ(sprite_->GetCropRect()->h, 134);

    TicketDialog::Close(dialog);
    Run(90);
    ASSERT_TRUE(dialog->GetCropRect().has_value());
    EXPECT_LT(dialog->GetCropRect()->w, 140);  // well on its way to 109
    EXPECT_EQ(GameScene()->GetShownDialogs().size(), 1u);
    Run(60);
    EXPECT_TRUE(GameScene()->GetShownDialogs().empty());
    EXPECT_FALSE(sprite_->GetCropRect().has_value());
}

TEST_F(TicketDialogTest, KeepsItsTicketAliveAfterTheMapLetsGo) {
    TicketDialog* dialog = OpenAt(300, 300);
    const Ref<TicketDialog> keep(dialog);
    TicketSprite* ticket = sprite_.Get();
    GameScene()->RemoveChild(ticket);
    sprite_ = nullptr;
    TicketDialog::Close(dialog);  // animates the ticket it still holds
    Run(600);
    EXPECT_EQ(dialog->GetTicketSprite(), ticket);
}

}  // namespace
