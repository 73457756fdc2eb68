#include "BlackAndWhite.h"

namespace {

enum Tone { kWhite, kBlack, kOther };

uint8 ToneOf(uint8 red, uint8 green, uint8 blue)
{
	if (red != green || green != blue) {
		return kOther;
	}
	return red == 255 ? kWhite : (red == 0 ? kBlack : kOther);
}

} // namespace

BlackAndWhiteRows::BlackAndWhiteRows(color_space colors, const color_map *map)
	: fColors(colors)
{
	for (int i = 0; i < 256; i++) {
		if (map != NULL) {
			const rgb_color &color = map->color_list[i];
			fTone[i] = ToneOf(color.red, color.green, color.blue);
		} else {
			fTone[i] = ToneOf((uint8)i, (uint8)i, (uint8)i);
		}
	}
}

bool BlackAndWhiteRows::TakeRow(const uint8 *row, int32 count,
	uint8 *bits) const
{
	for (int32 x = 0; x < count; x++) {
		const uint8 *pixel = fColors == B_RGB32 ? row + 4 * x : row + x;
		const uint8 tone = fColors == B_RGB32
			? ToneOf(pixel[2], pixel[1], pixel[0]) : fTone[*pixel];
		if (tone == kOther) {
			return false;
		}
		if (tone == kBlack) {
			bits[x >> 3] |= (uint8)(0x80 >> (x & 7));
		}
	}
	return true;
}
