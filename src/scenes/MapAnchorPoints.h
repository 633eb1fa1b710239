#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "game/world/TrackPart.h"

class GameNode;
class Property;
class SectionInfo;
class SectionList;
class Sprite;

// The landscape pieces and station signs of the map, built from the
// anchor-points file: every kind's anchor point and hit circles.
namespace map_assets {

constexpr const char* kAnchorPointsFile = "media/properties/anchorpoints.xml";

struct HitCircle {
    int32_t x = 0;
    int32_t y = 0;
    int32_t radius = 0;
};

// A circle value: decimal, or hexadecimal after "#"; 0 when it does not parse.
int32_t ParseCircleValue(const std::string& text);
// The circles of a kind's circle vector, in groups of (dx, dy, radius)
// moved to (x, y); a trailing group of fewer than three values is dropped.
std::vector<HitCircle> ReadHitCircles(const Property* circles, int32_t x, int32_t y);
// True when every hit circle lies wholly inside the circle point; a piece
// without hit circles is inside every circle.
bool InsideCircle(const std::vector<HitCircle>& circles, const TrackPart::CirclePoint& point);

// Lists the sprite under every circle point of the section's track parts
// that holds all its hit circles.
void AttachToTrackParts(SectionInfo& section, Sprite& sprite, const std::vector<HitCircle>& circles);

// Forgets the pieces listed under the section's circle points and the sign
// nodes its cities keep.
void ClearSectionAssets(SectionInfo& section);

// Rebuilds the pieces and station signs of every section under its node,
// sorted by y so that lower pieces cover higher ones. The file is read as a
// loose file beside the program; without it the nodes stay empty.
void LoadAnchorPoints(SectionList& map, const std::array<GameNode*, 10>& sectionNodes);

}  // namespace map_assets
