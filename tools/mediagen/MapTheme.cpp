#include "mediagen/MapTheme.h"

#include <stdexcept>

namespace {

// The journey from spring meadows to the capital; colours change gradually.
const std::vector<MapTheme>& Themes() {
    static const std::vector<MapTheme> themes = {
        {"meadows", 0xA9D47A, 0x7DB356, 0xC9E59A, 0x6FB6D8, Water::kLakes, 0x5E9A3E, 14,
         {{"ASSET_TREE_ROUND", 6}, {"ASSET_BUSH", 4}, {"ASSET_FLOWERS", 5}, {"ASSET_SHEEP", 3}, {"ASSET_HOUSE", 2}, {"ASSET_POND", 1}},
         "STATION_HALT"},
        {"farmland", 0xD8CC7E, 0xB3A95A, 0xE8C860, 0x6FB0CF, Water::kNone, 0x6E9240, 10,
         {{"ASSET_FIELD", 4}, {"ASSET_HAYSTACK", 5}, {"ASSET_FARM", 3}, {"ASSET_WINDMILL", 2}, {"ASSET_COW", 3}, {"ASSET_TREE_ROUND", 3}},
         "STATION_HALT"},
        {"river", 0x9CCB98, 0x6FA887, 0xB6DDB0, 0x4FA3B5, Water::kRiver, 0x4E8A4A, 18,
         {{"ASSET_REEDS", 4}, {"ASSET_TREE_POPLAR", 5}, {"ASSET_BOAT", 2}, {"ASSET_HOUSE", 3}, {"ASSET_BUSH", 3}, {"ASSET_CHURCH", 1}},
         "STATION_HALT"},
        {"forest", 0x6E9E5A, 0x4C7A42, 0x86B06A, 0x4E8FA8, Water::kNone, 0x2F6236, 40,
         {{"ASSET_TREE_PINE", 8}, {"ASSET_TREE_ROUND", 4}, {"ASSET_BUSH", 3}, {"ASSET_ROCKS", 2}, {"ASSET_HOUSE", 1}},
         "STATION_HALT"},
        {"hills", 0xB9B86E, 0x8E8B4E, 0xCDBF7A, 0x5E9FB2, Water::kNone, 0x6A7E3A, 14,
         {{"ASSET_HILL", 5}, {"ASSET_SHEEP", 4}, {"ASSET_ROCKS", 3}, {"ASSET_TREE_ROUND", 3}, {"ASSET_FARM", 1}, {"ASSET_WINDMILL", 1}},
         "STATION_HALT"},
        {"lakes", 0x98C79A, 0x6EA27E, 0xB2D8B0, 0x4D8FCB, Water::kLakes, 0x3F7A4E, 22,
         {{"ASSET_POND", 3}, {"ASSET_BOAT", 3}, {"ASSET_TREE_PINE", 3}, {"ASSET_REEDS", 3}, {"ASSET_HOUSE", 2}, {"ASSET_TREE_ROUND", 2}},
         "STATION_HALT"},
        {"mountains", 0xB4BCB8, 0x8A958F, 0xE4ECEE, 0x6A9CC0, Water::kNone, 0x3E5E50, 16,
         {{"ASSET_PEAK", 4}, {"ASSET_TREE_SNOWPINE", 6}, {"ASSET_ROCKS", 4}, {"ASSET_HOUSE", 1}},
         "STATION_HALT"},
        {"autumn", 0xC9A86A, 0xA0794A, 0xD9B978, 0x5F93A8, Water::kNone, 0xC0642A, 30,
         {{"ASSET_TREE_AUTUMN", 8}, {"ASSET_TREE_PINE", 2}, {"ASSET_BUSH", 2}, {"ASSET_HOUSE", 2}, {"ASSET_HAYSTACK", 2}, {"ASSET_CHURCH", 1}},
         "STATION_HALT"},
        {"coast", 0xE3D3A4, 0xC9B27D, 0xEFE2BC, 0x3F9CC8, Water::kSea, 0x6E8A4A, 6,
         {{"ASSET_LIGHTHOUSE", 1}, {"ASSET_BOAT", 3}, {"ASSET_REEDS", 2}, {"ASSET_HOUSE", 4}, {"ASSET_ROCKS", 3}, {"ASSET_BUSH", 2}},
         "STATION_HALT"},
        {"capital", 0xC3B6A2, 0x9C8E7A, 0xD8CBB4, 0x5A8FB0, Water::kRiver, 0x5E8A4A, 8,
         {{"ASSET_TOWNHOUSE", 8}, {"ASSET_TOWER", 2}, {"ASSET_CHURCH", 2}, {"ASSET_TREE_ROUND", 3}},
         "STATION_GRAND"},
    };
    return themes;
}

}  // namespace

const MapTheme& ThemeNamed(const std::string& name) {
    for (const MapTheme& theme : Themes()) {
        if (theme.name == name) {
            return theme;
        }
    }
    throw std::runtime_error("no map theme " + name);
}

const std::vector<MapTheme>& JourneyThemes() { return Themes(); }
