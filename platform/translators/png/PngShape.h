// The smallest PNG that holds a picture of at most 256 colours exactly:
// grey of 1, 2, 4 or 8 bits when every colour is a grey that depth holds
// (255 divides into even steps: 0 and 255; multiples of 85; of 17), else a
// palette of 1, 2, 4 or 8 bits an index, whichever has fewer bits; grey
// when both have as many (it needs no PLTE chunk).
#ifndef QUORVEL_PNG_SHAPE_H
#define QUORVEL_PNG_SHAPE_H

#include <vector>

#include <SupportDefs.h>

struct PngShape {
	bool grey;
	int bitDepth;
	// Grey: the step between neighbouring samples (255 / (2^depth - 1)).
	uint32 greyStep;
};

// colours: 0xRRGGBB, ascending, at most 256 of them.
PngShape ShapeOfColours(const std::vector<uint32> &colours);

#endif // QUORVEL_PNG_SHAPE_H
