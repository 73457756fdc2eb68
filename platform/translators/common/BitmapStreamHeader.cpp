#include "BitmapStreamHeader.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "TranslationError.h"

namespace {

void PutBig32(uint8 *out, uint32 value)
{
	out[0] = (uint8)(value >> 24);
	out[1] = (uint8)(value >> 16);
	out[2] = (uint8)(value >> 8);
	out[3] = (uint8)value;
}

uint32 GetBig32(const uint8 *in)
{
	return ((uint32)in[0] << 24) | ((uint32)in[1] << 16)
		| ((uint32)in[2] << 8) | in[3];
}

uint32 FloatBits(float value)
{
	uint32 bits;
	memcpy(&bits, &value, 4);
	return bits;
}

float BitsFloat(uint32 bits)
{
	float value;
	memcpy(&value, &bits, 4);
	return value;
}

// A whole pixel count from a pair of float bounds; 0 when there is none.
uint64 Span(float low, float high)
{
	double span = (double)high - (double)low + 1.0;
	if (!isfinite(span) || span < 1.0 || span != floor(span)
		|| span > (double)kMaxPicturePixels) {
		return 0;
	}
	return (uint64)span;
}

} // namespace

void CheckPictureSize(uint64 width, uint64 height)
{
	if (width == 0 || height == 0) {
		Refuse("image has no pixels (" + std::to_string(width) + " x "
			+ std::to_string(height) + ")");
	}
	if (width > kMaxPicturePixels / height) {
		Refuse("image too large: " + std::to_string(width) + " x "
			+ std::to_string(height) + " pixels (at most "
			+ std::to_string(kMaxPicturePixels) + " pixels)");
	}
}

TranslatorBitmap MakeBitmapHeader(uint32 width, uint32 height,
	color_space colors, uint32 rowBytes)
{
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.bounds = BRect(0, 0, (float)width - 1, (float)height - 1);
	header.rowBytes = rowBytes;
	header.colors = colors;
	// Within 32 bits: at most 2^28 pixels of 4 bytes.
	header.dataSize = rowBytes * height;
	return header;
}

uint32 ColorSpaceCode(const TranslatorBitmap &header)
{
	uint32 code;
	memcpy(&code, &header.colors, sizeof(code));
	return code;
}

bool ReadBitmapHeader(ByteSource &source, TranslatorBitmap *header)
{
	uint8 bytes[kBitmapHeaderBytes];
	if (source.Read(bytes, sizeof(bytes)) != sizeof(bytes)) {
		return false;
	}
	header->magic = GetBig32(bytes);
	header->bounds.left = BitsFloat(GetBig32(bytes + 4));
	header->bounds.top = BitsFloat(GetBig32(bytes + 8));
	header->bounds.right = BitsFloat(GetBig32(bytes + 12));
	header->bounds.bottom = BitsFloat(GetBig32(bytes + 16));
	header->rowBytes = GetBig32(bytes + 20);
	uint32 colors = GetBig32(bytes + 24);
	memcpy(&header->colors, &colors, sizeof(colors));
	header->dataSize = GetBig32(bytes + 28);
	return true;
}

bool BoundsSize(const BRect &bounds, uint32 *width, uint32 *height)
{
	*width = (uint32)Span(bounds.left, bounds.right);
	*height = (uint32)Span(bounds.top, bounds.bottom);
	return *width != 0 && *height != 0;
}

std::string ColorSpaceName(uint32 colors)
{
	switch (colors) {
		case B_GRAY1:
			return "B_GRAY1";
		case B_GRAY8:
			return "B_GRAY8";
		case B_CMAP8:
			return "B_CMAP8";
		case B_RGB15:
			return "B_RGB15";
		case B_RGB16:
			return "B_RGB16";
		case B_RGB24:
			return "B_RGB24";
		case B_RGB32:
			return "B_RGB32";
		case B_RGBA32:
			return "B_RGBA32";
	}
	char code[16];
	snprintf(code, sizeof(code), "0x%x", colors);
	return code;
}

status_t WriteFully(BPositionIO *destination, const void *data, size_t size)
{
	ssize_t written = destination->Write(data, size);
	if (written < 0) {
		return (status_t)written;
	}
	return (size_t)written == size ? B_OK : B_ERROR;
}

void WriteBitmapHeader(BPositionIO *destination,
	const TranslatorBitmap &header)
{
	uint8 bytes[kBitmapHeaderBytes];
	PutBig32(bytes, header.magic);
	PutBig32(bytes + 4, FloatBits(header.bounds.left));
	PutBig32(bytes + 8, FloatBits(header.bounds.top));
	PutBig32(bytes + 12, FloatBits(header.bounds.right));
	PutBig32(bytes + 16, FloatBits(header.bounds.bottom));
	PutBig32(bytes + 20, header.rowBytes);
	PutBig32(bytes + 24, ColorSpaceCode(header));
	PutBig32(bytes + 28, header.dataSize);
	WriteRow(destination, bytes, sizeof(bytes));
}

void WriteRow(BPositionIO *destination, const void *row, size_t size)
{
	status_t status = WriteFully(destination, row, size);
	if (status != B_OK) {
		throw TranslationError{status, "cannot write the output"};
	}
}
