#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"

class Modifier;
class Sprite;
class Surface;
class TrackPart;

// Drawing and pop-up services of the adventure map.

// Where along a part of the given length the overlay circles go: the first
// 40 px in (the middle of a part shorter than 80 px), then evenly spaced
// about every 25 px up to as far from the end. A part too short for a gap
// gets one circle.
std::vector<float> OverlayStampDistances(float length);

// A sprite showing the map region under the part, 35 px of margin on each
// side, whose alpha is the inverse of the circles stamped along the part.
Ref<Sprite> DrawTrackOverlayCircle(const TrackPart& part, Surface& map);
// The same with the given circle picture; none stamps nothing.
Ref<Sprite> DrawTrackOverlay(const TrackPart& part, Surface& map, Surface* circle);

// Pops a hidden sprite up: a thin strip grows to full height, a pop sound
// plays, and the sprite overshoots and settles.
void ShowItemPopup(Sprite& node);

// Shows the hidden items of one circle point of the part: at once, or with
// `animate` as pop-ups 150 ms apart that start once `after` (when given)
// has finished.
void ShowSectionAssets(TrackPart& part, int32_t circlePoint, bool animate, Modifier* after);
