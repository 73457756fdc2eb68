#include "ScreenDarkness.h"

#include <Screen.h>

#include "GreyConversion.h"

const color_map *ScreenColorMap()
{
	BScreen screen(B_MAIN_SCREEN_ID);
	return screen.IsValid() ? screen.ColorMap() : NULL;
}

const float *ScreenDarknessTable(uint32 colors, float table[256])
{
	if (colors != B_CMAP8) {
		return NULL;
	}
	BuildDarknessTable(ScreenColorMap(), table);
	return table;
}
