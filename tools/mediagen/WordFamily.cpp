#include <cstdio>
#include <stdexcept>
#include <string>

#include "engine/foundation/Ref.h"
#include "game/words/WordList.h"
#include "platform/Files.h"
#include "mediagen/ConstantsFile.h"
#include "mediagen/Families.h"
#include "mediagen/RankBudget.h"
#include "mediagen/WordFile.h"

namespace {

constexpr const char* kWordFile = "media/data/words.dat";
constexpr const char* kLicenceFile = "media/data/words_copyright.txt";
constexpr const char* kLetterFrequencyFile = "media/properties/letterfreqs.xml";

// Units per word length when the constants do not give them yet.
constexpr WordUnits kDefaultUnits = {1, 2, 3, 4, 5};

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

}  // namespace

void AddWordListRows(Manifest& manifest, const GeneratorInputs& inputs) {
    auto make = [inputs](MediaTree& tree) {
        const std::set<std::string> blocked = ReadWordSet(BlockListFile(inputs.mediaSource));
        const std::vector<std::string> words = ReadCandidateWords(ScowlListFiles(inputs.scowlFolder), blocked);
        const ConstantsFile dynamic(inputs.mediaSource + "/properties/dynamic.xml");
        const Bytes file = EncodeWordFile(RankWords(words, ReadUnits(dynamic)));

        Ref<WordList> list = new WordList;
        list->ReadWordFile(file.data(), file.size());
        CheckRankBudgets(ConstantsFile(inputs.mediaSource + "/properties/gamesettings.xml"), *list);
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
