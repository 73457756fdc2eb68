#include "GreyConversion.h"

#include <string.h>

#include "Dithering.h"
#include "LaneDithering.h"

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
			blue[i] = 255.0 - kBlueWeight * i;
			green[i] = kGreenWeight * i;
			red[i] = kRedWeight * i;
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
	static const int kBitsPerPixel = 2;
	static uint8 Quantize(float value, float *residual)
	{
		return QuantizeNormal(value, residual);
	}
};

struct HighContrastQuantizer {
	static const int kBitsPerPixel = 2;
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

static_assert(GreyRowConverter::kRowsAtOnce == kLaneDitherRows,
	"a group of rows fills the vector lanes");

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

	if (LaneDitheringAvailable()) {
		const GreyLevels &levels = fHighContrast ? kHighContrastLevels
			: kNormalLevels;
		const float *darkness = fColors == B_CMAP8 ? fDarkness : NULL;
		for (; count >= kLaneDitherRows; count -= kLaneDitherRows) {
			LaneDitherRows(levels, darkness, rows, width, errorRow, pixels);
			rows += kLaneDitherRows;
			pixels += rowSize * kLaneDitherRows;
		}
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
