// The game types' settings file over the game's other constants, read by
// ticket generation for every game type, on the map and in classic games.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/words/TicketInfo.h"
#include "support/FuzzConstants.h"
#include "support/FuzzWords.h"

namespace {

class FixedHooks : public TicketPlayerHook, public TicketMapHook, public TicketSceneHook {
public:
    int GamesPlayed() const override { return gamesPlayed; }
    int TrackLengthClass(int, int) const override { return lengthClass; }
    const WordList* WaitForWordList() override { return words.Get(); }
    bool IsInWordQueue(const std::string&) const override { return false; }

    int gamesPlayed = 0;
    int lengthClass = 0;
    Ref<WordList> words = fuzz_environment::SmallWordList();
};

FixedHooks& Hooks() {
    static FixedHooks hooks;
    return hooks;
}

const fuzz_environment::ConstantsOver& Constants() {
    static const fuzz_environment::ConstantsOver constants("media/properties/gamesettings.xml");
    return constants;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Constants();
    TicketInfo::SetHooks({&Hooks(), &Hooks(), &Hooks()});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz")) {
        return 0;
    }
    Constants().Define(*file);
    // One draw sequence per input, so a finding repeats.
    RandomGenerator::SetGlobal(new RandomGenerator(1, 0));
    // A new player on a short track, a seasoned one on a long track.
    for (const auto& [games, lengthClass] : {std::pair{0, 0}, std::pair{40, 3}}) {
        Hooks().gamesPlayed = games;
        Hooks().lengthClass = lengthClass;
        for (int32_t type = 0; type <= 8; ++type) {
            for (const int32_t mode : {TicketInfo::kMapTicket, TicketInfo::kClassicFixed}) {
                const Ref<TicketInfo> ticket = new TicketInfo();
                ticket->GameType = type;
                ticket->GameMode = mode;
                ticket->Rating = games == 0 ? 0.0f : 1.0f;
                ticket->Generate();
            }
        }
    }
    RandomGenerator::SetGlobal(nullptr);
    Defines::ReleaseInstance();
    return 0;
}
