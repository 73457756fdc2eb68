// Whether a picture holds only black and white, learnt row by row as it is
// read, and meanwhile its 1-bit rows: a picture of pure black and pure
// white is a 1-bit Pilot image's picture, whatever colour space carries it
// (a grey PGM or an RGB PNG may hold one).
#ifndef QUORVEL_BLACK_AND_WHITE_H
#define QUORVEL_BLACK_AND_WHITE_H

#include <stddef.h>

#include <GraphicsDefs.h>
#include <SupportDefs.h>

class BlackAndWhiteRows {
public:
	// colors is B_CMAP8 or B_RGB32; map (for B_CMAP8) says which
	// indexes are pure black or pure white, and may be NULL: then index i
	// is the grey i, as the darkness table takes it.
	BlackAndWhiteRows(color_space colors, const color_map *map);

	// Sets the bits of the black pixels among row's first count pixels in
	// bits (zero beforehand), the leftmost pixel in bit 7 of the first
	// byte, as 1-bit Pilot rows hold them. False, with bits
	// unfinished, at the first pixel that is neither black nor white.
	bool TakeRow(const uint8 *row, int32 count, uint8 *bits) const;

private:
	color_space fColors;
	// Of each colour-map index: white, black or another colour.
	uint8 fTone[256];
};

#endif // QUORVEL_BLACK_AND_WHITE_H
