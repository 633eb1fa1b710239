// Ticket generation on the generated word list, per game type and rating:
// each run makes 1,000 tickets from seeds 1 to 1,000 and reports the median
// and the worst wall time of one ticket in microseconds (on a busy machine
// the worst includes the times the core was taken away). Also the word-list searches tickets lean
// on, per call. The mode groups are a fixture of plausible tuning values.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/words/LetterSetBuilder.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordList.h"
#include "platform/Files.h"

namespace {

constexpr int kSeeds = 1000;

constexpr const char* kModeGroup =
    "<Vector id=\"DISTANCE_CP0\"><Integer value=\"12\"/><Integer value=\"16\"/><Integer value=\"20\"/></Vector>"
    "<Vector id=\"DISTANCE_CP1\"><Integer value=\"18\"/><Integer value=\"24\"/><Integer value=\"30\"/></Vector>"
    "<Float id=\"MIN_WORD_PERC_CP0\" value=\"0.3\"/><Float id=\"MIN_WORD_PERC_CP1\" value=\"0.4\"/>"
    "<Float id=\"MAX_WORD_PERC_CP0\" value=\"0.5\"/><Float id=\"MAX_WORD_PERC_CP1\" value=\"0.6\"/>"
    "<Float id=\"FREQ_STRENGTH_CP0\" value=\"1\"/><Float id=\"FREQ_STRENGTH_CP1\" value=\"1.5\"/>"
    "<Vector id=\"WORD_LENGTH_STRENGTH_CP0\"><Float value=\"1\"/><Float value=\"1\"/><Float value=\"1\"/>"
    "<Float value=\"1\"/><Float value=\"1\"/></Vector>"
    "<Vector id=\"WORD_LENGTH_STRENGTH_CP1\"><Float value=\"0.5\"/><Float value=\"1\"/><Float value=\"1\"/>"
    "<Float value=\"1.2\"/><Float value=\"1.5\"/></Vector>"
    "<Integer id=\"MIN_PERMUTATIONS_CP0\" value=\"10\"/><Integer id=\"MIN_PERMUTATIONS_CP1\" value=\"20\"/>"
    "<Integer id=\"MAX_PERMUTATIONS_CP0\" value=\"40\"/><Integer id=\"MAX_PERMUTATIONS_CP1\" value=\"80\"/>"
    "<Vector id=\"WORD_LENGTH_CHANCE_CP0\"><Float value=\"0.4\"/><Float value=\"0.3\"/><Float value=\"0.2\"/>"
    "<Float value=\"0.1\"/></Vector>"
    "<Vector id=\"WORD_LENGTH_CHANCE_CP1\"><Float value=\"0.2\"/><Float value=\"0.3\"/><Float value=\"0.3\"/>"
    "<Float value=\"0.2\"/></Vector>";

std::string MediaPath(const std::string& file) { return std::string(WORDRAIL_BUILD_DIR) + "/media/" + file; }

bool LoadConstants(const std::string& xml) {
    Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(xml.data(), xml.size(), "bench constants")) {
        return false;
    }
    ClassFactory::Instance().CreateNamedObjects(*file);
    return true;
}

class BenchHooks : public TicketPlayerHook, public TicketMapHook, public TicketSceneHook {
public:
    // A new player, so classic six-letter sets keep the rare letters out.
    int GamesPlayed() const override { return 4; }
    int TrackLengthClass(int, int track) const override { return track % 3; }
    const WordList* WaitForWordList() override { return words.Get(); }
    bool IsInWordQueue(const std::string&) const override { return false; }

    Ref<WordList> words;
};

