// Black and white for PBM from a grey or colour picture, row by row.
//
// A pixel's darkness is ((255 - 0.11 blue) - 0.59 green) - 0.3 red, in
// double precision rounded to single: the Pilot image translator's, so
// that black and white made here agrees with the darker half of its four
// greys. A pixel is black when its darkness, with the error spread into it
// so far, is at least 127.5, the middle of the range. With dithering, what
// remains (clamped to 0 .. 255 first, so that a long run of one colour
// piles up no error a level cannot show) goes to the neighbours by
// Floyd-Steinberg's weights: 7/16 right, 3/16, 5/16 and 1/16 below.
#ifndef QUORVEL_PNM_BLACK_AND_WHITE_H
#define QUORVEL_PNM_BLACK_AND_WHITE_H

#include <vector>

#include <SupportDefs.h>

class BlackAndWhite {
public:
	BlackAndWhite(uint32 width, bool dither);

	// One row of width red, green, blue triples to PBM's bits: 1 black,
	// leftmost pixel in bit 7, the row padded to a whole byte.
	void MakeRow(const uint8 *rgb, uint8 *bits);

private:
	uint32 fWidth;
	bool fDither;
	// This row's darkness with the error spread into it so far, and the
	// next row's share; a spare column at each end spares the checks.
	std::vector<float> fCurrent;
	std::vector<float> fBelow;
};

#endif // QUORVEL_PNM_BLACK_AND_WHITE_H
