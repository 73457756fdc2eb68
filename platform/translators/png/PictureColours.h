// The distinct colours of a picture while there are few enough of them for
// a palette (256), and each colour's place in that palette. Colours are
// 0xRRGGBB. A small open-addressed table: looking a pixel up costs a
// multiplication and, nearly always, one comparison.
#ifndef QUORVEL_PICTURE_COLOURS_H
#define QUORVEL_PICTURE_COLOURS_H

#include <vector>

#include <SupportDefs.h>

class PictureColours {
public:
	static constexpr size_t kMaxColours = 256;

	PictureColours();

	// Adds the colour; false once the picture has more than kMaxColours
	// (the set is then no longer complete).
	bool Add(uint32 colour);
	// Adds a row of red, green, blue triples; false as Add.
	bool AddRgbRow(const uint8 *rgb, uint32 width);

	// The colours in ascending order, each one's index its palette place.
	const std::vector<uint32> &Sorted() const { return fSorted; }
	// Sorts the colours and numbers them; call after the last Add.
	void Number();
	bool Contains(uint32 colour) const
	{
		return fSlots[SlotOf(colour)] == colour;
	}
	// The palette place of a colour that was added, after Number().
	uint8 IndexOf(uint32 colour) const { return fIndex[SlotOf(colour)]; }

	static bool IsGrey(uint32 colour)
	{
		return (colour >> 16) == (colour & 0xFF)
			&& ((colour >> 8) & 0xFF) == (colour & 0xFF);
	}

private:
	// Twice and more the colours kept, so that probes stay short.
	static constexpr size_t kSlots = 1024;
	static constexpr uint32 kEmpty = 0xFFFFFFFF;

	size_t SlotOf(uint32 colour) const;

	std::vector<uint32> fSlots;
	std::vector<uint8> fIndex;
	std::vector<uint32> fSorted;
	size_t fCount = 0;
	uint32 fLast = kEmpty;
};

#endif // QUORVEL_PICTURE_COLOURS_H
