#include "TicketFixture.h"

#include <cstdio>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/words/TicketInfo.h"

namespace {

constexpr const char* kGroupBody =
    "<Vector id=\"DISTANCE_CP0\"><Integer value=\"4\"/><Integer value=\"8\"/></Vector>"
    "<Vector id=\"DISTANCE_CP1\"><Integer value=\"6\"/><Integer value=\"12\"/></Vector>"
    "<Float id=\"MIN_WORD_PERC_CP0\" value=\"0.2\"/><Float id=\"MIN_WORD_PERC_CP1\" value=\"0.3\"/>"
    "<Float id=\"MAX_WORD_PERC_CP0\" value=\"0.4\"/><Float id=\"MAX_WORD_PERC_CP1\" value=\"0.5\"/>"
    "<Float id=\"FREQ_STRENGTH_CP0\" value=\"1\"/><Float id=\"FREQ_STRENGTH_CP1\" value=\"2\"/>"
    "<Vector id=\"WORD_LENGTH_STRENGTH_CP0\"><Float value=\"1\"/><Float value=\"1\"/><Float value=\"1\"/>"
    "<Float value=\"1\"/><Float value=\"1\"/></Vector>"
    "<Vector id=\"WORD_LENGTH_STRENGTH_CP1\"><Float value=\"2\"/><Float value=\"1.5\"/><Float value=\"1\"/>"
    "<Float value=\"0.5\"/><Float value=\"0.1\"/></Vector>"
    "<Integer id=\"MIN_PERMUTATIONS_CP0\" value=\"2\"/><Integer id=\"MIN_PERMUTATIONS_CP1\" value=\"6\"/>"
    "<Integer id=\"MAX_PERMUTATIONS_CP0\" value=\"20\"/><Integer id=\"MAX_PERMUTATIONS_CP1\" value=\"40\"/>"
    "<Vector id=\"WORD_LENGTH_CHANCE_CP0\"><Float value=\"0.4\"/><Float value=\"0.3\"/><Float value=\"0.2\"/>"
    "<Float value=\"0.1\"/></Vector>"
    "<Vector id=\"WORD_LENGTH_CHANCE_CP1\"><Float value=\"0.1\"/><Float value=\"0.2\"/><Float value=\"0.3\"/>"
    "<Float value=\"0.4\"/></Vector>";

// Weights a..z: the fixture list's letters a e l n r s t are heavy.
constexpr float kWeights[26] = {8, 1, 2, 2, 12, 1, 1, 1, 6, 0.5f, 0.5f, 5, 1, 7, 5, 1, 0.1f,
                                6, 6, 9,  2, 1, 1, 0.2f, 1, 0.1f};

std::string GroupXml(int type, const std::string& body) {
    return "<Node id=\"M" + std::to_string(type) + "\">" + body + "</Node>";
}

std::string groupBody = kGroupBody;

}  // namespace

TicketConstantsFixture::TicketConstantsFixture() {
    Defines::Create();
    groupBody = kGroupBody;
    std::string xml = "<Vector id=\"GAME_MODES\">";
    for (int type = 0; type < 8; ++type) {
        xml += "<String value=\"M" + std::to_string(type) + "\"/>";
    }
    xml += "<String value=\"RANDOM\"/></Vector>";
    xml += "<Vector id=\"UNITS_PER_WORD_LENGTH\"><Integer value=\"1\"/><Integer value=\"2\"/><Integer value=\"3\"/>"
           "<Integer value=\"4\"/><Integer value=\"#5\"/></Vector>";
    xml += "<Vector id=\"LETTER_FREQS\">";
    for (float weight : kWeights) {
        char entry[64];
        std::snprintf(entry, sizeof entry, "<Float value=\"%g\"/>", weight);
        xml += entry;
    }
    xml += "</Vector>";
    xml += "<Float id=\"MIN_PERFORMANCE_SECTION\" value=\"0.6\"/><Float id=\"MAX_PERFORMANCE_SECTION\" value=\"0.9\"/>"
           "<Integer id=\"FORBIDDEN_LETTER_AMOUNT\" value=\"5\"/><Integer id=\"FORBIDDEN_LETTER_MAX_GAMES\" value=\"10\"/>";
    for (int type = 0; type < 8; ++type) {
        xml += GroupXml(type, groupBody);
    }
    Define(xml);
}

