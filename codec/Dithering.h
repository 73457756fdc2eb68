// Floyd-Steinberg error diffusion of a Pilot image's greys in gathering
// form, over one error row (GreyRowConverter::ConvertRow says how), for
// sources of darkness (kBytesPerPixel, Darkness) and quantisers
// (kBitsPerPixel: 1, 2 or 4, and Quantize). The arithmetic fixes every
// output byte.
#ifndef QUORVEL_DITHERING_H
#define QUORVEL_DITHERING_H

#include <stddef.h>

#include <SupportDefs.h>

// What a pixel takes of the residuals of its left, above-left, above and
// above-right neighbours.
const double kLeftShare = 0.4375;
const double kAboveLeftShare = 0.0625;
const double kAboveShare = 0.3125;
const double kAboveRightShare = 0.1875;

// One row being dithered: its source, its output and its left neighbour's
// residual, the carry.
struct DitherRowState {
	const uint8 *source;
	uint8 *pixels;
	float carry;
	uint8 byte;
};

// Treats pixel x of one row: the darkness gathers 7/16 of the carry and
// 1/16, 5/16 and 3/16 of the row above's residuals in errorRow[x],
// errorRow[x + 1] and errorRow[x + 2]; errorRow[x] then takes the carry
// (this row's residual of pixel x - 1) and the carry the new residual.
template<class Quantizer, class Source>
inline void DitherPixel(const Source &source, DitherRowState &row, int32 x,
	float *errorRow)
{
	const float darkness = source.Darkness(
		row.source + Source::kBytesPerPixel * x);
	float *error = errorRow + x;
	float value = (float)((((darkness + kLeftShare * row.carry)
		+ kAboveLeftShare * error[0]) + kAboveShare * error[1])
		+ kAboveRightShare * error[2]);
	error[0] = row.carry;
	if (value > 255.0f) {
		value = 255.0f;
	}
	if (value < 0.0f) {
		value = 0.0f;
	}
	// Pixels fill a byte from its high bits down; x is never negative.
	const uint32 bits = Quantizer::kBitsPerPixel;
	const uint32 perByte = 8 / bits;
	const int shift = (int)(8 - bits * (1 + (uint32)x % perByte));
	row.byte |= (uint8)(Quantizer::Quantize(value, &row.carry) << shift);
	if (shift == 0) {
		row.pixels[(uint32)x / perByte] = row.byte;
		row.byte = 0;
	}
}

// How many pixels each row of a wavefront is behind the row above.
const int32 kWavefrontLag = 2;

// Dithers kRows rows at once, as a wavefront: row k treats pixel x - 2k
// while row 0 treats pixel x. Row k needs its own residuals up to x - 2k - 1
// and the row above's up to x - 2k + 1, which that row, two pixels ahead,
// has finished; the single error row serves them all, since each row reads
// errorRow[x .. x + 2] before the row below overwrites errorRow[x]. Rows
// are treated top first within a step, so the result is the same as one
// row after the other; the rows' carries form independent chains of
// arithmetic that the processor overlaps.
template<class Quantizer, class Source, int kRows>
void DitherRows(const Source &source, const uint8 *const rows[],
	int32 width, float *errorRow, uint8 *pixels)
{
	const int32 rowSize = width * Quantizer::kBitsPerPixel / 8;
	const int32 lag = kWavefrontLag;
	DitherRowState state[kRows];
	for (int k = 0; k < kRows; k++) {
		state[k].source = rows[k];
		state[k].pixels = pixels + (size_t)rowSize * k;
		state[k].carry = 0.0f;
		state[k].byte = 0;
	}
	// Every row has a pixel to treat from step fullFrom to fullTo; before
	// and after, the rows not yet started or already done are skipped.
	const int32 fullFrom = lag * (kRows - 1);
	const int32 fullTo = width - 1;
	const int32 lastStep = fullTo + lag * (kRows - 1);
	int32 step = 0;
	for (; step <= lastStep; step++) {
		if (step >= fullFrom && step <= fullTo) {
			for (; step <= fullTo; step++) {
				for (int k = 0; k < kRows; k++) {
					DitherPixel<Quantizer>(source, state[k], step - lag * k,
						errorRow);
				}
			}
			if (step > lastStep) {
				break;
			}
		}
		for (int k = 0; k < kRows; k++) {
			const int32 x = step - lag * k;
			if (x >= 0 && x < width) {
				DitherPixel<Quantizer>(source, state[k], x, errorRow);
			}
		}
	}
}

template<class Quantizer, class Source>
void DitherRowGroup(const Source &source, const uint8 *const rows[],
	int count, int32 width, float *errorRow, uint8 *pixels)
{
	const size_t rowSize = width * Quantizer::kBitsPerPixel / 8;
	while (count > 0) {
		if (count >= 4) {
			DitherRows<Quantizer, Source, 4>(source, rows, width, errorRow,
				pixels);
			rows += 4;
			pixels += 4 * rowSize;
			count -= 4;
		} else if (count >= 2) {
			DitherRows<Quantizer, Source, 2>(source, rows, width, errorRow,
				pixels);
			rows += 2;
			pixels += 2 * rowSize;
			count -= 2;
		} else {
			DitherRows<Quantizer, Source, 1>(source, rows, width, errorRow,
				pixels);
			return;
		}
	}
}

#endif // QUORVEL_DITHERING_H
