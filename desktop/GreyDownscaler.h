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
	// The next source row, the same as the one before it (white, say, where
	// a file was cut short): summed from that row's cells, without reading
	// its pixels again. Only after AddRow.
	void RepeatRow();

private:
	void AddCellSums();
	void EmitRow();

	uint32 fSourceHeight;
	uint32 fOutWidth;
	uint32 fOutHeight;
	uint8 *fOutput;
	size_t fOutStride;

	uint32 fSourceRow = 0;
	uint32 fOutRow = 0;
	// The source rows summed so far into the output row being made.
	uint32 fRowsSummed = 0;
	// Output column x covers the source columns from fFirstColumn[x] up to
	// fFirstColumn[x + 1].
	std::vector<uint32> fFirstColumn;
	// The last source row's sum over each output column's source columns.
	std::vector<uint32> fCellSums;
	std::vector<uint64> fSums;
};

#endif // QUORVEL_GREY_DOWNSCALER_H
