#pragma once

#include <string>
#include <vector>

#include "mediagen/MapGeometry.h"
#include "mediagen/Picture.h"

struct HitCircle {
    int dx = 0;
    int dy = 0;
    int radius = 0;
};

// A map sprite kind: one entry of the defines list "ASSETS" or "STATIONS"
// and its anchor point and hit circles in "anchorpoints.xml". Positions on
// the map are anchor positions; the picture spans
// (x - anchorX, y - anchorY) .. (+ width, + height).
struct AssetKind {
    std::string id;
    std::string section;
    std::string file;
    int width = 0;
    int height = 0;  // of one frame
    int frames = 1;
    int anchorX = 0;
    int anchorY = 0;
    int sideMargin = 0;  // empty columns at each side, which may overlap others
    bool floats = false;  // stands on water, never on land
    std::vector<HitCircle> hits;
    std::string disabledId;  // stations: the "imageDisabled" picture, else empty
    std::string disabledFile;
    Picture (*draw)(const AssetKind& kind) = nullptr;  // the whole strip
};

// The landscape kinds, in "ASSETS" order.
const std::vector<AssetKind>& LandscapeKinds();
// The station and signpost kinds, in "STATIONS" order.
const std::vector<AssetKind>& StationKinds();
// Where a landscape asset at (x, y) meets the ground or the water: the
// points that must all be dry, or for a floating kind all afloat.
std::vector<MapPoint> FootingOf(const AssetKind& kind, int x, int y);
// Index of an id in a kind list; throws when it is not there.
int KindIndex(const std::vector<AssetKind>& kinds, const std::string& id);
// The picture of a station kind's "imageDisabled".
Picture DrawDisabledStation(const AssetKind& kind);
