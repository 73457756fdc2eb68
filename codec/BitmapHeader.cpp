#include "BitmapHeader.h"

#include <string.h>

static_assert(sizeof(TranslatorBitmap) == kBitmapHeaderSize,
	"TranslatorBitmap must match the stream's 32-byte header");

void SwapBitmapHeader(TranslatorBitmap *header, swap_action action)
{
	swap_data(B_UINT32_TYPE, &header->magic, sizeof(uint32), action);
	swap_data(B_RECT_TYPE, &header->bounds, sizeof(BRect), action);
	swap_data(B_UINT32_TYPE, &header->rowBytes, sizeof(uint32), action);
	swap_data(B_UINT32_TYPE, &header->colors, sizeof(uint32), action);
	swap_data(B_UINT32_TYPE, &header->dataSize, sizeof(uint32), action);
}

status_t ReadBitmapHeader(BPositionIO *source, TranslatorBitmap *header)
{
	if (source->Read(header, kBitmapHeaderSize)
			!= (ssize_t)kBitmapHeaderSize) {
		return B_NO_TRANSLATOR;
	}
	SwapBitmapHeader(header, B_SWAP_BENDIAN_TO_HOST);
	return B_OK;
}

uint32 ColorSpaceCode(const TranslatorBitmap &header)
{
	uint32 code;
	memcpy(&code, &header.colors, sizeof(code));
	return code;
}

bool IsPilotSourceColorSpace(uint32 colors)
{
	return colors == B_GRAY1 || colors == B_CMAP8 || colors == B_RGB32;
}

bool HasOrderedBounds(const BRect &bounds)
{
	return bounds.right >= bounds.left && bounds.bottom >= bounds.top;
}
