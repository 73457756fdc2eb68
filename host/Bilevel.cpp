#include "Bilevel.h"

#include <memory>
#include <new>
#include <vector>

#include "PixelRows.h"

namespace {

const float kMiddle = 127.5f;

void RowDarkness(const BBitmap &source, int32 y, std::vector<uint8> &rgb,
	float *darkness)
{
	RowAsRgb(source, y, rgb.data());
	const bool mapped = source.ColorSpace() == B_CMAP8;
	for (size_t x = 0; x < rgb.size() / 3; x++) {
		const uint8 *p = &rgb[3 * x];
		darkness[x] = mapped ? MapDarkness(p[0], p[1], p[2])
			: RgbDarkness(p[0], p[1], p[2]);
	}
}

} // namespace

float RgbDarkness(uint8 red, uint8 green, uint8 blue)
{
	return (float)(((255.0 - 0.11 * blue) - 0.59 * green) - 0.3 * red);
}

float MapDarkness(uint8 red, uint8 green, uint8 blue)
{
	return (float)(((255.0 - 0.3 * red) - 0.59 * green) - 0.11 * blue);
}

BBitmap *MakeBilevel(const BBitmap &source, bool dither)
{
	std::unique_ptr<BBitmap> bilevel(new BBitmap(source.Bounds(), B_GRAY1));
	if (bilevel->InitCheck() != B_OK) {
		throw std::bad_alloc();
	}
	const int32 width = PixelWidth(source);
	std::vector<uint8> rgb((size_t)width * 3);
	// This row's darkness with the error diffused into it so far, and the
	// next row's share; one spare column at each end spares the checks.
	std::vector<float> current((size_t)width + 2);
	std::vector<float> below((size_t)width + 2, 0.0f);
	for (int32 y = 0; y < PixelHeight(source); y++) {
		RowDarkness(source, y, rgb, current.data() + 1);
		for (int32 x = 0; x < width; x++) {
			current[x + 1] += below[x + 1];
			below[x + 1] = 0.0f;
		}
		uint8 *out = (uint8 *)bilevel->Bits()
			+ (size_t)y * bilevel->BytesPerRow();
		for (int32 x = 0; x < width; x++) {
			float value = current[x + 1];
			const bool black = value >= kMiddle;
			if (black) {
				out[x >> 3] |= (uint8)(0x80 >> (x & 7));
			}
			if (!dither) {
				continue;
			}
			// Clamped first, so that a long run of one colour cannot
			// pile up error no level can show.
			value = value > 255.0f ? 255.0f : (value < 0.0f ? 0.0f : value);
			const float error = value - (black ? 255.0f : 0.0f);
			current[x + 2] += error * 7.0f / 16.0f;
			below[x] += error * 3.0f / 16.0f;
			below[x + 1] += error * 5.0f / 16.0f;
			below[x + 2] += error * 1.0f / 16.0f;
		}
	}
	return bilevel.release();
}
