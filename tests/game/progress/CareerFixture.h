#pragma once

#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "game/world/SectionList.h"

// The constants a career reads, with a small rank ladder (rank i needs
// 1000 x i points; ranks 1..5 reward carriage 2, boost 1, carriage 3,
// game type 2 and boost 2, rank 7 game type 3), and a global map whose
// first section holds a line of 16 tracks, track i from city i to city
// i + 1; tracks 0..12 are unlocked and the section is entered at city 2.
class CareerFixture {
public:
    static constexpr int kTracks = 16;

    CareerFixture();
    ~CareerFixture();

    static Ref<PropertyFile> Parse(const std::string& body);
    SectionList& Map() { return *SectionList::Instance(); }
};
