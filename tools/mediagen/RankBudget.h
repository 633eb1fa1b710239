#pragma once

class ConstantsFile;
class WordList;

// Throws when the game settings can ask RandomWord for a rank beyond which
// the ranked words no longer fill a whole window: such a ticket would draw
// from a shorter window than the constants were tuned for. Settings without
// "GAME_MODES" are not checked.
void CheckRankBudgets(const ConstantsFile& settings, const WordList& list);
