#pragma once

#include <string>
#include <vector>

// The hand-written railway map plan (media/src/map/plan.txt): per section a
// theme, its cities with their points and the tracks between them. The
// generator lays the curves and scenery from it.
struct PlanCity {
    std::string name;
    int x = 0;
    int y = 0;
};

struct PlanTrack {
    int city0 = 0;
    int city1 = 0;
    bool unlocked = false;
};

struct PlanSection {
    std::string theme;
    std::vector<PlanCity> cities;
    std::vector<PlanTrack> tracks;
    int enter = -1;
    int leave = -1;
};

struct MapPlan {
    std::vector<PlanSection> sections;
};

// Reads the plan text; throws std::runtime_error naming the line of the
// first fault (unknown word, unknown or repeated city, bad number, a track
// to itself or given twice, a second "enter" or "leave").
MapPlan ParseMapPlan(const std::string& text);

std::string MapPlanFile(const std::string& mediaSource);
