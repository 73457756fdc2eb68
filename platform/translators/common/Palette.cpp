#include "Palette.h"

namespace {

bool IsGreyOf(const uint8 *c, uint8 value)
{
	return c[0] == value && c[1] == value && c[2] == value;
}

} // namespace

bool Palette::IsBlackAndWhite() const
{
	if (count == 0 || transparent >= 0) {
		return false;
	}
	for (int i = 0; i < count; i++) {
		if (!IsGreyOf(entries[i], 0) && !IsGreyOf(entries[i], 255)) {
			return false;
		}
	}
	return true;
}

bool Palette::IsGrey() const
{
	for (int i = 0; i < count; i++) {
		const uint8 *c = entries[i];
		if (c[0] != c[1] || c[1] != c[2]) {
			return false;
		}
	}
	return count > 0;
}

PixelKind Palette::Kind() const
{
	return IsBlackAndWhite() ? PixelKind::Mono
		: IsGrey() ? PixelKind::Grey : PixelKind::Rgb;
}

void Palette::Rgb32Table(uint8 table[256][4]) const
{
	for (int i = 0; i < 256; i++) {
		bool stored = i < count;
		bool seeThrough = i == transparent;
		for (int c = 0; c < 3; c++) {
			table[i][2 - c] = seeThrough ? 255 : stored ? entries[i][c] : 0;
		}
		table[i][3] = 255;
	}
}

void Palette::BlackTable(bool black[256]) const
{
	for (int i = 0; i < 256; i++) {
		black[i] = i >= count || IsGreyOf(entries[i], 0);
	}
}
