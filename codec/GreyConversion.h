// Turning colours into the four greys of a Pilot image.
//
// A pixel's darkness runs from 0.0 (white) to 255.0 (black). It is a
// weighted sum of red, green and blue evaluated in double precision, term
// by term from the left, and rounded to single precision; the two colour
// spaces sum their terms in different orders, and the order shows in the
// last bit. A darkness is quantised to a level 0 (white) .. 3 (black) and a
// residual, the part of the darkness the level does not show. With
// dithering the residuals are spread over the neighbours (Dithering.h).
//
// Every output byte is fixed by this arithmetic, so the fast forms here are
// tested for equality with the direct formulas: the build must not fuse
// multiplies and adds (-ffp-contract=off) nor reorder them (no -ffast-math).
#ifndef QUORVEL_GREY_CONVERSION_H
#define QUORVEL_GREY_CONVERSION_H

#include <GraphicsDefs.h>
#include <SupportDefs.h>

// The weights of red, green and blue in a darkness.
const double kRedWeight = 0.3;
const double kGreenWeight = 0.59;
const double kBlueWeight = 0.11;

// Darkness of a B_RGB32 pixel, whose bytes come in the order blue, green,
// red, alpha (alpha is ignored):
//   ((255 - 0.11 * blue) - 0.59 * green) - 0.3 * red
// evaluated from per-channel tables of the very same doubles.
float RgbDarkness(const uint8 *pixel);

// Darkness of a colour-map entry, for the B_CMAP8 table.
inline float ColorMapDarkness(const rgb_color &color)
{
	return (float)(((255.0 - kRedWeight * color.red)
		- kGreenWeight * color.green) - kBlueWeight * color.blue);
}

// The darkness of every index of a colour map. A missing map (no screen)
// is taken as a grey ramp: index i is the grey i, i.e. darkness 255 - i.
void BuildDarknessTable(const color_map *map, float table[256]);

// A quantiser's four levels: a value v gets level (v >= threshold[0]) +
// (v >= threshold[1]) + (v >= threshold[2]), and the residual v minus
// reference[level], computed in double precision and rounded to single.
struct GreyLevels {
	float threshold[3];
	float reference[4];
};

// Normal levels: the nearest of 0, 85, 170 and 255, an exact half going to
// the darker level, i.e. floor(value / 85 + 0.5). The residual is the
// value minus 85 times the level. For every float in [0, 255] the
// comparisons give the same level as the division and floor (tested over
// all of them).
const GreyLevels kNormalLevels = {{42.5f, 127.5f, 212.5f},
	{0.0f, 85.0f, 170.0f, 255.0f}};

// High-contrast levels: bands of 64, floor(value / 64). The residual is
// measured from the middle of the band: value - (level + 0.5) * 64.
const GreyLevels kHighContrastLevels = {{64.0f, 128.0f, 192.0f},
	{32.0f, 96.0f, 160.0f, 224.0f}};

inline uint8 QuantizeToLevels(const GreyLevels &levels, float value,
	float *residual)
{
	const uint8 level = (uint8)((value >= levels.threshold[0])
		+ (value >= levels.threshold[1]) + (value >= levels.threshold[2]));
	*residual = (float)((double)value - (double)levels.reference[level]);
	return level;
}

inline uint8 QuantizeNormal(float value, float *residual)
{
	return QuantizeToLevels(kNormalLevels, value, residual);
}

inline uint8 QuantizeHighContrast(float value, float *residual)
{
	return QuantizeToLevels(kHighContrastLevels, value, residual);
}

// Converts source rows of one colour space to rows of four-grey pixels.
class GreyRowConverter {
public:
	// colors is B_RGB32 or B_CMAP8; darknessTable (256 entries, copied) is
	// needed for B_CMAP8 only and may be NULL otherwise.
	GreyRowConverter(color_space colors, const float *darknessTable,
		bool dithering, bool highContrast);

	// Source bytes per pixel: 4 for B_RGB32, 1 for B_CMAP8.
	size_t BytesPerPixel() const { return fBytesPerPixel; }

	// Converts width pixels (a multiple of 4) of row into width / 4 bytes
	// at pixels, four pixels to a byte, the leftmost in bits 7-6.
	//
	// errorRow holds width + 2 floats, zero before the first row and kept
	// from row to row. While pixel x is treated, errorRow[0 .. x - 1] hold
	// the residuals of this row one column late (entry i that of pixel
	// i - 1, entry 0 always 0) and errorRow[x ..] still those of the row
	// above. A pixel takes 7/16 of its left neighbour's residual and 1/16,
	// 5/16 and 3/16 of those above-left, above and above-right. The last
	// two entries are never written, so the residual of a row's last
	// pixel goes nowhere. Without dithering errorRow is not touched.
	void ConvertRow(const uint8 *row, int32 width, float *errorRow,
		uint8 *pixels) const;

	// The same as ConvertRow on rows[0], rows[1] ... in turn, the output
	// rows following one another at pixels. Dithered rows are worked on
	// together, each a few pixels behind the one above, which keeps the
	// processor busy while each row waits for its own previous residual.
	void ConvertRows(const uint8 *const rows[], int count, int32 width,
		float *errorRow, uint8 *pixels) const;

	// The most rows ConvertRows works on together: sixteen as the lanes
	// of vector registers where the processor has them (LaneDithering.h),
	// else four at a time.
	static const int kRowsAtOnce = 16;

private:
	color_space fColors;
	size_t fBytesPerPixel;
	bool fDithering;
	bool fHighContrast;
	float fDarkness[256];
	// Without dithering a B_CMAP8 index maps straight to its level.
	uint8 fLevel[256];
};

#endif // QUORVEL_GREY_CONVERSION_H
