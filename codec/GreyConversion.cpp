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

// The level alone, for conversion without dithering.
inline uint8 LevelOf(float value, const float thresholds[3])
{
	return (uint8)((value >= thresholds[0]) + (value >= thresholds[1])
		+ (value >= thresholds[2]));
}

const float kNormalThresholds[3] = {42.5f, 127.5f, 212.5f};
const float kHighContrastThresholds[3] = {64.0f, 128.0f, 192.0f};

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
		float residual;
		fLevel[i] = highContrast ? QuantizeHighContrast(fDarkness[i], &residual)
			: QuantizeNormal(fDarkness[i], &residual);
	}
}

void GreyRowConverter::ConvertRow(const uint8 *row, int32 width,
	float *errorRow, uint8 *pixels) const
{
	if (fDithering) {
		if (fHighContrast) {
			DitherRow<HighContrastQuantizer>(row, width, errorRow, pixels);
		} else {
			DitherRow<NormalQuantizer>(row, width, errorRow, pixels);
		}
	} else if (fColors == B_CMAP8) {
		ThresholdIndexedRow(row, width, pixels);
	} else {
		ThresholdRgbRow(row, width, pixels);
	}
}

template<class Quantizer>
void GreyRowConverter::DitherRow(const uint8 *row, int32 width,
	float *errorRow, uint8 *pixels) const
{
	const RgbTerms &terms = Terms();
	const bool indexed = fColors == B_CMAP8;
	float carry = 0.0f;
	const uint8 *source = row;
	for (int32 x = 0; x < width; x += 4) {
		uint8 byte = 0;
		for (int shift = 6; shift >= 0; shift -= 2) {
			float darkness;
			if (indexed) {
				darkness = fDarkness[*source];
				source++;
			} else {
				darkness = TableRgbDarkness(terms, source);
				source += 4;
			}
			const int32 column = x + (3 - shift / 2);
			float *error = errorRow + column;
			float value = (float)((((darkness + 0.4375 * carry)
				+ 0.0625 * error[0]) + 0.3125 * error[1])
				+ 0.1875 * error[2]);
			error[0] = carry;
			if (value > 255.0f) {
				value = 255.0f;
			}
			if (value < 0.0f) {
				value = 0.0f;
			}
			byte |= (uint8)(Quantizer::Quantize(value, &carry) << shift);
		}
		*pixels++ = byte;
	}
}

void GreyRowConverter::ThresholdRgbRow(const uint8 *row, int32 width,
	uint8 *pixels) const
{
	const RgbTerms &terms = Terms();
	const float *thresholds = fHighContrast ? kHighContrastThresholds
		: kNormalThresholds;
	for (int32 x = 0; x < width; x += 4) {
		const uint8 *p = row + 4 * x;
		*pixels++ = (uint8)((LevelOf(TableRgbDarkness(terms, p), thresholds)
				<< 6)
			| (LevelOf(TableRgbDarkness(terms, p + 4), thresholds) << 4)
			| (LevelOf(TableRgbDarkness(terms, p + 8), thresholds) << 2)
			| LevelOf(TableRgbDarkness(terms, p + 12), thresholds));
	}
}

void GreyRowConverter::ThresholdIndexedRow(const uint8 *row, int32 width,
	uint8 *pixels) const
{
	for (int32 x = 0; x < width; x += 4) {
		const uint8 *p = row + x;
		*pixels++ = (uint8)((fLevel[p[0]] << 6) | (fLevel[p[1]] << 4)
			| (fLevel[p[2]] << 2) | fLevel[p[3]]);
	}
}
