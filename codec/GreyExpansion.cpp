#include "GreyExpansion.h"

#include <string.h>

GreyExpansion MakeGreyExpansion(const uint8 greys[4])
{
	GreyExpansion expansion;
	expansion.white = greys[0];
	expansion.pixelsPerByte = 4;
	for (int byte = 0; byte < 256; byte++) {
		expansion.pixels[byte][0] = greys[byte >> 6];
		expansion.pixels[byte][1] = greys[(byte >> 4) & 3];
		expansion.pixels[byte][2] = greys[(byte >> 2) & 3];
		expansion.pixels[byte][3] = greys[byte & 3];
	}
	return expansion;
}

GreyExpansion MakeSixteenGreyExpansion(const uint8 greys[16])
{
	GreyExpansion expansion;
	memset(&expansion, 0, sizeof(expansion));
	expansion.white = greys[0];
	expansion.pixelsPerByte = 2;
	for (int byte = 0; byte < 256; byte++) {
		expansion.pixels[byte][0] = greys[byte >> 4];
		expansion.pixels[byte][1] = greys[byte & 15];
	}
	return expansion;
}

// The copy's size is a constant in each loop, so that it compiles to one
// store a byte.
void ExpandGreyRow(const GreyExpansion &expansion, const uint8 *source,
	uint32 width, uint8 *row)
{
	const uint32 perByte = expansion.pixelsPerByte;
	const uint32 whole = width / perByte;
	if (perByte == 4) {
		for (uint32 x = 0; x < whole; x++) {
			memcpy(row + 4 * x, expansion.pixels[source[x]], 4);
		}
	} else {
		for (uint32 x = 0; x < whole; x++) {
			memcpy(row + 2 * x, expansion.pixels[source[x]], 2);
		}
	}
	memset(row + perByte * whole, expansion.white, width % perByte);
}
