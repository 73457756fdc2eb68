#include "Image.h"

#include <string>

#include "Failure.h"

size_t RowBytesFor(uint32 width, PixelKind kind)
{
	switch (kind) {
		case PixelKind::Mono:
			return ((size_t)width + 7) / 8;
		case PixelKind::Grey:
			return width;
		case PixelKind::Rgb:
			return (size_t)width * 3;
	}
	return 0;
}

size_t Image::RowBytes() const
{
	return RowBytesFor(width, kind);
}

void CheckImageSize(uint64 width, uint64 height)
{
	if (width == 0 || height == 0) {
		throw Failure("image has no pixels (" + std::to_string(width)
			+ " x " + std::to_string(height) + ")");
	}
	if (width > kMaxImagePixels / height) {
		throw Failure("image too large: " + std::to_string(width) + " x "
			+ std::to_string(height) + " pixels (at most "
			+ std::to_string(kMaxImagePixels) + " pixels)");
	}
}

Image AllocateImage(uint64 width, uint64 height, PixelKind kind)
{
	CheckImageSize(width, height);
	Image image;
	image.width = (uint32)width;
	image.height = (uint32)height;
	image.kind = kind;
	image.pixels.assign(image.RowBytes() * image.height, 0);
	return image;
}

namespace {

uint8 MonoPixelAsGrey(const uint8 *row, uint32 x)
{
	return ((row[x / 8] & (0x80 >> (x % 8))) != 0) ? 0 : 255;
}

} // namespace

Image Widen(Image image, PixelKind kind)
{
	// Narrowing would lose pixels; callers only ever widen.
	if ((int)kind <= (int)image.kind) {
		return image;
	}
	Image wide = AllocateImage(image.width, image.height, kind);
	for (uint32 y = 0; y < image.height; y++) {
		const uint8 *in = image.Row(y);
		uint8 *out = wide.Row(y);
		for (uint32 x = 0; x < image.width; x++) {
			uint8 grey = image.kind == PixelKind::Mono
				? MonoPixelAsGrey(in, x) : in[x];
			if (kind == PixelKind::Grey) {
				out[x] = grey;
			} else {
				out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = grey;
			}
		}
	}
	return wide;
}

const char *DescribeKind(PixelKind kind)
{
	switch (kind) {
		case PixelKind::Mono:
			return "1-bit black and white";
		case PixelKind::Grey:
			return "8-bit grey";
		case PixelKind::Rgb:
			return "24-bit colour";
	}
	return "unknown";
}
