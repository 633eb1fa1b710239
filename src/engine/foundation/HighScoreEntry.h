#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Object.h"

class Property;

// One line of a high-score table: who and how much.
class HighScoreEntry : public Object {
    ENGINE_CLASS(HighScoreEntry, Object)

public:
    HighScoreEntry(std::string playerName, int32_t score);
    // Reads "playername" and "scorevalue"; missing ones give "" and 0.
    static HighScoreEntry* FromXml(const Property* node);

    // Stores the entry into the node and names the node's type after the class.
    virtual void Write(Property* node) const;
    // Whether this entry's score is less than or equal to the other's.
    virtual bool LessOrEqual(const HighScoreEntry& other) const;

    const std::string& GetPlayerName() const { return playerName_; }
    int32_t GetScore() const { return score_; }

protected:
    explicit HighScoreEntry(const Property* node);

private:
    std::string playerName_;
    int32_t score_;
};
