#pragma once

#include <cstdint>
#include <string>

// The resource ids of a map section's pictures in "mapbacks": the map scene
// and the credits strip both show them. Sections count from 1 in the ids.
namespace map_backs {

std::string MakeBackgroundId(int32_t section);
std::string MakeOverlayId(int32_t section);
// The picture between the section and the next; the "B" picture goes over
// it while the way on is still locked.
std::string MakeBetweenId(int32_t section);
std::string MakeBetweenBId(int32_t section);

}  // namespace map_backs
