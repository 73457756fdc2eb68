#include "PixelRows.h"

#include <memory>
#include <new>
#include <vector>

#include <Screen.h>

namespace {

uint8 OnWhite(uint8 value, uint8 alpha)
{
	return (uint8)((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

void Put(uint8 *rgb, uint8 red, uint8 green, uint8 blue)
{
	rgb[0] = red;
	rgb[1] = green;
	rgb[2] = blue;
}

} // namespace

bool ReadsColours(color_space colors)
{
	return colors == B_GRAY1 || colors == B_GRAY8 || colors == B_CMAP8
		|| colors == B_RGB24 || colors == B_RGB32 || colors == B_RGBA32;
}

int32 PixelWidth(const BBitmap &bitmap)
{
	return bitmap.Bounds().IntegerWidth() + 1;
}

int32 PixelHeight(const BBitmap &bitmap)
{
	return bitmap.Bounds().IntegerHeight() + 1;
}

void RowAsRgb(const BBitmap &bitmap, int32 y, uint8 *rgb)
{
	const int32 width = PixelWidth(bitmap);
	const uint8 *row = (const uint8 *)bitmap.Bits()
		+ (size_t)y * bitmap.BytesPerRow();
	const color_map *map = bitmap.ColorSpace() == B_CMAP8
		? BScreen().ColorMap() : NULL;
	for (int32 x = 0; x < width; x++, rgb += 3) {
		switch (bitmap.ColorSpace()) {
			case B_GRAY1: {
				// A set bit is black, leftmost pixel in bit 7.
				uint8 grey = (row[x >> 3] & (0x80 >> (x & 7))) ? 0 : 255;
				Put(rgb, grey, grey, grey);
				break;
			}
			case B_GRAY8:
				Put(rgb, row[x], row[x], row[x]);
				break;
			case B_CMAP8: {
				const rgb_color &c = map->color_list[row[x]];
				Put(rgb, c.red, c.green, c.blue);
				break;
			}
			case B_RGB24:
				Put(rgb, row[3 * x + 2], row[3 * x + 1], row[3 * x]);
				break;
			case B_RGBA32: {
				const uint8 *p = row + 4 * x;
				Put(rgb, OnWhite(p[2], p[3]), OnWhite(p[1], p[3]),
					OnWhite(p[0], p[3]));
				break;
			}
			default:
				Put(rgb, row[4 * x + 2], row[4 * x + 1], row[4 * x]);
				break;
		}
	}
}

void PutRgbRow(BBitmap &bitmap, int32 y, const uint8 *rgb)
{
	uint8 *out = (uint8 *)bitmap.Bits() + (size_t)y * bitmap.BytesPerRow();
	for (int32 x = 0; x < PixelWidth(bitmap); x++) {
		out[4 * x] = rgb[3 * x + 2];
		out[4 * x + 1] = rgb[3 * x + 1];
		out[4 * x + 2] = rgb[3 * x];
		out[4 * x + 3] = 255;
	}
}

BBitmap *CopyAsRgb32(const BBitmap &bitmap)
{
	std::unique_ptr<BBitmap> copy(new BBitmap(bitmap.Bounds(), B_RGB32));
	if (copy->InitCheck() != B_OK) {
		throw std::bad_alloc();
	}
	const int32 width = PixelWidth(bitmap);
	std::vector<uint8> rgb((size_t)width * 3);
	for (int32 y = 0; y < PixelHeight(bitmap); y++) {
		RowAsRgb(bitmap, y, rgb.data());
		PutRgbRow(*copy, y, rgb.data());
	}
	return copy.release();
}
