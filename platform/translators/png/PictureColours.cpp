#include "PictureColours.h"

#include <algorithm>

PictureColours::PictureColours()
	: fSlots(kSlots, kEmpty), fIndex(kSlots, 0)
{
}

size_t PictureColours::SlotOf(uint32 colour) const
{
	// Fibonacci hashing: the top bits of the product spread neighbouring
	// colours apart.
	size_t slot = (size_t)((colour * 2654435769u) >> 22);
	while (fSlots[slot] != colour && fSlots[slot] != kEmpty) {
		slot = (slot + 1) % kSlots;
	}
	return slot;
}

bool PictureColours::Add(uint32 colour)
{
	if (colour == fLast) {
		return true;
	}
	size_t slot = SlotOf(colour);
	if (fSlots[slot] == kEmpty) {
		if (fCount == kMaxColours) {
			return false;
		}
		fSlots[slot] = colour;
		fCount++;
	}
	fLast = colour;
	return true;
}

bool PictureColours::AddRgbRow(const uint8 *rgb, uint32 width)
{
	for (uint32 x = 0; x < width; x++, rgb += 3) {
		if (!Add((uint32)rgb[0] << 16 | (uint32)rgb[1] << 8 | rgb[2])) {
			return false;
		}
	}
	return true;
}

void PictureColours::Number()
{
	fSorted.clear();
	for (uint32 colour : fSlots) {
		if (colour != kEmpty) {
			fSorted.push_back(colour);
		}
	}
	std::sort(fSorted.begin(), fSorted.end());
	for (size_t i = 0; i < fSorted.size(); i++) {
		fIndex[SlotOf(fSorted[i])] = (uint8)i;
	}
}
