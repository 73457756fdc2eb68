#include "GreyDownscaler.h"

#include <string.h>

namespace {

// Which of count output cells source position i of size falls in: cells
// split the source evenly, as (i * count) / size.
uint32 CellOf(uint32 i, uint32 size, uint32 count)
{
	return (uint32)(((uint64)i * count) / size);
}

} // namespace

GreyDownscaler::GreyDownscaler(uint32 sourceWidth, uint32 sourceHeight,
	uint32 outWidth, uint32 outHeight, uint8 *output, size_t outStride)
	: fSourceWidth(sourceWidth),
	  fSourceHeight(sourceHeight),
	  fOutWidth(outWidth),
	  fOutHeight(outHeight),
	  fOutput(output),
	  fOutStride(outStride),
	  fColumnOf(sourceWidth),
	  fColumnsIn(outWidth, 0),
	  fSums(outWidth, 0)
{
	for (uint32 x = 0; x < sourceWidth; x++) {
		fColumnOf[x] = CellOf(x, sourceWidth, outWidth);
		fColumnsIn[fColumnOf[x]]++;
	}
}

void GreyDownscaler::AddRow(const uint8 *greys)
{
	if (fSourceRow >= fSourceHeight) {
		return;
	}
	for (uint32 x = 0; x < fSourceWidth; x++) {
		fSums[fColumnOf[x]] += greys[x];
	}
	fRowsSummed++;
	fSourceRow++;
	// The output row is done when the next source row belongs to the next
	// one, or there is no next source row.
	if (fSourceRow == fSourceHeight
		|| CellOf(fSourceRow, fSourceHeight, fOutHeight) != fOutRow) {
		EmitRow();
	}
}

void GreyDownscaler::EmitRow()
{
	uint8 *out = fOutput + (size_t)fOutRow * fOutStride;
	for (uint32 x = 0; x < fOutWidth; x++) {
		const uint64 count = (uint64)fColumnsIn[x] * fRowsSummed;
		const uint8 grey = (uint8)((fSums[x] + count / 2) / count);
		memset(out + 3 * (size_t)x, grey, 3);
	}
	fSums.assign(fOutWidth, 0);
	fRowsSummed = 0;
	fOutRow++;
}
