#include "LevelFixture.h"

#include <climits>
#include <utility>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "game/constants/GameConstants.h"
#include "game/words/TicketInfo.h"

namespace {

const char* const kModeClasses[] = {"ClassicGame", "ClassicGame", "ReplaceGame", "AnagramsGame", "SlotsGame",
                                    "KeepGame",    "SecretGame",  "JokerGame",   "ClassicGame"};

constexpr const char* kLists =
    "<Vector id=\"GAME_MODES\"><String value=\"T0\"/><String value=\"T1\"/><String value=\"T2\"/>"
    "<String value=\"T3\"/><String value=\"T4\"/><String value=\"T5\"/><String value=\"T6\"/>"
    "<String value=\"T7\"/><String value=\"RANDOM\"/></Vector>"
    "<Vector id=\"SCORE_PER_WORD_LENGTH\"><Integer value=\"3\"/><Integer value=\"5\"/><Integer value=\"8\"/>"
    "<Integer value=\"12\"/><Integer value=\"17\"/></Vector>"
    "<Vector id=\"COINS_PER_PERFORMANCE\"><Integer value=\"15\"/><Integer value=\"22\"/><Integer value=\"30\"/></Vector>"
    "<Vector id=\"MISSIONS_BEFORE_BONUS_COALS\"><Integer value=\"0\"/><Integer value=\"0\"/><Integer value=\"0\"/>"
    "<Integer value=\"0\"/><Integer value=\"0\"/><Integer value=\"0\"/><Integer value=\"0\"/><Integer value=\"0\"/>"
    "</Vector>"
    "<Vector id=\"COAL_TYPE_WEIGHT\"><Float value=\"0\"/><Float value=\"0\"/><Float value=\"1\"/><Float value=\"1\"/>"
    "<Float value=\"1\"/><Float value=\"1\"/><Float value=\"1\"/><Float value=\"1\"/></Vector>";

const std::pair<const char*, int> kIntegers[] = {
    {"SCORE_PER_LETTER", 10},
    {"SCORE_PER_BONUS_WORD", 50},
    {"MINIMAP_PIXELS_PER_UNIT", 10},
    {"DEFAULT_GAME_TIME", 1000},
    {"COINS_PER_PASSENGER", 2},
    {"MAX_GAMES_BEFORE_HINT", 3},
    {"COAL_TIME_DURATION", 2000},
    {"COAL_COIN_NUM_COINS", 5},
    {"COAL_REVEAL_LETTERS_CP0", 1},
    {"COAL_REVEAL_LETTERS_CP1", 1},
    {"MIN_LETTERS_BETWEEN_BONUS_CP0", 4},
    {"MIN_LETTERS_BETWEEN_BONUS_CP1", 4},
    {"MAX_LETTERS_BETWEEN_BONUS_CP0", 8},
    {"MAX_LETTERS_BETWEEN_BONUS_CP1", 8},
};

}  // namespace

const char* ModeClassFor(int gameType) { return kModeClasses[gameType]; }

RecordingScene::RecordingScene() : player(new KR2Player("Ada")), queue(new WordQueue), words(new WordList) {}

ScoreTable* RecordingScene::HighScoreTable(const std::string& name) {
    Ref<ScoreTable>& table = tables[name];
    if (!table) {
        table = new ScoreTable(10, true);
    }
    return table.Get();
}

TestBar::TestBar(Property* node) : WordBar(node) {}

void TestBar::Save(PropertyNode& node) const { SaveAs(node, "WordBarClassic"); }

void TestBar::TakeBackLetters(bool, bool) { ++takeBacks; }

void TestBar::DropLetter(SlotRef source, SlotRef target, bool movedByMouse) {
    MoveLetter(source, target, movedByMouse);
}

