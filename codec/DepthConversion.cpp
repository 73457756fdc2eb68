#include "DepthConversion.h"

#include <math.h>
#include <string.h>

#include "Dithering.h"
#include "GreyConversion.h"

namespace {

// The levels of DepthConversion.h, in double precision; the residual is
// rounded to single. Dithered values and darkness lie in [0, 255], where
// the level needs no clamp; it is clamped all the same, so that no value
// can reach beyond the pixel's bits.
template<int kBits, bool kHighContrast>
struct LevelQuantizer {
	static const int kBitsPerPixel = kBits;

	static uint8 Quantize(float value, float *residual)
	{
		const double darkest = (1 << kBits) - 1;
		double level;
		double reference;
		if (kHighContrast) {
			const double band = 256.0 / (1 << kBits);
			level = Clamped(floor(value / band), darkest);
			reference = (level + 0.5) * band;
		} else {
			const double step = 255.0 / darkest;
			level = Clamped(floor(value / step + 0.5), darkest);
			reference = step * level;
		}
		*residual = (float)(value - reference);
		return (uint8)level;
	}

	static double Clamped(double level, double darkest)
	{
		return level < 0.0 ? 0.0 : (level > darkest ? darkest : level);
	}
};

// A row of darkness floats, as Dithering.h reads its sources.
struct DarknessSource {
	static const size_t kBytesPerPixel = sizeof(float);

	float Darkness(const uint8 *pixel) const
	{
		float darkness;
		memcpy(&darkness, pixel, sizeof(darkness));
		return darkness;
	}
};

template<class Quantizer>
void ThresholdRow(const float *darkness, int32 width, float *, uint8 *pixels)
{
	const int bits = Quantizer::kBitsPerPixel;
	const int perByte = 8 / bits;
	for (int32 x = 0; x < width; x += perByte) {
		uint8 byte = 0;
		for (int i = 0; i < perByte; i++) {
			float residual;
			byte = (uint8)((byte << bits)
				| Quantizer::Quantize(darkness[x + i], &residual));
		}
		*pixels++ = byte;
	}
}

template<class Quantizer>
void DitherRow(const float *darkness, int32 width, float *errorRow,
	uint8 *pixels)
{
	const uint8 *const row = (const uint8 *)darkness;
	DitherRows<Quantizer, DarknessSource, 1>(DarknessSource(), &row, width,
		errorRow, pixels);
}

typedef DepthRowConverter::LevelsFunction LevelsFunction;

template<int kBits, bool kHighContrast>
LevelsFunction LevelsOf(bool dithering)
{
	typedef LevelQuantizer<kBits, kHighContrast> Quantizer;
	return dithering ? DitherRow<Quantizer> : ThresholdRow<Quantizer>;
}

template<int kBits>
LevelsFunction LevelsOf(bool dithering, bool highContrast)
{
	return highContrast ? LevelsOf<kBits, true>(dithering)
		: LevelsOf<kBits, false>(dithering);
}

} // namespace

DepthRowConverter::DepthRowConverter(uint32 bitsPerPixel, color_space colors,
	const float *darknessTable, bool dithering, bool highContrast)
	: fColors(colors)
{
	if (darknessTable != NULL) {
		memcpy(fDarkness, darknessTable, sizeof(fDarkness));
	} else {
		memset(fDarkness, 0, sizeof(fDarkness));
	}
	if (bitsPerPixel == 1) {
		fLevels = LevelsOf<1>(dithering, highContrast);
	} else if (bitsPerPixel == 2) {
		fLevels = LevelsOf<2>(dithering, highContrast);
	} else {
		fLevels = LevelsOf<4>(dithering, highContrast);
	}
}

void DepthRowConverter::ConvertRow(const uint8 *row, size_t placed,
	int32 pictureWidth, int32 width, float *darkness, float *errorRow,
	uint8 *pixels) const
{
	const int32 count = PixelsPlaced(fColors, placed,
		pictureWidth < width ? pictureWidth : width);
	FillDarkness(row, count, width, darkness);
	fLevels(darkness, width, errorRow, pixels);
}

void DepthRowConverter::FillDarkness(const uint8 *row, int32 count,
	int32 width, float *darkness) const
{
	int32 x = 0;
	if (fColors == B_RGB32) {
		for (; x < count; x++) {
			darkness[x] = RgbDarkness(row + 4 * x);
		}
	} else if (fColors == B_CMAP8) {
		for (; x < count; x++) {
			darkness[x] = fDarkness[row[x]];
		}
	} else {
		for (; x < count; x++) {
			const bool black = (row[x >> 3] & (0x80 >> (x & 7))) != 0;
			darkness[x] = black ? 255.0f : 0.0f;
		}
	}
	for (; x < width; x++) {
		darkness[x] = 0.0f;
	}
}

int32 PixelsPlaced(color_space colors, size_t placed, int32 pictureWidth)
{
	uint64 pixels = placed;
	if (colors == B_RGB32) {
		pixels = placed / 4;
	} else if (colors == B_GRAY1) {
		pixels = (uint64)placed * 8;
	}
	return pixels < (uint64)pictureWidth ? (int32)pixels : pictureWidth;
}
