#pragma once

#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "game/world/SectionList.h"

// A small two-section map read from XML held in memory, with the track
// length constants defined.
//
// Section 0: cities 0, 1, 2 and a city 3 without tracks. Parts 0..2 run
// along y = 0 from x = 0 to 300 (part 2 drawn backwards); part 3 runs from
// (300, 0) to (300, 100), within reach of part 2's circle point; part 4
// runs from (60, 20) to (150, 20), within reach of the circle points of
// parts 0 and 1. Track 0 joins cities 0 and 1 over parts 0, 1, 2; track 1
// joins cities 1 and 2 over part 3 and is unlocked.
//
// Section 1, with entries that point outside their lists: track file entry 0
// ends at a city that does not exist, entry 1 names section 0, entry 2 is
// good but names curve 9 besides curve 0, entry 3 is good and unlocked; the
// unlocked list names entry 3 and also entries 0 (dropped) and 7 (none).
class MapFixture {
public:
    MapFixture();
    ~MapFixture();

    static std::string SectionsXml();
    // Parses `<root>` + body + `</root>`.
    static Ref<PropertyFile> Parse(const std::string& body);
    // A straight track part read from the map file's form, sampled at its ends.
    static Ref<TrackPart> Line(float x0, float y0, float x1, float y1);

    Ref<SectionList> map;
};