TicketConstantsFixture::~TicketConstantsFixture() { Defines::ReleaseInstance(); }

void TicketConstantsFixture::Define(const std::string& elements) {
    const std::string xml = "<root>" + elements + "</root>";
    Ref<PropertyFile> file = new PropertyFile();
    if (file->LoadFromMemory(xml.data(), xml.size(), "ticket constants")) {
        ClassFactory::Instance().CreateNamedObjects(*file);
    }
}

void TicketConstantsFixture::DefineInGroups(const std::string& element) {
    // A later element of the same name replaces the earlier one in a node.
    groupBody += element;
    std::string xml;
    for (int type = 0; type < 8; ++type) {
        xml += GroupXml(type, groupBody);
    }
    Define(xml);
}

void FixedTicketHooks::Install() { TicketInfo::SetHooks({this, this, this}); }

void FixedTicketHooks::Uninstall() { TicketInfo::SetHooks({}); }

Ref<WordList> WordListOf(const std::initializer_list<std::string>& words) {
    Ref<WordList> list = new WordList;
    for (const std::string& word : words) {
        list->AddWord(word, 0);
    }
    list->FinishAdding();
    return list;
}

Ref<WordList> FixtureWordList() {
    Ref<WordList> list = new WordList;
    const char* plain[] = {"ear",  "era",  "are",  "art",  "rat",  "tar",  "sat",  "tea",  "eat",  "ate",
                           "set",  "net",  "ten",  "tan",  "ant",  "let",  "sea",  "rate", "tear", "star",
                           "rest", "seat", "east", "neat", "late", "tale", "earn", "near", "rent", "sale",
                           "stare", "tears", "rates", "least", "steal", "slate", "learn", "alert", "alter",
                           "later", "quiz", "jazz", "box", "cub"};
    for (const char* word : plain) {
        list->AddWord(word, 0);
    }
    const std::pair<const char*, int> ranked[] = {{"alerts", 10}, {"alters", 20}, {"staler", 30}, {"antler", 40},
                                                  {"rental", 50}, {"learnt", 60}, {"blares", 15}, {"cradle", 25},
                                                  {"salted", 35}, {"antlers", 15}, {"rentals", 25},
                                                  {"saltern", 35}, {"sternal", 45}};
    for (const auto& [word, rank] : ranked) {
        list->AddWord(word, rank);
    }
    list->FinishAdding();
    return list;
}

SeededRun::SeededRun(uint32_t seed) { RandomGenerator::SetGlobal(new RandomGenerator(seed, 0)); }

SeededRun::~SeededRun() { RandomGenerator::SetGlobal(nullptr); }

std::string Describe(const TicketInfo& ticket) {
    char numbers[256];
    std::snprintf(numbers, sizeof numbers, "units=%d pass=%d%d%d%d%d perf=%.4f,%.4f", ticket.NumUnits,
                  ticket.Passengers[0], ticket.Passengers[1], ticket.Passengers[2], ticket.Passengers[3],
                  ticket.Passengers[4], ticket.Performance[0], ticket.Performance[1]);
    std::string text = numbers;
    if (!ticket.LetterSet.empty()) {
        text += " set=" + ticket.LetterSet;
    }
    if (ticket.GameType == 2 || ticket.GameType == 5) {
        std::snprintf(numbers, sizeof numbers, " perms=%d-%d per=%d,%d,%d,%d,%d total=%.2f", ticket.MinPermutations,
                      ticket.MaxPermutations, ticket.Units[0], ticket.Units[1], ticket.Units[2], ticket.Units[3],
                      ticket.Units[4], ticket.FreqsTotal);
        text += numbers;
    }
    if (!ticket.Words.empty()) {
        text += " words=";
        for (size_t i = 0; i < ticket.Words.size(); ++i) {
            text += (i == 0 ? "" : ",") + ticket.Words[i]->Text();
        }
    }
    return text;
}
