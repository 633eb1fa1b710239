#pragma once

#include <string>

class GameScene;

// The word a player would type next in the running level, for scripted
// runs: a queued word still to find whose letters lie in the supply, else a
// word of the word list that the supply's letters spell, that the level
// accepts and that is not found yet. Empty when there is none or no level.
std::string OpenWordOf(const GameScene& game);
