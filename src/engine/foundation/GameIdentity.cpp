#include "engine/foundation/GameIdentity.h"

std::string CurrentGameName() {
    return "WordRail";
}

std::string CurrentGameId() {
    return "WordRail";
}
