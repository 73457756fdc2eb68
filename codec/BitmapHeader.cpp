#include "BitmapHeader.h"

#include <string.h>

#include "StreamIO.h"

static_assert(sizeof(TranslatorBitmap) == kBitmapHeaderSize,
	"TranslatorBitmap must match the stream's 32-byte header");

namespace {

// The header's colour space as the stream's 32-bit number. A stream may
// hold any number there, and loading one that color_space does not list
// through the enum is undefined, so untrusted headers are tested this way.
bool IsPilotSourceColorSpace(const TranslatorBitmap &header)
{
	uint32 colors;
	memcpy(&colors, &header.colors, sizeof(colors));
	return colors == B_GRAY1 || colors == B_CMAP8 || colors == B_RGB32;
}

bool DataSizeAgrees(const TranslatorBitmap &header)
{
	const double rows = (double)header.bounds.bottom
		- (double)header.bounds.top + 1.0;
	return rows * (double)header.rowBytes == (double)header.dataSize;
}

} // namespace

void SwapBitmapHeader(TranslatorBitmap *header, swap_action action)
{
	swap_data(B_UINT32_TYPE, &header->magic, sizeof(uint32), action);
	swap_data(B_RECT_TYPE, &header->bounds, sizeof(BRect), action);
	swap_data(B_UINT32_TYPE, &header->rowBytes, sizeof(uint32), action);
	swap_data(B_UINT32_TYPE, &header->colors, sizeof(uint32), action);
	swap_data(B_UINT32_TYPE, &header->dataSize, sizeof(uint32), action);
}

HeaderCheck CheckBitmapHeader(BPositionIO *source, HeaderUse use,
	TranslatorBitmap *header, PilotSize *size)
{
	if (!ReadExactly(source, header, kBitmapHeaderSize)) {
		return kBitmapHeaderCut;
	}
	SwapBitmapHeader(header, B_SWAP_BENDIAN_TO_HOST);
	const BRect &bounds = header->bounds;
	if (header->magic != B_TRANSLATOR_BITMAP) {
		return kNotBitmapStream;
	}
	if (!(bounds.right >= bounds.left && bounds.bottom >= bounds.top)) {
		return kBoundsDisordered;
	}
	if (!IsPilotSourceColorSpace(*header)) {
		return kColorSpaceNotConverted;
	}
	if (use == kIdentifying) {
		return DataSizeAgrees(*header) ? kHeaderAccepted : kDataSizeDisagrees;
	}
	return PilotSizeForBounds(bounds, header->colors == B_GRAY1, size);
}