// The real word list and letter weights, the fixture groups and the hooks.
class Content {
public:
    Content() {
        Logger::Instance(Logger::kNever, 0);
        Defines::Create();
        std::vector<uint8_t> bytes;
        std::string constants = "<root><Vector id=\"GAME_MODES\">";
        for (int type = 0; type < 8; ++type) {
            constants += "<String value=\"MODE" + std::to_string(type) + "\"/>";
        }
        constants += "<String value=\"MODE_RANDOM\"/></Vector>";
        constants += "<Vector id=\"UNITS_PER_WORD_LENGTH\"><Integer value=\"1\"/><Integer value=\"2\"/>"
                     "<Integer value=\"3\"/><Integer value=\"4\"/><Integer value=\"5\"/></Vector>";
        constants += "<Float id=\"MIN_PERFORMANCE_SECTION\" value=\"0.6\"/>"
                     "<Float id=\"MAX_PERFORMANCE_SECTION\" value=\"0.9\"/>"
                     "<Integer id=\"FORBIDDEN_LETTER_AMOUNT\" value=\"5\"/>"
                     "<Integer id=\"FORBIDDEN_LETTER_MAX_GAMES\" value=\"10\"/>";
        for (int type = 0; type < 8; ++type) {
            constants += "<Node id=\"MODE" + std::to_string(type) + "\">" + kModeGroup + "</Node>";
        }
        constants += "</root>";
        std::vector<uint8_t> freqs;
        if (!platform::ReadWholeFile(MediaPath("data/words.dat"), bytes) ||
            !platform::ReadWholeFile(MediaPath("properties/letterfreqs.xml"), freqs) || !LoadConstants(constants) ||
            !LoadConstants(std::string(freqs.begin(), freqs.end()))) {
            std::fprintf(stderr, "the generated media are missing under %s\n", WORDRAIL_BUILD_DIR);
            std::exit(1);
        }
        hooks.words = new WordList;
        hooks.words->ReadWordFile(bytes.data(), bytes.size());
        TicketInfo::SetHooks({&hooks, &hooks, &hooks});
    }

    BenchHooks hooks;
};

Content& Shared() {
    static Content content;
    return content;
}

double Microseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

void BM_GenerateTicket(benchmark::State& state) {
    Shared();
    const int gameType = static_cast<int>(state.range(0));
    const float rating = static_cast<float>(state.range(1)) / 2.0f;
    std::vector<double> times;
    for (auto _ : state) {
        times.clear();
        for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
            RandomGenerator::SetGlobal(new RandomGenerator(seed, 0));
            Ref<TicketInfo> ticket = new TicketInfo;
            ticket->GameType = gameType;
            ticket->Rating = rating;
            ticket->Track = static_cast<int>(seed);
            const auto start = std::chrono::steady_clock::now();
            ticket->Generate();
            times.push_back(Microseconds(std::chrono::steady_clock::now() - start));
            benchmark::DoNotOptimize(ticket->LetterSet.data());
        }
    }
    RandomGenerator::SetGlobal(nullptr);
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["worst_us"] = times.back();
}
BENCHMARK(BM_GenerateTicket)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2}})
    ->ArgNames({"type", "rating_x2"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// A letter set whose word count cannot be met: the builder's whole allowance
// of attempts, then its fallback.
void BM_LetterSetFallback(benchmark::State& state) {
    Shared();
    RandomGenerator::SetGlobal(new RandomGenerator(1, 0));
    Ref<TicketInfo> ticket = new TicketInfo;
    ticket->GameType = 2;
    ticket->Rating = 0.5f;
    ticket->Generate();
    ticket->MinPermutations = 100000;
    const LetterSetBuilder builder(*Shared().hooks.words, &Shared().hooks);
    for (auto _ : state) {
        benchmark::DoNotOptimize(builder.Build("", "", *ticket));
    }
    RandomGenerator::SetGlobal(nullptr);
}
BENCHMARK(BM_LetterSetFallback)->Unit(benchmark::kMillisecond);

// Every word of the list and as many shuffles of them, most of which are no word.
std::vector<std::string> Probes() {
    std::vector<std::string> probes;
    RandomGenerator shuffler(7, 0);
    for (const WordNode* word : Shared().hooks.words->WordIndex()) {
        std::string text = word->Text();
        probes.push_back(text);
        for (size_t i = text.size(); i > 1; --i) {
            std::swap(text[i - 1], text[shuffler.Next() % i]);
        }
        probes.push_back(text);
    }
    return probes;
}

void BM_Contains(benchmark::State& state) {
    const std::vector<std::string> probes = Probes();
    const WordList& words = *Shared().hooks.words;
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(words.Contains(probes[i]));
        i = i + 1 == probes.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_Contains);

void BM_FindFromLettersSeven(benchmark::State& state) {
    const WordList& words = *Shared().hooks.words;
    const std::vector<WordNode*>& sevens = words.WordsOfLength(7);
    std::vector<const WordNode*> found;
    size_t i = 0;
    size_t total = 0;
    for (auto _ : state) {
        found.clear();
        words.FindFromLetters(sevens[i]->Text(), found, false, 7);
        total += found.size();
        i = i + 1 == sevens.size() ? 0 : i + 1;
    }
    state.counters["words_per_call"] = benchmark::Counter(static_cast<double>(total), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FindFromLettersSeven);

}  // namespace

BENCHMARK_MAIN();
