// A decoded picture in memory: what the PNG, JPEG and PNM readers produce,
// what the writers take, and what is turned into and out of the kit's
// bitmap stream.
#ifndef QUORVEL_HOST_IMAGE_H
#define QUORVEL_HOST_IMAGE_H

#include <vector>

#include <SupportDefs.h>

#include "LargeBlockAllocator.h"

enum class PixelKind {
	// One bit a pixel, 1 black and 0 white, leftmost pixel in bit 7; each
	// row padded to a whole byte. The meaning of B_GRAY1 and of PBM.
	Mono,
	// One byte a pixel, 0 black to 255 white.
	Grey,
	// Three bytes a pixel: red, green, blue.
	Rgb
};

typedef std::vector<uint8, LargeBlockAllocator<uint8> > ByteVector;

struct Image {
	uint32 width = 0;
	uint32 height = 0;
	PixelKind kind = PixelKind::Rgb;
	// height rows of RowBytes() bytes, top row first.
	ByteVector pixels;

	size_t RowBytes() const;
	uint8 *Row(uint32 y) { return pixels.data() + y * RowBytes(); }
	const uint8 *Row(uint32 y) const
	{
		return pixels.data() + y * RowBytes();
	}
};

// The largest picture accepted, 2^28 pixels (16384 x 16384): the
// translator refuses more, and a few bytes of a hostile header must not
// make us allocate gigabytes.
const uint64 kMaxImagePixels = (uint64)1 << 28;

size_t RowBytesFor(uint32 width, PixelKind kind);

// Checks a size read from a file (at least one pixel each way, at most
// kMaxImagePixels) before anything is allocated; throws Failure.
void CheckImageSize(uint64 width, uint64 height);

// An image of that size, filled with zero bytes, once the size passed
// CheckImageSize.
Image AllocateImage(uint64 width, uint64 height, PixelKind kind);

// The same picture with more room per pixel, Mono to Grey to Rgb, so that
// nothing is lost. An image that already has as much room or more is
// returned as it is (moved, not copied, when the caller passes it so).
Image Widen(Image image, PixelKind kind);

// Porter-Duff "over" a white background, rounded to nearest.
inline uint8 OverWhite(uint8 value, uint8 alpha)
{
	return (uint8)((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

const char *DescribeKind(PixelKind kind);

#endif // QUORVEL_HOST_IMAGE_H
