// Four-grey pixel data to 8-bit palette indexes.
//
// A four-grey row holds four pixels to a byte, the leftmost in bits 7-6;
// each 2-bit value (0 white, 1 light grey, 2 dark grey, 3 black) becomes
// the palette index of its grey. A byte-wide table gives the four indexes
// of every source byte at once, so a row costs one lookup per byte.
#ifndef QUORVEL_GREY_EXPANSION_H
#define QUORVEL_GREY_EXPANSION_H

#include <SupportDefs.h>

// greys[v] is the palette index for 2-bit value v.
struct GreyExpansion {
	uint8 white;
	uint8 pixels[256][4];
};

GreyExpansion MakeGreyExpansion(const uint8 greys[4]);

// Writes width bytes to row from width / 4 source bytes. The last
// width mod 4 pixels have no source bits and are white.
void ExpandGreyRow(const GreyExpansion &expansion, const uint8 *source,
	uint32 width, uint8 *row);

#endif // QUORVEL_GREY_EXPANSION_H
