#include "PictureStream.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

namespace {

const struct {
	uint32 colors;
	const char *name;
} kColorSpaceNames[] = {
	{B_GRAY1, "B_GRAY1"}, {B_GRAY8, "B_GRAY8"}, {B_CMAP8, "B_CMAP8"},
	{B_RGB15, "B_RGB15"}, {B_RGB16, "B_RGB16"}, {B_RGB24, "B_RGB24"},
	{B_RGB32, "B_RGB32"}, {B_RGBA32, "B_RGBA32"},
};

uint32 Big32(const uint8 *bytes)
{
	return ((uint32)bytes[0] << 24) | ((uint32)bytes[1] << 16)
		| ((uint32)bytes[2] << 8) | bytes[3];
}

float BigFloat(const uint8 *bytes)
{
	uint32 bits = Big32(bytes);
	float value;
	memcpy(&value, &bits, sizeof(value));
	return value;
}

// The pixels from low to high, both included, when that is a whole number
// from 1 to 2^31; 0 otherwise (the bitmap stream refuses such a header).
uint64 PixelCount(float low, float high)
{
	double count = (double)high - (double)low + 1.0;
	if (!(count >= 1.0 && count <= 2147483648.0) || count != floor(count)) {
		return 0;
	}
	return (uint64)count;
}

} // namespace

PictureStream::PictureStream(uint64 maxPixels)
	: PictureStream(maxPixels, false)
{
}

PictureStream::PictureStream(uint64 maxPixels, bool headerOnly)
	: fMaxPixels(maxPixels), fHeaderOnly(headerOnly)
{
	memset(fRawHeader, 0, sizeof(fRawHeader));
}

PictureStream PictureStream::HeaderOnly()
{
	return PictureStream(0, true);
}

ssize_t PictureStream::WriteAt(off_t offset, const void *buffer, size_t size)
{
	if (offset >= 0 && (uint64)offset < sizeof(fRawHeader) && buffer != NULL
		&& !HasHeader()) {
		size_t count = std::min(size, sizeof(fRawHeader) - (size_t)offset);
		SeeHeader((size_t)offset, static_cast<const uint8 *>(buffer), count);
	}
	if (fOverLimit) {
		return B_NOT_ALLOWED;
	}
	if (fHeaderOnly) {
		// The header's bytes are taken, nothing after them.
		if (offset < 0 || (uint64)offset + size > sizeof(fRawHeader)) {
			return B_NOT_ALLOWED;
		}
		return (ssize_t)size;
	}
	ssize_t written = BBitmapStream::WriteAt(offset, buffer, size);
	if (written < 0 && HasHeader() && fBitmap == NULL) {
		fHeaderRefusal = (status_t)written;
	}
	return written;
}

void PictureStream::SeeHeader(size_t offset, const uint8 *bytes, size_t size)
{
	memcpy(fRawHeader + offset, bytes, size);
	fSeen |= (uint32)((((uint64)1 << size) - 1) << offset);
	if (!HasHeader()) {
		return;
	}
	// The bounds left, top, right and bottom as floats at 4, 8, 12 and 16;
	// rowBytes at 20 is the bitmap stream's to check.
	fWidth = PixelCount(BigFloat(fRawHeader + 4), BigFloat(fRawHeader + 12));
	fHeight = PixelCount(BigFloat(fRawHeader + 8), BigFloat(fRawHeader + 16));
	fColors = Big32(fRawHeader + 24);
	fDataSize = Big32(fRawHeader + 28);
	if (fWidth == 0 || fHeight == 0) {
		fWidth = fHeight = 0;
	}
	fOverLimit = !fHeaderOnly && fWidth > 0 && fWidth > fMaxPixels / fHeight;
}

std::string ColorSpaceName(uint32 colors)
{
	for (const auto &entry : kColorSpaceNames) {
		if (entry.colors == colors) {
			return entry.name;
		}
	}
	char code[16];
	snprintf(code, sizeof(code), "0x%x", colors);
	return code;
}
