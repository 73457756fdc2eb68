// Grey pixel data to 8-bit palette indexes.
//
// A four-grey row holds four pixels to a byte, the leftmost in bits 7-6,
// each 2-bit value (0 white .. 3 black) standing for its grey; a
// sixteen-grey row holds two, the leftmost in bits 7-4, each 4-bit value
// (0 white .. 15 black) likewise. A byte-wide table gives the indexes of
// every source byte at once, so a row costs one lookup per byte.
#ifndef QUORVEL_GREY_EXPANSION_H
#define QUORVEL_GREY_EXPANSION_H

#include <SupportDefs.h>

struct GreyExpansion {
	uint8 white;
	// 4 for four greys, 2 for sixteen; pixels[b] holds that many indexes.
	uint32 pixelsPerByte;
	uint8 pixels[256][4];
};

// greys[v] is the palette index for 2-bit value v.
GreyExpansion MakeGreyExpansion(const uint8 greys[4]);
// greys[v] is the palette index for 4-bit value v.
GreyExpansion MakeSixteenGreyExpansion(const uint8 greys[16]);

// Writes width bytes to row from width / pixelsPerByte source bytes. The
// last width mod pixelsPerByte pixels have no source bits and are white.
void ExpandGreyRow(const GreyExpansion &expansion, const uint8 *source,
	uint32 width, uint8 *row);

#endif // QUORVEL_GREY_EXPANSION_H
