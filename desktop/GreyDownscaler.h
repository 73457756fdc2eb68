// Grey rows of a picture, given one at a time from the top, made into the
// RGB rows of a picture as large or smaller, each output pixel the mean of
// the source pixels it covers (a box filter). A viewer asking for a
// thumbnail of a large Pilot image thus never needs the picture whole:
// only one output row is summed at a time. At the same size every pixel
// passes through unchanged.
#ifndef QUORVEL_GREY_DOWNSCALER_H
#define QUORVEL_GREY_DOWNSCALER_H

#include <SupportDefs.h>

#include <vector>

class GreyDownscaler {
public:
	// The output is outWidth x outHeight 8-bit RGB pixels (three bytes
	// each), rows outStride bytes apart from output's first byte; each size
	// is at least 1 and at most the source's.
	GreyDownscaler(uint32 sourceWidth, uint32 sourceHeight, uint32 outWidth,
		uint32 outHeight, uint8 *output, size_t outStride);

	// The next source row: sourceWidth greys, 0 black to 255 white. Rows
	// beyond the source's height are ignored.
	void AddRow(const uint8 *greys);

private:
	void EmitRow();

	uint32 fSourceWidth;
	uint32 fSourceHeight;
	uint32 fOutWidth;
	uint32 fOutHeight;
	uint8 *fOutput;
	size_t fOutStride;

	uint32 fSourceRow = 0;
	uint32 fOutRow = 0;
	// The source rows summed so far into the output row being made.
	uint32 fRowsSummed = 0;
	// For each source column, the output column it falls in.
	std::vector<uint32> fColumnOf;
	// For each output column, how many source columns fall in it.
	std::vector<uint32> fColumnsIn;
	std::vector<uint64> fSums;
};

#endif // QUORVEL_GREY_DOWNSCALER_H
