// The grey conversion written the direct way, term by term as the Pilot
// writer defines it, with no tables and no shortcuts. The fast code in
// codec/GreyConversion must give exactly the same bits.
#ifndef QUORVEL_TEST_GREY_REFERENCE_H
#define QUORVEL_TEST_GREY_REFERENCE_H

#include <math.h>

#include <vector>

#include <GraphicsDefs.h>
#include <SupportDefs.h>

inline float ReferenceRgbDarkness(uint8 blue, uint8 green, uint8 red)
{
	return (float)(((255.0 - 0.11 * blue) - 0.59 * green) - 0.3 * red);
}

inline float ReferenceMapDarkness(uint8 red, uint8 green, uint8 blue)
{
	return (float)(((255.0 - 0.3 * red) - 0.59 * green) - 0.11 * blue);
}

// Returns the level; the residual goes to *residual.
inline int ReferenceQuantizeNormal(float value, float *residual)
{
	const double level = floor(value / 85.0 + 0.5);
	*residual = (float)(value - 85.0 * level);
	return (int)level;
}

inline int ReferenceQuantizeHighContrast(float value, float *residual)
{
	const double level = floor(value * 0.015625);
	*residual = (float)(value - (level + 0.5) * 64.0);
	return (int)level;
}

// Converts rows of bytesPerPixel-byte pixels (4: blue, green, red, alpha;
// 1: an index into table) to four-grey rows, keeping one error row of
// width + 2 floats across calls.
class ReferenceGreyConverter {
public:
	ReferenceGreyConverter(int bytesPerPixel, const float *table,
		bool dithering, bool highContrast, int width)
		: fBytesPerPixel(bytesPerPixel), fTable(table),
		  fDithering(dithering), fHighContrast(highContrast),
		  fWidth(width), fError(width + 2, 0.0f)
	{
	}

	void ConvertRow(const uint8 *row, uint8 *out)
	{
		float carry = 0.0f;
		int x = 0;
		const uint8 *s = row;
		for (int i = 0; i < fWidth / 4; i++) {
			int byte = 0;
			for (int shift = 6; shift >= 0; shift -= 2) {
				float darkness;
				if (fBytesPerPixel == 1) {
					darkness = fTable[*s];
					s += 1;
				} else {
					darkness = ReferenceRgbDarkness(s[0], s[1], s[2]);
					s += 4;
				}
				float value = darkness;
				if (fDithering) {
					value = (float)((((darkness + 0.4375 * carry)
						+ 0.0625 * fError[x]) + 0.3125 * fError[x + 1])
						+ 0.1875 * fError[x + 2]);
					fError[x] = carry;
					x++;
					if (value > 255) {
						value = 255;
					}
					if (value < 0) {
						value = 0;
					}
				}
				float residual;
				const int level = fHighContrast
					? ReferenceQuantizeHighContrast(value, &residual)
					: ReferenceQuantizeNormal(value, &residual);
				byte |= level << shift;
				carry = residual;
			}
			*out++ = (uint8)byte;
		}
	}

	const std::vector<float> &ErrorRow() const { return fError; }

private:
	int fBytesPerPixel;
	const float *fTable;
	bool fDithering;
	bool fHighContrast;
	int fWidth;
	std::vector<float> fError;
};

#endif // QUORVEL_TEST_GREY_REFERENCE_H
