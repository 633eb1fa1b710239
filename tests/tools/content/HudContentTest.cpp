#include <gtest/gtest.h>

#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/RenderPass.h"
#include "game/words/TicketInfo.h"
#include "game/world/Carriage.h"
#include "game/world/Flagpole.h"
#include "game/world/PlayerTrain.h"
#include "game/world/RaceContext.h"
#include "platform/PngWriter.h"
#include "support/TempUserFolders.h"
#include "GeneratedMediaSession.h"

namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;

// A map ticket seating three passengers in a carriage of size 3.
class CarriageRace : public RaceContext {
public:
    CarriageRace() {
        ticket->Rating = 0.5f;
        ticket->Passengers = {0, 3, 5, 1, 2};
        Install(this);
    }
    ~CarriageRace() override { Install(nullptr); }
    CarriageRace(const CarriageRace&) = delete;
    CarriageRace& operator=(const CarriageRace&) = delete;

    const TicketInfo* CurrentTicket() const override { return ticket.Get(); }
    int32_t CarriageSize() const override { return 3; }

    Ref<TicketInfo> ticket{new TicketInfo};
};

// The generated "gamescene" media with the shipped constants and dialog file.
class HudContent : public testing::Test {
protected:
    HudContent() {
        Defines::Create();
        for (const char* file : {"media/properties/default.xml", "media/properties/assets.xml"}) {
            Ref<PropertyFile> constants(new PropertyFile({file}));
            constants->Load();
            ClassFactory::Instance().CreateNamedObjects(*constants);
        }
        DialogTable::Create("media/properties/dialogs.xml");
    }
    ~HudContent() override {
        DialogTable::ReleaseInstance();
        Defines::ReleaseInstance();
    }

    TempUserFolders userFolders_;
    GeneratedMediaSession media_{{"gamescene"}};
};

uint32_t Rgb(const Surface& screen, int x, int y) { return screen.Pixels32()[screen.PixelIndex(x, y)] & 0xFFFFFF; }

TEST_F(HudContent, TheIconsAndSpecksFitTheFurnaceLights) {
    const RaceContext& race = RaceContext::Current();
    const Ref<Surface> icons = race.FindImage("LID_ICONS", "gamescene");
    ASSERT_TRUE(icons);
    EXPECT_EQ(icons->GetWidth() % 3, 0);
    EXPECT_EQ(icons->GetHeight() % 7, 0);
    ASSERT_TRUE(race.FindImage("LID_SPECK", "gamescene"));
    for (int kind = 1; kind <= 7; ++kind) {
        const Ref<Surface> light = race.FindImage("FURNACE_LIGHT_" + std::to_string(kind), "gamescene");
        ASSERT_TRUE(light) << kind;
        EXPECT_GT(light->GetWidth(), 80) << kind;
        EXPECT_GT(light->GetWidth(), icons->GetWidth() / 3) << kind;
    }
}

TEST_F(HudContent, TheCarriageRunsBehindTheTrainAndTheFlagFlies) {
    CarriageRace race;
    const Ref<GameNode> strip(new GameNode());
    const Ref<PlayerTrain> train(new PlayerTrain());
    ASSERT_NE(train->GetCarriage(), nullptr);
    train->SetPosition(400, 100);
    train->AnimateWheels();
    strip->AddChild(train.Get());
    const Ref<Flagpole> pole(new Flagpole(600.0f, 123));
    pole->SetFlag(0);
    strip->AddChild(pole.Get());

    const Ref<MemorySurface> screen = FilledSurface(800, 150, 0xFF000000);
    RenderPass::DrawNodeTree(*screen->CreateCanvas(), *strip);
    platform::WritePng(kBuild + "/hud_strip.png", screen->Pixels32(), 800, 150);

    // The train's pictures end at x 400 - 96; the carriage (68 px of body
    // and its 8 px front end) stands right behind it on the rail at y 100.
    const int trainRear = 400 - 96;
    const Carriage& carriage = *train->GetCarriage();
    EXPECT_EQ(carriage.GetAbsoluteX() + 68 + 8, trainRear - 2);
    EXPECT_GT(Rgb(*screen, trainRear - 30, 100 - 10), 0U);   // body
    EXPECT_GT(Rgb(*screen, trainRear - 60, 100 - 6), 0U);    // a rear wheel
    EXPECT_EQ(Rgb(*screen, trainRear - 80, 100 - 10), 0U);   // nothing behind it
    // The flag hangs at the top of the pole.
    EXPECT_GT(Rgb(*screen, 600 + 9 + 10, 123 - 110 + 8 + 8), 0U);
}

}  // namespace
