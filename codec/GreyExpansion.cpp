#include "GreyExpansion.h"

#include <string.h>

GreyExpansion MakeGreyExpansion(const uint8 greys[4])
{
	GreyExpansion expansion;
	expansion.white = greys[0];
	for (int byte = 0; byte < 256; byte++) {
		expansion.pixels[byte][0] = greys[byte >> 6];
		expansion.pixels[byte][1] = greys[(byte >> 4) & 3];
		expansion.pixels[byte][2] = greys[(byte >> 2) & 3];
		expansion.pixels[byte][3] = greys[byte & 3];
	}
	return expansion;
}

void ExpandGreyRow(const GreyExpansion &expansion, const uint8 *source,
	uint32 width, uint8 *row)
{
	const uint32 whole = width / 4;
	for (uint32 x = 0; x < whole; x++) {
		memcpy(row + 4 * x, expansion.pixels[source[x]], 4);
	}
	memset(row + 4 * whole, expansion.white, width % 4);
}
