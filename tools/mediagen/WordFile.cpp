#include "mediagen/WordFile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "engine/foundation/Ref.h"
#include "game/words/WordList.h"

namespace {

constexpr int kShortest = 3;
constexpr int kLongest = 7;
constexpr int kFirstRankedLength = 6;
constexpr int kMaxRank = 65535;
constexpr size_t kWindow = 76;

// Commonness levels of the lists read: up to 50 the lists hold the words an
// ordinary reader knows.
constexpr int kLevels[] = {10, 20, 35, 40, 50};
constexpr const char* kLists[] = {"english-words", "american-words"};

bool IsPlainWord(const std::string& line) {
    return line.size() >= kShortest && line.size() <= kLongest &&
           std::all_of(line.begin(), line.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string Trimmed(std::string line) {
    const size_t comment = line.find('#');
    if (comment != std::string::npos) {
        line.erase(comment);
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

size_t SharedPrefix(const std::string& a, const std::string& b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) {
        ++n;
    }
    return n;
}

}  // namespace

std::vector<std::string> ScowlListFiles(const std::string& scowlFolder) {
    std::vector<std::string> files;
    for (const char* list : kLists) {
        for (int level : kLevels) {
            files.push_back(scowlFolder + "/" + list + "." + std::to_string(level));
        }
    }
    return files;
}

std::string BlockListFile(const std::string& mediaSource) { return mediaSource + "/src/words/blocklist.txt"; }

std::set<std::string> ReadWordSet(const std::string& file) {
    std::ifstream in(file);
    if (!in) {
        throw std::runtime_error("cannot read " + file);
    }
    std::set<std::string> words;
    for (std::string line; std::getline(in, line);) {
        line = Trimmed(line);
        if (!line.empty()) {
            words.insert(line);
        }
    }
    return words;
}

std::vector<std::string> ReadCandidateWords(const std::vector<std::string>& listFiles,
                                            const std::set<std::string>& blocked) {
    std::set<std::string> words;
    for (const std::string& file : listFiles) {
        std::ifstream in(file);
        if (!in) {
            throw std::runtime_error("cannot read " + file);
        }
        // Proper nouns start with a capital, possessives and contractions hold
        // an apostrophe: the plain-word test drops them all.
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (IsPlainWord(line) && blocked.count(line) == 0) {
                words.insert(line);
            }
        }
    }
    return {words.begin(), words.end()};
}

std::vector<RankedEntry> RankWords(const std::vector<std::string>& words, const WordUnits& units) {
    Ref<WordList> list = new WordList;
    for (const std::string& word : words) {
        list->AddWord(word, 0);
    }
    list->FinishAdding();

    std::vector<RankedEntry> ranked;
    ranked.reserve(words.size());
    std::vector<const WordNode*> found;
    for (const std::string& word : words) {
        const int length = static_cast<int>(word.size());
        int rank = 0;
        if (length >= kFirstRankedLength) {
            found.clear();
            list->FindFromLetters(word, found, false, length);
            for (const WordNode* part : found) {
                rank = std::min(kMaxRank, rank + units[part->LetterCount() - kShortest]);
            }
        }
        ranked.push_back({word, rank});
    }
    return ranked;
}

Bytes EncodeWordFile(const std::vector<RankedEntry>& entries) {
    Bytes out;
    const std::string* previous = nullptr;
    for (const RankedEntry& entry : entries) {
        const size_t keep = previous != nullptr ? SharedPrefix(*previous, entry.word) : 0;
        if (entry.rank > 0) {
            out.push_back(static_cast<uint8_t>(8 + keep));
            out.push_back(static_cast<uint8_t>(entry.rank & 0xFF));
            out.push_back(static_cast<uint8_t>(entry.rank >> 8));
        } else {
            out.push_back(static_cast<uint8_t>(keep));
        }
        out.insert(out.end(), entry.word.begin() + static_cast<std::ptrdiff_t>(keep), entry.word.end());
        previous = &entry.word;
    }
    return out;
}

std::string LetterFrequencyFile(const std::vector<std::string>& words) {
    std::array<long, 26> counts{};
    long total = 0;
    for (const std::string& word : words) {
        for (char c : word) {
            ++counts[c - 'a'];
            ++total;
        }
    }
    std::string xml = "<root>\n  <Vector id=\"LETTER_FREQS\">\n";
    for (int i = 0; i < 26; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "    <Float value=\"%.3f\"/>\n",
                      total > 0 ? 100.0 * static_cast<double>(counts[i]) / static_cast<double>(total) : 0.0);
        xml += line;
    }
    return xml + "  </Vector>\n</root>\n";
}

int HighestFullWindowRank(const WordList& list, int length) {
    const std::vector<WordList::RankedWord>& ranked = list.RankedWords(length);
    return ranked.size() < kWindow ? -1 : ranked[ranked.size() - kWindow].rank;
}
