#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/HighScoreEntry.h"

// A high-score entry of the game: the base entry plus the level reached.
class KR2Score : public HighScoreEntry {
    ENGINE_CLASS(KR2Score, HighScoreEntry)

public:
    KR2Score(std::string playerName, int32_t score, int32_t level);
    // The base keys, then "level" (0 when missing).
    static KR2Score* FromXml(const Property* node);

    void Write(Property* node) const override;

    int32_t GetLevel() const { return level_; }

private:
    explicit KR2Score(const Property* node);

    int32_t level_;
};
