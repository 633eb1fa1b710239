#include "game/world/MapBackIds.h"

namespace map_backs {

namespace {

std::string NumberedId(const char* stem, int32_t section) { return stem + std::to_string(section + 1); }

}  // namespace

std::string MakeBackgroundId(int32_t section) { return NumberedId("BACKGROUND", section); }
std::string MakeOverlayId(int32_t section) { return NumberedId("OVERLAY", section); }
std::string MakeBetweenId(int32_t section) { return NumberedId("BETWEEN_A", section); }
std::string MakeBetweenBId(int32_t section) { return NumberedId("BETWEEN_B", section); }

}  // namespace map_backs
