#pragma once

#include <string>

#include "engine/foundation/Ref.h"

class GameNode;
class Property;
class Sprite;

// The part of a composite node that a child of its definition describes,
// built through the class factory. A missing child, or one that builds no
// sprite, gives a plain sprite of the shared default node, so the composite
// never holds a null part.
Ref<Sprite> BuildPartSprite(Property* definition, const std::string& childName);
// The same for any node.
Ref<GameNode> BuildPartNode(Property* definition, const std::string& childName);
