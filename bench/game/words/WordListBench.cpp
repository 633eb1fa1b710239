// The word list against a std::unordered_set<std::string> holding the same
// (folded) words: look-ups of real words, of non-words and of near misses
// (a real word with one letter changed), the words made from 7 letters (the
// set tries every arrangement), and the heap each takes once loaded.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "game/words/WordList.h"

namespace {

std::vector<uint8_t> ReadWordFile() {
    std::ifstream file(WORDRAIL_WORD_FILE, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct Dictionaries {
    std::vector<uint8_t> file = ReadWordFile();
    size_t listBytes = 0;
    size_t setBytes = 0;
    std::unique_ptr<WordList> list;
    std::unordered_set<std::string> set;
    std::vector<std::string> words;
    std::vector<std::string> nonWords;
    std::vector<std::string> nearMisses;
    std::vector<std::string> sevenLetters;

    Dictionaries() {
        size_t before = HeapInUse();
        list = std::make_unique<WordList>();
        list->ReadWordFile(file.data(), file.size());
        listBytes = HeapInUse() - before;
        for (const WordNode* word : list->WordIndex()) {
            std::string folded;
            WordList::FoldWord(word->Text(), folded);
            words.push_back(folded);
        }
        before = HeapInUse();
        set = std::unordered_set<std::string>(words.begin(), words.end());
        setBytes = HeapInUse() - before;

        std::mt19937 random(7);
        std::shuffle(words.begin(), words.end(), random);
        std::uniform_int_distribution<int> letter('a', 'z');
        while (nonWords.size() < 10000) {
            std::string text(3 + random() % 5, 'a');
            std::generate(text.begin(), text.end(), [&] { return static_cast<char>(letter(random)); });
            if (!set.contains(text)) {
                nonWords.push_back(text);
            }
        }
        for (const std::string& word : words) {
            std::string miss = word;
            miss[random() % miss.size()] = static_cast<char>(letter(random));
            if (!set.contains(miss)) {
                nearMisses.push_back(miss);
            }
        }
        for (const WordList::RankedWord& ranked : list->RankedWords(7)) {
            std::string letters;
            WordList::FoldWord(ranked.word->Text(), letters);
            std::shuffle(letters.begin(), letters.end(), random);
            sevenLetters.push_back(letters);
            if (sevenLetters.size() == 200) {
                break;
            }
        }
    }
};

Dictionaries& Shared() {
    static Dictionaries dictionaries;
    return dictionaries;
}

template <typename Lookup>
void RunLookups(benchmark::State& state, const std::vector<std::string>& texts, Lookup lookup) {
    size_t i = 0;
    size_t found = 0;
    for (auto _ : state) {
        found += lookup(texts[i]);
        i = i + 1 == texts.size() ? 0 : i + 1;
    }
    benchmark::DoNotOptimize(found);
}

const std::vector<std::string>& Texts(int kind) {
    Dictionaries& d = Shared();
    return kind == 0 ? d.words : kind == 1 ? d.nonWords : d.nearMisses;
}

void Contains_WordList(benchmark::State& state) {
    const WordList& list = *Shared().list;
    RunLookups(state, Texts(static_cast<int>(state.range(0))),
               [&](const std::string& text) { return list.Contains(text) != nullptr; });
}

void Contains_HashSet(benchmark::State& state) {
    const std::unordered_set<std::string>& set = Shared().set;
    RunLookups(state, Texts(static_cast<int>(state.range(0))),
               [&](const std::string& text) { return set.contains(text); });
}

void FindFromLetters_WordList(benchmark::State& state) {
    Dictionaries& d = Shared();
    std::vector<const WordNode*> found;
    size_t i = 0;
    for (auto _ : state) {
        found.clear();
        d.list->FindFromLetters(d.sevenLetters[i], found, false, 0);
        benchmark::DoNotOptimize(found.data());
        i = i + 1 == d.sevenLetters.size() ? 0 : i + 1;
    }
}

// Every arrangement of 3 to 7 of the letters, looked up in the set.
void FindFromLetters_HashSet(benchmark::State& state) {
    Dictionaries& d = Shared();
    std::unordered_set<std::string> found;
    size_t i = 0;
    for (auto _ : state) {
        found.clear();
        std::string letters = d.sevenLetters[i];
        std::sort(letters.begin(), letters.end());
        for (unsigned mask = 1; mask < (1u << letters.size()); ++mask) {
            if (__builtin_popcount(mask) < WordList::kMinimumLength) {
                continue;
            }
            std::string chosen;
            for (size_t k = 0; k < letters.size(); ++k) {
                if (mask & (1u << k)) {
                    chosen.push_back(letters[k]);
                }
            }
            do {
                if (d.set.contains(chosen)) {
                    found.insert(chosen);
                }
            } while (std::next_permutation(chosen.begin(), chosen.end()));
        }
        benchmark::DoNotOptimize(found.size());
        i = i + 1 == d.sevenLetters.size() ? 0 : i + 1;
    }
}

void Load_WordList(benchmark::State& state) {
    Dictionaries& d = Shared();
    for (auto _ : state) {
        WordList list;
        list.ReadWordFile(d.file.data(), d.file.size());
        benchmark::DoNotOptimize(list.WordCount());
    }
}

}  // namespace

BENCHMARK(Contains_WordList)->ArgName("words0_non1_near2")->DenseRange(0, 2);
BENCHMARK(Contains_HashSet)->ArgName("words0_non1_near2")->DenseRange(0, 2);
BENCHMARK(FindFromLetters_WordList);
BENCHMARK(FindFromLetters_HashSet);
BENCHMARK(Load_WordList);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const Dictionaries& d = Shared();
    if (d.words.empty()) {
        std::fprintf(stderr, "no words read from %s\n", WORDRAIL_WORD_FILE);
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\n%zu words; heap after load: word list %.2f MiB, hash set %.2f MiB\n", d.words.size(),
                static_cast<double>(d.listBytes) / (1024 * 1024), static_cast<double>(d.setBytes) / (1024 * 1024));
    benchmark::Shutdown();
    return 0;
}
