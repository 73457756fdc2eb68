// The one screen of the stand-in: an 8-bit screen showing the platform's
// default system colour map.
#include <Screen.h>

#include <mutex>

#include "SystemPalette.h"

using BPrivate::kSystemPalette;

namespace {

const BRect kMainScreenFrame(0, 0, 639, 479);

int32 SquaredDistance(const rgb_color &entry, uint8 red, uint8 green,
	uint8 blue)
{
	int32 dr = (int32)entry.red - red;
	int32 dg = (int32)entry.green - green;
	int32 db = (int32)entry.blue - blue;
	return dr * dr + dg * dg + db * db;
}

// A linear scan of the 256 entries; the strict comparison keeps the lower
// index on a tie, so white finds entry 63 before the transparent 255.
uint8 NearestIndex(uint8 red, uint8 green, uint8 blue)
{
	uint8 best = 0;
	int32 bestDistance = SquaredDistance(kSystemPalette[0], red, green, blue);
	for (int32 index = 1; index < 256 && bestDistance > 0; index++) {
		int32 distance = SquaredDistance(kSystemPalette[index], red, green,
			blue);
		if (distance < bestDistance) {
			bestDistance = distance;
			best = (uint8)index;
		}
	}
	return best;
}

// A 5-bit channel widened to 8 bits, repeating its top bits below so that
// 31 becomes 255.
uint8 Expand5(uint32 channel)
{
	return (uint8)((channel << 3) | (channel >> 2));
}

void BuildColorMap(color_map &map)
{
	map.id = B_MAIN_SCREEN_ID.id;
	for (int32 index = 0; index < 256; index++) {
		const rgb_color &color = kSystemPalette[index];
		map.color_list[index] = color;
		map.inversion_map[index] = NearestIndex(255 - color.red,
			255 - color.green, 255 - color.blue);
	}
	for (uint32 color = 0; color < 32768; color++) {
		map.index_map[color] = NearestIndex(Expand5((color >> 10) & 0x1f),
			Expand5((color >> 5) & 0x1f), Expand5(color & 0x1f));
	}
}

// Built on first use, once, whichever thread asks first; read-only after.
const color_map &SystemColorMap()
{
	static color_map sMap;
	static std::once_flag sOnce;
	std::call_once(sOnce, [] { BuildColorMap(sMap); });
	return sMap;
}

} // namespace


BScreen::BScreen(screen_id id)
	:
	fID(id)
{
}


// Every window is on the main screen.
BScreen::BScreen(BWindow *)
	:
	fID(B_MAIN_SCREEN_ID)
{
}


BScreen::~BScreen()
{
}


// Only the main screen exists. A screen made with another id reports
// itself invalid, but its queries still answer with the main screen's
// values rather than leaving a caller with a null colour map.
bool
BScreen::IsValid()
{
	return fID.id == B_MAIN_SCREEN_ID.id;
}


status_t
BScreen::SetToNext()
{
	return B_ERROR;
}


color_space
BScreen::ColorSpace()
{
	return B_CMAP8;
}


BRect
BScreen::Frame()
{
	return kMainScreenFrame;
}


screen_id
BScreen::ID()
{
	return fID;
}


const color_map *
BScreen::ColorMap()
{
	return &SystemColorMap();
}


uint8
BScreen::IndexForColor(rgb_color color)
{
	return NearestIndex(color.red, color.green, color.blue);
}


uint8
BScreen::IndexForColor(uint8 red, uint8 green, uint8 blue, uint8)
{
	return NearestIndex(red, green, blue);
}


rgb_color
BScreen::ColorForIndex(uint8 index)
{
	return kSystemPalette[index];
}


uint8
BScreen::InvertIndex(uint8 index)
{
	return SystemColorMap().inversion_map[index];
}
