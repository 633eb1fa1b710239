#include <gtest/gtest.h>

#include "MapFixture.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "game/world/MapSpriteHost.h"
#include "game/world/TicketSprite.h"

namespace {

constexpr uint32_t kPassenger = 0xFFFF0000;
constexpr uint32_t kEmptySeat = 0xFF0000FF;

Ref<MemorySurface> Filled(int32_t width, int32_t height, uint32_t colour) {
    Ref<MemorySurface> picture = CreateMemorySurface(width, height);
    std::fill(picture->Pixels32(), picture->Pixels32() + width * height, colour);
    return picture;
}

class NoHost : public MapSpriteHost {
public:
    int32_t InteractionState() const override { return kIdle; }
    void PlayWobble(Sprite&) override {}
    void OpenTicketDialog(TicketInfo&) override {}
};

// A "mapscene" section with a clear 40 x 30 ticket of four frames, 2 x 2
// passenger icons and the two signposts.
class MapMediaTest : public testing::Test {
protected:
    void SetUp() override {
        auto* section = new Section("mapscene", false);
        section->AddResource("TICKET_3", new HeldResource(CreateMemorySurface(40, 120).Get()));
        for (const char* name : {"3_PASSENGER0", "3_PASSENGER1", "3_PASSENGER4"}) {
            section->AddResource(name, new HeldResource(Filled(2, 2, kPassenger).Get()));
        }
        section->AddResource("3_PASSENGER_EMPTY", new HeldResource(Filled(2, 2, kEmptySeat).Get()));
        section->AddResource("POST_BLUE", new HeldResource(blue.Get()));
        section->AddResource("POST_RED", new HeldResource(red.Get()));
        sections_.Load(section);
    }

    RunningSectionManager sections_;
    Ref<MemorySurface> blue = CreateMemorySurface(60, 20);
    Ref<MemorySurface> red = CreateMemorySurface(60, 20);
};

TEST_F(MapMediaTest, PassengerIconsAreBakedIntoThreeButtonFrames) {
    MapFixture fixture;
    NoHost host;
    Ref<TicketInfo> ticket = new TicketInfo();
    ticket->GameType = 3;
    ticket->Rating = 0.5f;  // three passengers
    ticket->Passengers = {4, 1, 0, 2, 3};
    Ref<TicketSprite> sprite = new TicketSprite(&host);
    sprite->SetTicket(ticket.Get(), *fixture.map);
    ASSERT_EQ(sprite->GetHeight(), 30);

    // Bottom-centre anchor: the icons stand 11 px above the frame's bottom,
    // from 30 px left of its centre, 13 px apart.
    const Surface& picture = *sprite->GetImage();
    const auto colour = [&](int32_t x, int32_t y) { return picture.Pixels32()[picture.PixelIndex(x, y)] & 0xFFFFFF; };
    for (int32_t frame = 0; frame < 4; ++frame) {
        const int32_t y = frame * 30 + 17;
        const bool baked = frame < 3;
        EXPECT_EQ(colour(3, y), baked ? kPassenger & 0xFFFFFF : 0u) << frame;   // slot 1
        EXPECT_EQ(colour(16, y), baked ? kPassenger & 0xFFFFFF : 0u) << frame;  // slot 2
        EXPECT_EQ(colour(29, y), baked ? kEmptySeat & 0xFFFFFF : 0u) << frame;  // slot 3
        EXPECT_EQ(colour(8, y), 0u) << frame;
    }
}

TEST_F(MapMediaTest, SignpostsGetAPrivatePicture) {
    Ref<CityInfo> city = new CityInfo();
    const Ref<MemorySurface> other = CreateMemorySurface(60, 20);
    for (Surface* image : {static_cast<Surface*>(blue.Get()), static_cast<Surface*>(red.Get()),
                           static_cast<Surface*>(other.Get())}) {
        Ref<Sprite> sign = new Sprite(0, 0, image);
        city->AddSignpostLabel(sign.Get());
        EXPECT_EQ(sign->GetImage() == image, image == other.Get());
    }
    EXPECT_EQ(city->mapNodes.size(), 3u);
}

}  // namespace
