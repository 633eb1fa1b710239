#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/HighScoreEntry.h"
#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"

class Property;

// A ranked list of at most `maximumEntries` entries, best first: highest
// scores first when descending, lowest first otherwise.
class ScoreTable : public Object {
    ENGINE_CLASS(ScoreTable, Object)

public:
    ScoreTable(int32_t maximumEntries, bool descending);
    // Reads the table as Write stores it; entries are rebuilt by their class
    // name, and items that build no entry are skipped.
    explicit ScoreTable(const Property* node);

    void Write(Property* node) const;

    // Ranks the entry: placed before the first entry it beats or equals (in a
    // descending table; after equal ones in an ascending table), the last one
    // dropped when the table overflows. Returns its position, or -1 when it
    // did not make the table. The result is also kept as the last score.
    int32_t Insert(HighScoreEntry* entry);

    const std::vector<Ref<HighScoreEntry>>& GetEntries() const { return entries_; }
    bool IsDescending() const { return descending_; }
    int32_t GetMaximumEntries() const { return maximumEntries_; }
    int32_t GetLastScore() const { return lastScore_; }
    void SetLastScore(int32_t position) { lastScore_ = position; }

private:
    std::vector<Ref<HighScoreEntry>> entries_;
    bool descending_ = true;
    int32_t lastScore_ = -1;
    int32_t maximumEntries_ = 0;
};
