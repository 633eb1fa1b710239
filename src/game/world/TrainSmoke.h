#pragma once

#include <cstdint>
#include <string>

class GameNode;
class SpriteLabel;

// A label of the dialog table's definition with its text and glyphs laid
// out, put into the sibling's parent just before the sibling (drawn behind
// it). Null, logged, when the sibling has no parent or the definition is no
// sprite-glyph label.
SpriteLabel* CreateLabelBefore(const std::string& name, GameNode& sibling, const std::wstring& text);

// Blows the text out of a train's chimney at (x, y): the letters leave 160 ms
// apart after `delay`, each with a puff, drift back along one wavy curve and
// are gone 2700 ms after the call.
void SpawnTrainSmoke(GameNode& trainNode, const std::wstring& text, int32_t delay, int32_t x, int32_t y);
