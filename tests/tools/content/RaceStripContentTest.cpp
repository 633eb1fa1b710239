#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/media/Canvas.h"
#include "engine/media/CanvasTestSupport.h"
#include "engine/media/ImageDecoding.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/RenderPass.h"
#include "game/words/TicketInfo.h"
#include "game/world/AutoTrain.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"
#include "game/world/RaceContext.h"
#include "platform/Files.h"
#include "platform/PngWriter.h"
#include "support/TempUserFolders.h"
#include "GeneratedMediaSession.h"

namespace {

const std::string kBuild = WORDRAIL_BUILD_DIR;

// A race of the first map section before its start, on the generated media.
// The driving wheels are object definitions of the dialog file, which is not
// part of the generated media yet; the strip is drawn without them.
class StripRace : public RaceContext {
public:
    StripRace() {
        ticket->NumUnits = 100;
        Install(this);
    }
    ~StripRace() override { Install(nullptr); }
    StripRace(const StripRace&) = delete;
    StripRace& operator=(const StripRace&) = delete;

    const TicketInfo* CurrentTicket() const override { return ticket.Get(); }

    Ref<TicketInfo> ticket{new TicketInfo};
};

class RaceStripContent : public testing::Test {
protected:
    RaceStripContent() {
        Defines::Create();
        for (const char* file : {"media/properties/default.xml", "media/properties/assets.xml"}) {
            Ref<PropertyFile> constants(new PropertyFile({file}));
            constants->Load();
            ClassFactory::Instance().CreateNamedObjects(*constants);
        }
    }
    ~RaceStripContent() override {
        Defines::ReleaseInstance();
    }

    TempUserFolders userFolders_;
    GeneratedMediaSession media_{{"gamescene"}};
};

uint32_t Rgb(const Surface& screen, int x, int y) {
    return screen.Pixels32()[screen.PixelIndex(x, y)] & 0xFFFFFF;
}

// Near a colour: each channel within `tolerance`.
bool Near(uint32_t pixel, uint32_t colour, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((pixel >> shift) & 0xFF);
        const int b = static_cast<int>((colour >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) {
            return false;
        }
    }
    return true;
}

TEST_F(RaceStripContent, DrawsTheStripWithBothTrains) {
    StripRace race;
    const Ref<Landscape> landscape(new Landscape);
    landscape->CreateTrains();
    landscape->PlaceStations();
    PlayerTrain& player = *landscape->GetPlayerTrain();
    AutoTrain& opponent = *landscape->GetAutoTrain();
    player.SetUnitsToTravel(100);
    opponent.SetUnitsToTravel(100);
    player.SetRealX(300.0f);
    opponent.Advance(54000);  // 0.3 of the race: x 1200 of 4000
    opponent.SetRealX(380.0f);
    player.AnimateWheels();
    opponent.AnimateWheels();
    landscape->Update(16);

    const Ref<MemorySurface> screen = FilledSurface(800, 150, 0xFF000000);
    RenderPass::DrawNodeTree(*screen->CreateCanvas(), *landscape);
    platform::WritePng(kBuild + "/race_strip.png", screen->Pixels32(), 800, 150);

    // Scroll node at 210: the player train's front at 510, the opponent's at 590.
    EXPECT_TRUE(Near(Rgb(*screen, 10, 5), 0x8EC5E8, 24)) << std::hex << Rgb(*screen, 10, 5);  // sky
    EXPECT_TRUE(Near(Rgb(*screen, 510 - 60, 128 - 4 - 30), 0xC8372D, 70))
        << std::hex << Rgb(*screen, 450, 94);  // the red boiler of the first player model
    EXPECT_TRUE(Near(Rgb(*screen, 590 - 60, 68 - 4 - 30), 0x4A4F57, 70))
        << std::hex << Rgb(*screen, 530, 34);  // the opponent's iron-grey boiler
    EXPECT_FALSE(Near(Rgb(*screen, 700, 120), 0x000000, 8));  // tiles reach the right edge
}

// The station house stands on the far ground behind the other train's
// track, so that train passes in front of it instead of through it.
TEST_F(RaceStripContent, TheStationHouseStandsBehindTheFarTrack) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(kBuild + "/media/gfx/race/station.png", bytes));
    const Ref<MemorySurface> station = DecodePngFromMemory(bytes.data(), bytes.size(), "station.png");
    ASSERT_TRUE(station);
    int foot = -1;
    for (int y = 0; y < station->GetHeight(); ++y) {
        for (int x = 0; x < station->GetWidth(); ++x) {
            foot = (station->Pixels32()[station->PixelIndex(x, y)] >> 24) > 128 ? y : foot;
        }
    }
    // The far track's ground starts 8 px above its rail; the house keeps a
    // strip of that ground clear under its foot.
    const int farGround = Defines::Instance()->GetInt("MINIMAP_OPPONENT_TRAIN_Y") - 8;
    EXPECT_LE(foot, farGround - 6);
}

}  // namespace
