#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "RaceFixture.h"
#include "engine/foundation/PropertyFile.h"
#include "game/world/AutoTrain.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"

// Counts the allocations made on this thread while counting is on. Replacing
// the global operators is the only way to see every allocation of the code
// under test; the rest of this program allocates through them unchanged.
namespace {

thread_local bool counting = false;
thread_local long allocations = 0;

void* Allocate(std::size_t size) {
    if (counting) {
        ++allocations;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

TEST(RaceFrameAllocationTest, TheTrainsRunTheirFramesWithoutAllocating) {
    RaceConstants constants;
    // No moving sound falls due in the frames counted: sounds may allocate.
    RaceConstants::Define(R"(<Integer id="TRAIN_SLOWEST_SOUND_DELAY" value="1000000"/>)"
                          R"(<Integer id="TRAIN_FASTEST_SOUND_DELAY" value="1000000"/>)");
    RecordingRace race;
    race.state = RaceContext::kRacing;
    Ref<PropertyFile> definition = new PropertyFile;
    const std::string xml = R"(<root><Node id="strip"/></root>)";
    definition->LoadFromMemory(xml.data(), xml.size(), "strip");
    const Ref<Landscape> landscape(new Landscape(Property::Child(definition.Get(), "strip")));
    landscape->CreateTrains();
    PlayerTrain& player = *landscape->GetPlayerTrain();
    AutoTrain& opponent = *landscape->GetAutoTrain();
    player.SetUnitsToTravel(100);
    player.SetUnitsTravelled(60);
    opponent.SetUnitsToTravel(100);
    // The first frames play the start's one-off sounds and smoke.
    for (int frame = 0; frame < 20; ++frame) {
        player.Update(16);
        opponent.Update(16);
    }

    counting = true;
    for (int frame = 0; frame < 100; ++frame) {
        player.Update(16);
        opponent.Update(16);
    }
    counting = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(player.GetRealX(), 0.0f) << "the player's train moved";
}

}  // namespace
