// Ticket generation on the generated word list, per game type and rating:
// each run makes 1,000 tickets from seeds 1 to 1,000 and reports the median
// and the worst wall time of one ticket in microseconds (on a busy machine
// the worst includes the times the core was taken away). Also the word-list searches tickets lean
// on, per call. The constants are the shipped ones, read from the build's media.

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

// The constant files as the build ships them.
const std::vector<std::string> kConstantFiles = {
    "default.xml", "assets.xml", "dynamic.xml", "text.xml",
    "names.xml", "letterfreqs.xml", "gamesettings.xml", "rankings.xml",
};

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
    int TrackLengthClass(int, int track) const override { return track % 4; }
    const WordList* WaitForWordList() override { return words.Get(); }
    bool IsInWordQueue(const std::string&) const override { return false; }

    Ref<WordList> words;
};

// The real word list and constants, and the hooks.
class Content {
public:
    Content() {
        Logger::Instance(Logger::kNever, 0);
        Defines::Create();
        std::vector<uint8_t> bytes;
        bool loaded = platform::ReadWholeFile(MediaPath("data/words.dat"), bytes);
        for (const std::string& name : kConstantFiles) {
            std::vector<uint8_t> xml;
            loaded = loaded && platform::ReadWholeFile(MediaPath("properties/" + name), xml) &&
                     LoadConstants(std::string(xml.begin(), xml.end()));
        }
        if (!loaded) {
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
