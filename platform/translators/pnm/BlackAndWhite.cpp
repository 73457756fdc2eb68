#include "BlackAndWhite.h"

#include <string.h>

namespace {

const float kMiddle = 127.5f;

float Darkness(const uint8 *rgb)
{
	return (float)(((255.0 - 0.11 * rgb[2]) - 0.59 * rgb[1]) - 0.3 * rgb[0]);
}

} // namespace

BlackAndWhite::BlackAndWhite(uint32 width, bool dither)
	: fWidth(width), fDither(dither), fCurrent((size_t)width + 2),
	  fBelow((size_t)width + 2, 0.0f)
{
}

void BlackAndWhite::MakeRow(const uint8 *rgb, uint8 *bits)
{
	memset(bits, 0, ((size_t)fWidth + 7) / 8);
	for (uint32 x = 0; x < fWidth; x++) {
		fCurrent[x + 1] = Darkness(rgb + (size_t)x * 3) + fBelow[x + 1];
		fBelow[x + 1] = 0.0f;
	}
	fCurrent[fWidth + 1] = 0.0f;
	for (uint32 x = 0; x < fWidth; x++) {
		float value = fCurrent[x + 1];
		const bool black = value >= kMiddle;
		if (black) {
			bits[x >> 3] |= (uint8)(0x80 >> (x & 7));
		}
		if (!fDither) {
			continue;
		}
		value = value > 255.0f ? 255.0f : (value < 0.0f ? 0.0f : value);
		const float error = value - (black ? 255.0f : 0.0f);
		fCurrent[x + 2] += error * 7.0f / 16.0f;
		fBelow[x] += error * 3.0f / 16.0f;
		fBelow[x + 1] += error * 5.0f / 16.0f;
		fBelow[x + 2] += error * 1.0f / 16.0f;
	}
}
