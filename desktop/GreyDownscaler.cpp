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
	: fSourceHeight(sourceHeight),
	  fOutWidth(outWidth),
	  fOutHeight(outHeight),
	  fOutput(output),
	  fOutStride(outStride),
	  fFirstColumn(outWidth + 1, sourceWidth),
	  fCellSums(outWidth, 0),
	  fSums(outWidth, 0)
{
	// Cells are runs of whole source columns, in order.
	for (uint32 x = sourceWidth; x-- > 0;) {
		fFirstColumn[CellOf(x, sourceWidth, outWidth)] = x;
	}
}

void GreyDownscaler::AddRow(const uint8 *greys)
{
	if (fSourceRow >= fSourceHeight) {
		return;
	}
	// A cell's run is summed on its own, a loop the compiler vectorises.
	// 32 bits hold the sum of 16 million greys; a Pilot image's row has at
	// most 32767.
	for (uint32 cell = 0; cell < fOutWidth; cell++) {
		uint32 sum = 0;
		for (uint32 x = fFirstColumn[cell]; x < fFirstColumn[cell + 1]; x++) {
			sum += greys[x];
		}
		fCellSums[cell] = sum;
	}
	AddCellSums();
}

void GreyDownscaler::RepeatRow()
{
	if (fSourceRow >= fSourceHeight) {
		return;
	}
	AddCellSums();
}

void GreyDownscaler::AddCellSums()
{
	for (uint32 cell = 0; cell < fOutWidth; cell++) {
		fSums[cell] += fCellSums[cell];
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
		const uint64 count = (uint64)(fFirstColumn[x + 1] - fFirstColumn[x])
			* fRowsSummed;
		const uint8 grey = (uint8)((fSums[x] + count / 2) / count);
		memset(out + 3 * (size_t)x, grey, 3);
	}
	fSums.assign(fOutWidth, 0);
	fRowsSummed = 0;
	fOutRow++;
}
