#pragma once

#include "mediagen/Sequencer.h"

// The three pieces, in one key family and one instrument set: a light
// waltz for the menu, a travelling theme for the map, a brisk loop for the
// levels.
Piece SelectionMusic();
Piece MapMusic();
Piece GameMusic();
