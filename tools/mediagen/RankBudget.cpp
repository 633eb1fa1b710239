#include "mediagen/RankBudget.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/words/WordList.h"
#include "mediagen/ConstantsFile.h"
#include "mediagen/WordFile.h"

namespace {

// Game types that draw their letters as one ranked word, and its length.
struct RankedType {
    int type;
    int length;
};
constexpr RankedType kRankedTypes[] = {{0, 6}, {1, 7}, {6, 6}, {7, 6}};

double At(const std::vector<double>& list, size_t i) { return i < list.size() ? list[i] : 0.0; }

}  // namespace

// The budget is race units / word fraction. Both are linear in the rating,
// so their quotient is largest at rating 0 or at rating 1.
void CheckRankBudgets(const ConstantsFile& settings, const WordList& list) {
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
                    continue;  // the game guards this division itself
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