LevelFixture::LevelFixture(int gameType, int ticketMode, const std::vector<std::string>& dictionary) {
    Defines::Create();
    Define(kLists);
    std::string integers;
    for (const auto& [name, value] : kIntegers) {
        integers += "<Integer id=\"" + std::string(name) + "\" value=\"" + std::to_string(value) + "\"/>";
    }
    Define(integers);
    XML::ForgetInitForTesting();
    XML::Init();

    for (const std::string& word : dictionary) {
        scene.words->AddWord(word, 0);
    }
    scene.words->FinishAdding();
    Ref<TicketInfo> ticket = new TicketInfo;
    ticket->GameType = gameType;
    ticket->GameMode = ticketMode;
    ticket->Rating = 0.5f;
    ticket->Performance = {0.9f, 0.6f};
    scene.player->currentTicket = ticket;

    ClassFactory& factory = ClassFactory::Instance();
    previousClassic_ = factory.Find("WordBarClassic");
    previousSlots_ = factory.Find("WordBarSlots");
    factory.Register("WordBarClassic", CreateFromProperty<TestBar>);
    factory.Register("WordBarSlots", CreateFromProperty<TestBar>);
    GameMode::SetHooks({&scene, &hints, &trophies});

    playerTrain = new PlayerTrain;
    opponentTrain = new AutoTrain;
    for (Train* train : {static_cast<Train*>(playerTrain.Get()), static_cast<Train*>(opponentTrain.Get())}) {
        train->SetUnitsToTravel(10);
    }
}

LevelFixture::~LevelFixture() {
    GameMode::SetHooks({});
    ClassFactory& factory = ClassFactory::Instance();
    factory.Register("WordBarClassic", previousClassic_);
    factory.Register("WordBarSlots", previousSlots_);
    Defines::ReleaseInstance();
}

void LevelFixture::Define(const std::string& elements) {
    const std::string xml = "<root>" + elements + "</root>";
    Ref<PropertyFile> file = new PropertyFile();
    if (file->LoadFromMemory(xml.data(), xml.size(), "level constants")) {
        ClassFactory::Instance().CreateNamedObjects(*file);
    }
}

Ref<GameMode> LevelFixture::MakeMode(Property* session) {
    Ref<PropertyNode> node = session != nullptr ? nullptr : new PropertyNode("game", ModeClassFor(Ticket().GameType));
    Ref<Object> made = ClassFactory::Instance().Create(session != nullptr ? session : node.Get());
    Ref<GameMode> mode(ObjectCast<GameMode>(made.Get()));
    if (mode) {
        mode->SeedRandom(7);
        mode->SetTrains(playerTrain.Get(), opponentTrain.Get());
        if (session == nullptr) {
            mode->SetUpWordBar(false);
        }
    }
    return mode;
}

void LevelFixture::PlaceWord(GameMode& mode, const std::string& text, char jokerAs, const std::vector<int>& kinds) {
    PlaceCoals(mode, WordBar::kWordRack, text, jokerAs, kinds);
}

void LevelFixture::PlaceSupply(GameMode& mode, const std::string& text) {
    PlaceCoals(mode, WordBar::kSupplyRack, text, '?', {});
}

void LevelFixture::PlaceCoals(GameMode& mode, int rackIndex, const std::string& text, char jokerAs,
                              const std::vector<int>& kinds) {
    WordBar& bar = *mode.GetWordBar();
    LetterRack& rack = bar.Rack(rackIndex);
    const int size = std::max(rack.GetRackSize(), static_cast<int>(text.size()));
    rack.SetRackSize(size);
    rack.SetSize(size);
    for (size_t i = 0; i < text.size(); ++i) {
        Ref<LetterData> letter = new LetterData;
        letter->SetChar(static_cast<uint8_t>(text[i]));
        if (text[i] == '?') {
            letter->SetType(LetterData::kJoker);
            letter->SetJoker(static_cast<uint8_t>(jokerAs));
        } else if (i < kinds.size()) {
            letter->SetType(kinds[i]);
        }
        Ref<LetterSprite> coal = new LetterSprite(letter.Get(), false);
        bar.CoalLayer().AddChild(coal.Get());
        rack.SetLetter(static_cast<int>(i), coal.Get());
    }
}

void LevelFixture::AddQueueWords(const std::vector<std::string>& words) {
    std::vector<const WordNode*> records;
    for (const std::string& word : words) {
        records_.push_back(std::make_unique<WordNode>(word));
        records.push_back(records_.back().get());
    }
    scene.queue->AddWord(records, false);
}

void LevelFixture::MoveTo(Train& train, float share) {
    train.SetRealX(share * static_cast<float>(train.GetUnitsToTravel() * MINIMAP_PIXELS_PER_UNIT));
}
