#pragma once

#include <cstdint>
#include <string>

class ScoreTable;

// The game keeps one table of the five best single-game results per game
// type; a table is never shown or booked with fewer than five rows.
constexpr int32_t kHighScoreRows = 5;

// The registered table of that name: made (five rows, best first) when
// missing and topped up with default entries unless it holds exactly five.
// Null while no high-score store exists.
ScoreTable* GetHighScoreTable(const std::string& tableName);

// Inserts the five default entries (120000 down to 80000, levels 5 to 1),
// named from "TEXT_HIGHSCORE_NAMES" without repeating a name where the list
// allows it, and clears the table's last score.
void FillDefaultHighScores(ScoreTable& table);

// A name as the tables show it: a leading "%" marks a default entry and is
// not shown.
std::string ShownHighScoreName(const std::string& storedName);
