#pragma once

#include <string>

class Property;

// The game constants tickets read. Each lookup answers 0, 0.0 or an empty
// list when the constant, the entry or the constants store is missing.
namespace ticket_constants {

int Int(const std::string& name);
float Float(const std::string& name);
// A list constant; never null.
const Property* List(const std::string& name);
// The node of constants of a game type: the group named by entry `gameType`
// of GAME_MODES; never null.
const Property* ModeGroup(int gameType);
// An entry of a child list of a group.
int IntAt(const Property* list, int index);
float FloatAt(const Property* list, int index);

}  // namespace ticket_constants
