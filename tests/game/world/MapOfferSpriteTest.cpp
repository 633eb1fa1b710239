#include <gtest/gtest.h>

#include <array>
#include <string>

#include "MapFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "game/constants/GameConstants.h"
#include "game/world/MapSpriteHost.h"
#include "game/world/TicketSprite.h"
#include "game/world/TrackInfoSprite.h"

namespace {

class FakeHost : public MapSpriteHost {
public:
    int32_t InteractionState() const override { return state; }
    void PlayWobble(Sprite&) override { ++wobbles; }
    void OpenTicketDialog(TicketInfo& ticket) override { opened = &ticket; }

    int32_t state = kIdle;
    int wobbles = 0;
    TicketInfo* opened = nullptr;
};

Ref<TicketInfo> MakeTicket(float rating, int32_t city) {
    Ref<TicketInfo> ticket = new TicketInfo();
    ticket->GameType = 3;
    ticket->Rating = rating;
    ticket->Section = 0;
    ticket->Track = 0;
    ticket->City = city;
    ticket->Passengers = {4, 1, 0, 2, 3};
    return ticket;
}

TEST(TicketSpriteTest, PassengerIconsFollowTheRating) {
    const std::string empty = "3_PASSENGER_EMPTY";
    const std::pair<float, std::array<std::string, 5>> cases[] = {
        {0.0f, {empty, empty, empty, empty, empty}},
        {-0.5f, {empty, empty, empty, empty, empty}},
        {0.5f, {"3_PASSENGER4", "3_PASSENGER1", "3_PASSENGER0", empty, empty}},
        {1.0f, {"3_PASSENGER4", "3_PASSENGER1", "3_PASSENGER0", "3_PASSENGER2", "3_PASSENGER3"}},
        {3.0f, {"3_PASSENGER4", "3_PASSENGER1", "3_PASSENGER0", "3_PASSENGER2", "3_PASSENGER3"}},
    };
    for (const auto& [rating, names] : cases) {
        EXPECT_EQ(TicketSprite::PassengerIconNames(*MakeTicket(rating, 0)), names) << rating;
    }
}

TEST(TicketSpriteTest, StandsAtTheEndAwayFromItsCityValue) {
    MapFixture fixture;
    FakeHost host;
    const std::pair<int32_t, int32_t> cases[] = {{0, 100}, {1, 0}};  // City value, ticketX of the end
    for (const auto& [city, x] : cases) {
        Ref<TicketSprite> sprite = new TicketSprite(&host);
        sprite->SetTicket(MakeTicket(0.5f, city).Get(), *fixture.map);
        EXPECT_EQ(sprite->GetX(), x) << city;
        EXPECT_EQ(sprite->GetY(), -30);
    }
    Ref<TicketInfo> lost = MakeTicket(0.5f, 0);
    lost->Track = 40;
    EXPECT_EQ(TicketSprite::Destination(*lost, *fixture.map), nullptr);
    lost->Track = 0;
    lost->Section = -3;
    EXPECT_EQ(TicketSprite::Destination(*lost, *fixture.map), nullptr);
}

TEST(TrackInfoSpriteTest, StandsAtTheEndAwayFromThePlayer) {
    MapFixture fixture;
    FakeHost host;
    const std::pair<int32_t, int32_t> cases[] = {{0, 100}, {1, 0}, {2, 0}};  // player's city, ticketX
    for (const auto& [player, x] : cases) {
        Ref<TrackInfoSprite> sprite = new TrackInfoSprite(&host);
        sprite->SetTrack(TrackRef{0, 0}, CityRef{player, 0}, *fixture.map);
        EXPECT_EQ(sprite->GetX(), x) << player;
        ASSERT_NE(sprite->GetCity(), nullptr);
        EXPECT_EQ(sprite->GetCity()->ticketX, x);
    }
    Ref<TrackInfoSprite> lost = new TrackInfoSprite(&host);
    lost->SetTrack(TrackRef{9, 0}, CityRef{0, 0}, *fixture.map);
    EXPECT_EQ(lost->GetCity(), nullptr);
}

TEST(TrackInfoSpriteTest, PriceGoesIntoACopyOfTheImage) {
    FakeHost host;
    Ref<TrackInfoSprite> sprite = new TrackInfoSprite(&host);
    const Ref<MemorySurface> panel = CreateMemorySurface(40, 120);
    sprite->SetImage(panel.Get());
    sprite->SetCost(0);
    EXPECT_EQ(sprite->PriceLabel().GetText(), L"0");
    EXPECT_NE(sprite->GetImage(), panel.Get());
    EXPECT_EQ(sprite->GetImage()->GetHeight(), 120);
}

TEST(MapOfferSpriteTest, BuiltFromDefinitionsStandingOnTheirBottomCentre) {
    for (const std::string type : {"TicketSprite", "TrackInfoSprite"}) {
        const Ref<PropertyFile> file = MapFixture::Parse("<" + type + " id=\"it\"/>");
        const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "it")));
        const auto* sprite = ObjectCast<MapOfferSprite>(built.Get());
        ASSERT_NE(sprite, nullptr) << type;
        EXPECT_EQ(sprite->GetAnchorKind(), Sprite::kBottom) << type;
    }
}

