#pragma once

#include <string>

#include "mediagen/MapLayout.h"

// "media/data/sections.xml": the map as the game's section list reads it.
std::string SectionsXml(const MapLayout& layout);
// "media/properties/anchorpoints.xml": anchor and hit circles per kind, in
// the order of the "ASSETS" and "STATIONS" lists.
std::string AnchorPointsXml();
// The "ASSETS" and "STATIONS" define lists, as elements for a constants file.
std::string AssetListsXml();
// The shipped assets.xml: the hand-written constants (empty when there is no
// such file) with the generated lists added before the closing root tag.
// Throws when the hand-written file defines the generated lists itself.
std::string CompleteAssetsXml(const std::string& handWritten);
