// The dithering wavefront of Dithering.h with its rows as the lanes of
// vector registers, for processors that have AVX2. It gives the very bytes
// and the very error row of DitherRows: the same double-precision sums in
// the same order, rounded to single precision at the same places.
#ifndef QUORVEL_LANE_DITHERING_H
#define QUORVEL_LANE_DITHERING_H

#include <SupportDefs.h>

#include "GreyConversion.h"

// The rows LaneDitherRows dithers together.
const int kLaneDitherRows = 16;

// Whether this processor runs LaneDitherRows.
bool LaneDitheringAvailable();

// Dithers kLaneDitherRows rows of width pixels (a multiple of 4) as
// GreyRowConverter::ConvertRows does, to levels: B_CMAP8 indices through
// darkness (256 entries), or B_RGB32 pixels when darkness is NULL. Output
// rows follow one another at pixels, width / 4 bytes each.
void LaneDitherRows(const GreyLevels &levels, const float *darkness,
	const uint8 *const rows[], int32 width, float *errorRow, uint8 *pixels);

#endif // QUORVEL_LANE_DITHERING_H
