// A save game restored into a level as the game scene resumes it, without a
// window: the ticket, the level session of the mode the file names, the race
// strip and the word queue; the level then starts, runs a few frames and is
// saved again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/ScoreTable.h"
#include "game/constants/GameConstants.h"
#include "game/progress/KR2Player.h"
#include "game/progress/LevelStats.h"
#include "game/rules/GameMode.h"
#include "game/rules/LevelHooks.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordQueue.h"
#include "game/world/AutoTrain.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"
#include "support/FuzzEnvironment.h"
#include "support/FuzzWords.h"

namespace {

constexpr int32_t kFrameMs = 50;
constexpr int kFrames = 20;

// The game scene as a level sees it, without its pictures and sounds.
class QuietScene : public LevelScene {
public:
    KR2Player& Player() override { return *player; }
    WordQueue& Queue() override { return *queue; }
    const WordList* Words() const override { return words.Get(); }
    LevelStats& SceneStats() override { return sceneStats; }
    ScoreTable* HighScoreTable(const std::string& name) override {
        Ref<ScoreTable>& table = tables[name];
        if (!table) {
            table = new ScoreTable(10, true);
        }
        return table.Get();
    }
    void PlaySound(const std::string&) override {}
    void SetScoreTarget(int32_t) override {}
    void SetMiniTrainPosition(int32_t, float) override {}
    void SetGauges(float, float) override {}
    void AwardArrivalCoins() override {}
    void ShowBonusText() override {}
    void FeedFurnace(WordSprite&) override {}
    void SetContinue(bool) override {}
    void OnLevelEnd() override {}
    void NoteInput() override {}

    Ref<KR2Player> player = new KR2Player("fuzz");
    Ref<WordQueue> queue;
    Ref<WordList> words = fuzz_environment::SmallWordList();
    LevelStats sceneStats;
    std::map<std::string, Ref<ScoreTable>> tables;
};

QuietScene& Scene() {
    static QuietScene scene;
    return scene;
}

// The race strip and the word queue as the game scene's definitions make them.
const PropertyFile& Definitions() {
    static const Ref<PropertyFile> definitions = [] {
        const std::string xml =
            "<root><Landscape id=\"MINIMAP\" x=\"0\" y=\"0\">"
            "<LSO id=\"START_STATION\" image=\"STATION_BUILDING\" section=\"gamescene\" layer=\"2\"/>"
            "<LSO id=\"END_STATION\" image=\"STATION_BUILDING\" section=\"gamescene\" layer=\"2\"/></Landscape>"
            "<WordQueue id=\"WORDQUEUE\" x=\"150\" y=\"206\" width=\"500\"/></root>";
        Ref<PropertyFile> file = new PropertyFile();
        if (!file->LoadFromMemory(xml.data(), xml.size(), "game scene")) {
            std::abort();
        }
        return file;
    }();
    return *definitions;
}

// Writes the level back as the game scene's save does.
void SaveLevel(const GameMode& mode, const WordQueue& queue, const Landscape& landscape) {
    const Ref<PropertyFile> file = new PropertyFile();
    auto* ticketNode = new PropertyNode("ticket", "TicketInfo");
    file->Add(ticketNode);
    Scene().player->currentTicket->Save(*ticketNode);
    auto* gameNode = new PropertyNode("game", "");
    file->Add(gameNode);
    mode.Save(*gameNode);
    auto* queueNode = new PropertyNode("wordqueue", "WordQueue");
    file->Add(queueNode);
    queue.Save(*queueNode);
    auto* landscapeNode = new PropertyNode("landscape", "LandScape");
    file->Add(landscapeNode);
    landscape.Save(*landscapeNode);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_environment::EnterScratchFolder();
    fuzz_environment::DefineConstants(fuzz_environment::ConstantFiles());
    XML::Init();
    GameMode::SetHooks({&Scene(), nullptr});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz")) {
        return 0;
    }
    // One draw sequence per input, so a finding repeats.
    RandomGenerator::SetGlobal(new RandomGenerator(1, 0));
    QuietScene& scene = Scene();
    const Ref<Landscape> landscape = CreateObjectOf<Landscape>(Property::Child(&Definitions(), "MINIMAP"));
    scene.queue = CreateObjectOf<WordQueue>(Property::Child(&Definitions(), "WORDQUEUE"));
    // The mode reads its session against its ticket, so the ticket goes in first.
    const Ref<TicketInfo> ticket = CreateObjectOf<TicketInfo>(Property::Child(file.Get(), "ticket"));
    const Ref<GameMode> mode = ticket ? CreateObjectOf<GameMode>(Property::Child(file.Get(), "game")) : Ref<GameMode>();
    if (mode) {
        scene.player->currentTicket = ticket;
        landscape->Load(Property::Child(file.Get(), "landscape"));
        scene.queue->Load(Property::Child(file.Get(), "wordqueue"));
        landscape->PlaceStations();
        mode->SetTrains(landscape->GetPlayerTrain(), landscape->GetAutoTrain());
        const int32_t units = ticket->GetRaceUnits();
        if (PlayerTrain* train = landscape->GetPlayerTrain()) {
            train->SetUnitsToTravel(units);
        }
        if (AutoTrain* train = landscape->GetAutoTrain()) {
            train->SetUnitsToTravel(units);
        }
        mode->AnimateControls();
        mode->StartLevel(mode->Stats().playtime > 0);
        for (int frame = 0; frame < kFrames; ++frame) {
            mode->Update(kFrameMs);
            landscape->Update(kFrameMs);
            scene.queue->Update(kFrameMs);
        }
        SaveLevel(*mode, *scene.queue, *landscape);
        mode->ReleaseNodes(false);
    }
    scene.player->currentTicket.Reset();
    scene.queue.Reset();
    scene.tables.clear();
    scene.sceneStats = LevelStats();
    RandomGenerator::SetGlobal(nullptr);
    return 0;
}