// A ticket sprite with a 40 x 30 frame standing at (100, 100) and a
// highlight at (0, 0) of 20 x 20.
class OfferInputTest : public testing::Test {
protected:
    OfferInputTest() {
        TICKET_ANIM_DURATION = 1000;
        sprite = new TicketSprite(&host);
        sprite->SetImage(CreateMemorySurface(40, 120).Get());
        sprite->SetPosition(100, 100);
        highlight->SetFrameCount(3, false);
        sprite->SetHighlight(highlight.Get());
        ticket = MakeTicket(0.5f, 0);
        sprite->SetTicket(ticket.Get(), *fixture.map);
        sprite->SetPosition(100, 100);
    }

    MapFixture fixture;
    FakeHost host;
    Ref<TicketSprite> sprite;
    Ref<Sprite> highlight = new Sprite(0, 0, 20, 60);
    Ref<TicketInfo> ticket;
};

TEST_F(OfferInputTest, AClickOnTheTicketOrTheHighlightOpensTheDialog) {
    struct Click {
        int32_t downX, downY, upX, upY;
        bool opens;
    };
    const Click clicks[] = {
        {100, 90, 100, 90, true},   // on the ticket
        {10, 10, 10, 10, true},     // on the highlight
        {10, 10, 300, 300, false},  // pressed on the highlight, let go elsewhere
        {300, 300, 10, 10, false},  // pressed elsewhere
    };
    for (const Click& click : clicks) {
        host.opened = nullptr;
        sprite->OnLButtonDown(click.downX, click.downY, 1, false);
        sprite->OnLButtonUp(click.upX, click.upY, 0);
        EXPECT_EQ(host.opened == ticket.Get(), click.opens) << click.downX << "," << click.upX;
        EXPECT_EQ(highlight->GetCurrentFrame(), MapOfferSprite::kHighlightOff);
        EXPECT_EQ(sprite->GetState(), Button::kNormal);
    }
}

TEST_F(OfferInputTest, HoveringEitherLightsBoth) {
    sprite->OnMouseMove(10, 10, 0);
    EXPECT_EQ(highlight->GetCurrentFrame(), MapOfferSprite::kHighlightOver);
    EXPECT_EQ(sprite->GetState(), Button::kOver);
    sprite->OnMouseMove(300, 300, 0);
    EXPECT_EQ(highlight->GetCurrentFrame(), MapOfferSprite::kHighlightOff);
    EXPECT_EQ(sprite->GetState(), Button::kNormal);
    sprite->OnMouseMove(100, 90, 0);
    EXPECT_EQ(highlight->GetCurrentFrame(), MapOfferSprite::kHighlightOver);
}

TEST_F(OfferInputTest, WobblesOnlyWhileIdleAndNotHovered) {
    struct Case {
        int32_t state;
        bool hovered;
        int wobbles;
    };
    for (const Case c : {Case{MapSpriteHost::kIdle, false, 2}, Case{6, false, 0}, Case{MapSpriteHost::kIdle, true, 0}}) {
        host.wobbles = 0;
        host.state = c.state;
        sprite->OnMouseMove(c.hovered ? 100 : 300, c.hovered ? 90 : 300, 0);
        for (int i = 0; i < 25; ++i) {
            sprite->Update(100);
        }
        EXPECT_EQ(host.wobbles, c.wobbles) << c.state << " " << c.hovered;
    }
}

}  // namespace
