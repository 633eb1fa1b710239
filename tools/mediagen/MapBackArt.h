#pragma once

#include "mediagen/MapLayout.h"
#include "mediagen/Picture.h"

// The section's scenery with every rail along the exact curves, and the
// stubs that lead on to the neighbouring sections. The sections stand
// `betweenWidth` apart on the whole map.
Picture DrawSectionBackground(const LaidSection& section, int index, int betweenWidth);
// The same scenery without rails, faded towards parchment: the unexplored
// map laid over the background until tracks are bought.
Picture DrawSectionOverlay(const LaidSection& section, int index);
// The gap after section `index`: its scenery blending into the next one,
// with the rail from this section's leave city to the next enter city.
Picture DrawBetween(const LaidSection& section, const LaidSection& next, int index, int width);
// The locked look drawn over the gap while the next section is not complete.
Picture DrawBetweenLocked(const LaidSection& next, int width);
