#include "PngShape.h"

#include "PictureColours.h"

namespace {

const int kDepths[] = {1, 2, 4, 8};

int PaletteDepth(size_t count)
{
	for (int depth : kDepths) {
		if (count <= ((size_t)1 << depth)) {
			return depth;
		}
	}
	return 8;
}

// The smallest grey depth holding every colour exactly; 0 when one is not
// a grey.
int GreyDepth(const std::vector<uint32> &colours)
{
	for (uint32 colour : colours) {
		if (!PictureColours::IsGrey(colour)) {
			return 0;
		}
	}
	for (int depth : kDepths) {
		uint32 step = 255 / ((1u << depth) - 1);
		bool exact = true;
		for (uint32 colour : colours) {
			exact = exact && (colour & 0xFF) % step == 0;
		}
		if (exact) {
			return depth;
		}
	}
	return 8;
}

} // namespace

PngShape ShapeOfColours(const std::vector<uint32> &colours)
{
	int palette = PaletteDepth(colours.size());
	int grey = GreyDepth(colours);
	if (grey != 0 && grey <= palette) {
		return {true, grey, 255 / ((1u << grey) - 1)};
	}
	return {false, palette, 0};
}
