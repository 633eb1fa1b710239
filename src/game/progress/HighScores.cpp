#include "game/progress/HighScores.h"

#include <algorithm>
#include <vector>

#include "engine/foundation/Defines.h"
#include "engine/foundation/HighScoreTables.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/ScoreTable.h"
#include "engine/foundation/TextConversions.h"
#include "game/progress/KR2Score.h"

namespace {

constexpr const char* kNameList = "TEXT_HIGHSCORE_NAMES";
constexpr int kRedrawsForDistinctName = 10;

std::vector<std::string> DefaultNames() {
    std::vector<std::string> names;
    const Defines* defines = Defines::Instance();
    const PropertyVector* list = defines != nullptr ? defines->GetVector(kNameList) : nullptr;
    if (list == nullptr) {
        return names;
    }
    for (const Ref<Property>& item : list->Items()) {
        names.push_back(WideToNarrow(Property::AsText(item.Get())));
    }
    return names;
}

// Index of the next default name: redrawn while it repeats one of this
// fill, at most ten times. Without a random source the list is taken in order.
size_t DrawNameIndex(size_t nameCount, const std::vector<size_t>& used) {
    RandomGenerator* random = RandomGenerator::Global();
    if (random == nullptr) {
        return used.size() % nameCount;
    }
    size_t index = random->Next() % nameCount;
    for (int redraw = 0; redraw < kRedrawsForDistinctName &&
                         std::find(used.begin(), used.end(), index) != used.end();
         ++redraw) {
        index = random->Next() % nameCount;
    }
    return index;
}

}  // namespace

ScoreTable* GetHighScoreTable(const std::string& tableName) {
    HighScoreTables* store = HighScoreTables::Instance();
    if (store == nullptr) {
        ENGINE_LOG(1, "No high-score store for the table \"%s\"", tableName.c_str());
        return nullptr;
    }
    Ref<ScoreTable>& table = store->GetTables()[tableName];
    if (!table) {
        table = new ScoreTable(kHighScoreRows, true);
    }
    if (table->GetEntries().size() != static_cast<size_t>(kHighScoreRows)) {
        FillDefaultHighScores(*table);
    }
    return table.Get();
}

void FillDefaultHighScores(ScoreTable& table) {
    const std::vector<std::string> names = DefaultNames();
    if (names.empty()) {
        ENGINE_LOG(1, "\"%s\" holds no names: the default high scores go without", kNameList);
    }
    std::vector<size_t> used;
    for (int32_t row = 0; row < kHighScoreRows; ++row) {
        std::string name;
        if (!names.empty()) {
            used.push_back(DrawNameIndex(names.size(), used));
            name = names[used.back()];
        }
        const Ref<KR2Score> entry = new KR2Score(name, 120000 - row * 10000, kHighScoreRows - row);
        table.Insert(entry.Get());
    }
    table.SetLastScore(-1);
}

std::string ShownHighScoreName(const std::string& storedName) {
    return !storedName.empty() && storedName.front() == '%' ? storedName.substr(1) : storedName;
}
