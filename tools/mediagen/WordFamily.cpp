#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "engine/foundation/Ref.h"
#include "game/words/WordList.h"
#include "platform/Files.h"
#include "mediagen/ConstantsFile.h"
#include "mediagen/Families.h"
#include "mediagen/WordFile.h"

namespace {

constexpr const char* kWordFile = "media/data/words.dat";
constexpr const char* kLicenceFile = "media/data/words_copyright.txt";
constexpr const char* kLetterFrequencyFile = "media/properties/letterfreqs.xml";

// Units per word length when the constants do not give them yet.
constexpr WordUnits kDefaultUnits = {1, 2, 3, 4, 5};

// Game types that draw their letters as one ranked word, and its length.
struct RankedType {
    int type;
    int length;
};
constexpr RankedType kRankedTypes[] = {{0, 6}, {1, 7}, {6, 6}, {7, 6}};

WordUnits ReadUnits(const ConstantsFile& dynamic) {
    const std::vector<double> listed = dynamic.Numbers("UNITS_PER_WORD_LENGTH");
    if (listed.empty()) {
        return kDefaultUnits;
    }
    WordUnits units{};
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = i < listed.size() ? static_cast<int>(listed[i]) : 0;
    }
    return units;
}

double At(const std::vector<double>& list, size_t i) { return i < list.size() ? list[i] : 0.0; }

// Every budget a ticket of these constants can ask RandomWord for must find
// a full window of ranked words. Budget = race units / word fraction; both
// are linear in the rating, so their quotient is largest at rating 0 or 1.
void CheckBudgets(const ConstantsFile& settings, const WordList& list) {
    const std::vector<std::string> modes = settings.Strings("GAME_MODES");
    for (const RankedType& ranked : kRankedTypes) {
        if (static_cast<size_t>(ranked.type) >= modes.size()) {
            continue;
        }
        const std::string& group = modes[ranked.type];
        const std::vector<double> near = settings.Numbers("DISTANCE_CP0", group);
        const std::vector<double> far = settings.Numbers("DISTANCE_CP1", group);
        const double fractions[] = {settings.Number("MIN_WORD_PERC_CP0", group).value_or(0),
                                    settings.Number("MIN_WORD_PERC_CP1", group).value_or(0)};
        const int highest = HighestFullWindowRank(list, ranked.length);
        for (size_t lengthClass = 0; lengthClass < std::max(near.size(), far.size()); ++lengthClass) {
            const double units[] = {At(near, lengthClass), At(far, lengthClass)};
            for (int end = 0; end < 2; ++end) {
                if (fractions[end] <= 0) {
                    continue;
                }
                const double budget = std::trunc(std::trunc(units[end]) / fractions[end]);
                if (budget > highest) {
                    throw std::runtime_error("game mode " + group + " asks for " + std::to_string(ranked.length) +
                                             "-letter words of rank " + std::to_string(static_cast<long>(budget)) +
                                             ", but full windows of ranked words reach only rank " +
                                             std::to_string(highest));
                }
            }
        }
    }
}

}  // namespace

void AddWordListRows(Manifest& manifest, const GeneratorInputs& inputs) {
    auto make = [inputs](MediaTree& tree) {
        const std::set<std::string> blocked = ReadWordSet(BlockListFile(inputs.mediaSource));
        const std::vector<std::string> words = ReadCandidateWords(ScowlListFiles(inputs.scowlFolder), blocked);
        const ConstantsFile dynamic(inputs.mediaSource + "/properties/dynamic.xml");
        const Bytes file = EncodeWordFile(RankWords(words, ReadUnits(dynamic)));

        Ref<WordList> list = new WordList;
        list->ReadWordFile(file.data(), file.size());
        CheckBudgets(ConstantsFile(inputs.mediaSource + "/properties/gamesettings.xml"), *list);
        std::printf("word list: %d words; full windows up to rank %d (6 letters), %d (7 letters)\n",
                    list->WordCount(), HighestFullWindowRank(*list, 6), HighestFullWindowRank(*list, 7));

        tree.Add(kWordFile, file);
        tree.Add(kLetterFrequencyFile, LetterFrequencyFile(words));
        Bytes licence;
        if (!platform::ReadWholeFile(inputs.wordLicence, licence)) {
            throw std::runtime_error("cannot read " + inputs.wordLicence);
        }
        tree.Add(kLicenceFile, std::move(licence));
    };
    manifest.Add({"wordlist", "WORDLIST", "WordList", kWordFile, {}, make});
}
