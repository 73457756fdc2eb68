#include "BitmapHeader.h"

#include "BigEndian.h"
#include "StreamIO.h"

namespace {

// A stream may hold any number as its colour space, and one that
// color_space does not list has no place in the enum, so the stored word
// is tested before it becomes one.
bool IsPilotSourceColorSpace(uint32 colors)
{
	return colors == B_GRAY1 || colors == B_CMAP8 || colors == B_RGB32;
}

bool DataSizeAgrees(const TranslatorBitmap &header)
{
	const double rows = (double)header.bounds.bottom
		- (double)header.bounds.top + 1.0;
	return rows * (double)header.rowBytes == (double)header.dataSize;
}

} // namespace

void SerializeBitmapHeader(const TranslatorBitmap &header, uint8 *bytes)
{
	WriteBE32(bytes, header.magic);
	WriteBEFloat(bytes + 4, header.bounds.left);
	WriteBEFloat(bytes + 8, header.bounds.top);
	WriteBEFloat(bytes + 12, header.bounds.right);
	WriteBEFloat(bytes + 16, header.bounds.bottom);
	WriteBE32(bytes + 20, header.rowBytes);
	WriteBE32(bytes + 24, (uint32)header.colors);
	WriteBE32(bytes + 28, header.dataSize);
}

HeaderCheck CheckBitmapHeader(BPositionIO *source, HeaderUse use,
	TranslatorBitmap *header, PilotSize *size)
{
	uint8 bytes[kBitmapHeaderSize];
	if (!ReadExactly(source, bytes, sizeof(bytes))) {
		return kBitmapHeaderCut;
	}
	header->magic = ReadBE32(bytes);
	header->bounds = BRect(ReadBEFloat(bytes + 4), ReadBEFloat(bytes + 8),
		ReadBEFloat(bytes + 12), ReadBEFloat(bytes + 16));
	header->rowBytes = ReadBE32(bytes + 20);
	header->colors = B_NO_COLOR_SPACE;
	header->dataSize = ReadBE32(bytes + 28);
	const uint32 colors = ReadBE32(bytes + 24);

	const BRect &bounds = header->bounds;
	if (header->magic != B_TRANSLATOR_BITMAP) {
		return kNotBitmapStream;
	}
	if (!(bounds.right >= bounds.left && bounds.bottom >= bounds.top)) {
		return kBoundsDisordered;
	}
	if (!IsPilotSourceColorSpace(colors)) {
		return kColorSpaceNotConverted;
	}
	header->colors = (color_space)colors;
	if (use == kIdentifying) {
		return DataSizeAgrees(*header) ? kHeaderAccepted : kDataSizeDisagrees;
	}
	return PilotSizeForBounds(bounds, header->colors == B_GRAY1, size);
}
