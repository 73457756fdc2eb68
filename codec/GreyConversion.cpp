#include "GreyConversion.h"

#include <string.h>

namespace {

// The three terms of the B_RGB32 darkness, one table per channel. Each
// entry is the very double the formula computes (the same product and, for
// blue, the same difference), so looking them up changes no bit.
struct RgbTerms {
	double blue[256];	// 255 - 0.11 * blue
	double green[256];	// 0.59 * green
	double red[256];	// 0.3 * red

	RgbTerms()
	{
		for (int i = 0; i < 256; i++) {
			blue[i] = 255.0 - 0.11 * i;
			green[i] = 0.59 * i;
			red[i] = 0.3 * i;
		}
	}
};

const RgbTerms &Terms()
{
	static const RgbTerms terms;
	return terms;
}

inline float TableRgbDarkness(const RgbTerms &terms, const uint8 *pixel)
{
	return (float)((terms.blue[pixel[0]] - terms.green[pixel[1]])
		- terms.red[pixel[2]]);
}

struct NormalQuantizer {
	static uint8 Quantize(float value, float *residual)
	{
		return QuantizeNormal(value, residual);
	}
};

struct HighContrastQuantizer {
	static uint8 Quantize(float value, float *residual)
	{
		return QuantizeHighContrast(value, residual);
	}
};

struct RgbSource {
	static const size_t kBytesPerPixel = 4;
	const RgbTerms &terms;

	float Darkness(const uint8 *pixel) const
	{
		return TableRgbDarkness(terms, pixel);
	}
};

struct IndexedSource {
	static const size_t kBytesPerPixel = 1;
	const float *table;

	float Darkness(const uint8 *pixel) const { return table[*pixel]; }
};

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
	float value = (float)((((darkness + 0.4375 * row.carry)
		+ 0.0625 * error[0]) + 0.3125 * error[1]) + 0.1875 * error[2]);
	error[0] = row.carry;
	if (value > 255.0f) {
		value = 255.0f;
	}
	if (value < 0.0f) {
		value = 0.0f;
	}
	const int shift = 6 - 2 * (x & 3);
	row.byte |= (uint8)(Quantizer::Quantize(value, &row.carry) << shift);
	if (shift == 0) {
		row.pixels[x >> 2] = row.byte;
		row.byte = 0;
	}
}

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
	const int32 rowSize = width / 4;
	const int32 lag = 2;
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
	const size_t rowSize = width / 4;
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

// Without dithering only the level counts; the compiler drops the unused
// residual.
template<class Quantizer>
inline uint8 LevelOf(float value)
{
	float residual;
	return Quantizer::Quantize(value, &residual);
}

template<class Quantizer>
void ThresholdRgbRow(const uint8 *row, int32 width, uint8 *pixels)
{
	const RgbTerms &terms = Terms();
	for (int32 x = 0; x < width; x += 4) {
		const uint8 *p = row + 4 * x;
		*pixels++ = (uint8)((LevelOf<Quantizer>(TableRgbDarkness(terms, p))
				<< 6)
			| (LevelOf<Quantizer>(TableRgbDarkness(terms, p + 4)) << 4)
			| (LevelOf<Quantizer>(TableRgbDarkness(terms, p + 8)) << 2)
			| LevelOf<Quantizer>(TableRgbDarkness(terms, p + 12)));
	}
}

void ThresholdIndexedRow(const uint8 levels[256], const uint8 *row,
	int32 width, uint8 *pixels)
{
	for (int32 x = 0; x < width; x += 4) {
		const uint8 *p = row + x;
		*pixels++ = (uint8)((levels[p[0]] << 6) | (levels[p[1]] << 4)
			| (levels[p[2]] << 2) | levels[p[3]]);
	}
}

} // namespace

float RgbDarkness(const uint8 *pixel)
{
	return TableRgbDarkness(Terms(), pixel);
}

void BuildDarknessTable(const color_map *map, float table[256])
{
	for (int i = 0; i < 256; i++) {
		if (map != NULL) {
			table[i] = ColorMapDarkness(map->color_list[i]);
		} else {
			const rgb_color grey = {(uint8)i, (uint8)i, (uint8)i, 255};
			table[i] = ColorMapDarkness(grey);
		}
	}
}

GreyRowConverter::GreyRowConverter(color_space colors,
	const float *darknessTable, bool dithering, bool highContrast)
	: fColors(colors), fBytesPerPixel(colors == B_CMAP8 ? 1 : 4),
	  fDithering(dithering), fHighContrast(highContrast)
{
	if (darknessTable != NULL) {
		memcpy(fDarkness, darknessTable, sizeof(fDarkness));
	} else {
		memset(fDarkness, 0, sizeof(fDarkness));
	}
	for (int i = 0; i < 256; i++) {
		fLevel[i] = highContrast ? LevelOf<HighContrastQuantizer>(fDarkness[i])
			: LevelOf<NormalQuantizer>(fDarkness[i]);
	}
}

void GreyRowConverter::ConvertRow(const uint8 *row, int32 width,
	float *errorRow, uint8 *pixels) const
{
	ConvertRows(&row, 1, width, errorRow, pixels);
}

void GreyRowConverter::ConvertRows(const uint8 *const rows[], int count,
	int32 width, float *errorRow, uint8 *pixels) const
{
	const size_t rowSize = width / 4;
	if (!fDithering) {
		for (int k = 0; k < count; k++) {
			uint8 *out = pixels + rowSize * k;
			if (fColors == B_CMAP8) {
				ThresholdIndexedRow(fLevel, rows[k], width, out);
			} else if (fHighContrast) {
				ThresholdRgbRow<HighContrastQuantizer>(rows[k], width, out);
			} else {
				ThresholdRgbRow<NormalQuantizer>(rows[k], width, out);
			}
		}
		return;
	}

	const RgbSource rgb = {Terms()};
	const IndexedSource indexed = {fDarkness};
	if (fColors == B_CMAP8) {
		if (fHighContrast) {
			DitherRowGroup<HighContrastQuantizer>(indexed, rows, count, width,
				errorRow, pixels);
		} else {
			DitherRowGroup<NormalQuantizer>(indexed, rows, count, width,
				errorRow, pixels);
		}
	} else if (fHighContrast) {
		DitherRowGroup<HighContrastQuantizer>(rgb, rows, count, width,
			errorRow, pixels);
	} else {
		DitherRowGroup<NormalQuantizer>(rgb, rows, count, width, errorRow,
			pixels);
	}
}
