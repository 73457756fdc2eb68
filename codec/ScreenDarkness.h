// The darkness of the main screen's colour-map indexes, which B_CMAP8
// pixels are.
#ifndef QUORVEL_SCREEN_DARKNESS_H
#define QUORVEL_SCREEN_DARKNESS_H

#include <GraphicsDefs.h>

// For B_CMAP8, fills table (256 entries) from the main screen's colour map
// (a grey ramp without a screen) and returns it; NULL for other colour
// spaces, which need no table.
const float *ScreenDarknessTable(uint32 colors, float table[256]);

// The main screen's colour map, or NULL without a screen.
const color_map *ScreenColorMap();

#endif // QUORVEL_SCREEN_DARKNESS_H
