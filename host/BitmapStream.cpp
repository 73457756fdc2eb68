#include "BitmapStream.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <ByteOrder.h>
#include <Screen.h>

#include "Failure.h"

namespace {

void SwapHeader(TranslatorBitmap *header, swap_action action)
{
	swap_data(B_UINT32_TYPE, &header->magic, 4, action);
	swap_data(B_RECT_TYPE, &header->bounds, sizeof(BRect), action);
	swap_data(B_UINT32_TYPE, &header->rowBytes, 4, action);
	swap_data(B_UINT32_TYPE, &header->colors, 4, action);
	swap_data(B_UINT32_TYPE, &header->dataSize, 4, action);
}

// The header in its 32 stream bytes, field by field: the struct's own
// layout is the compiler's business.
void StoreHeader(const TranslatorBitmap &header, uint8 *bytes)
{
	TranslatorBitmap swapped = header;
	SwapHeader(&swapped, B_SWAP_HOST_TO_BENDIAN);
	memcpy(bytes, &swapped.magic, 4);
	memcpy(bytes + 4, &swapped.bounds.left, 4);
	memcpy(bytes + 8, &swapped.bounds.top, 4);
	memcpy(bytes + 12, &swapped.bounds.right, 4);
	memcpy(bytes + 16, &swapped.bounds.bottom, 4);
	memcpy(bytes + 20, &swapped.rowBytes, 4);
	memcpy(bytes + 24, &swapped.colors, 4);
	memcpy(bytes + 28, &swapped.dataSize, 4);
}

[[noreturn]] void Damaged(const std::string &why)
{
	throw Failure("not a readable bitmap stream (" + why + ")");
}

// A whole pixel count of at least one from a pair of float bounds; 0
// when there is none.
uint64 Span(float low, float high)
{
	double span = (double)high - (double)low + 1.0;
	if (!isfinite(span) || span < 1.0 || span != floor(span)
		|| span > (double)kMaxImagePixels) {
		return 0;
	}
	return (uint64)span;
}

size_t StreamBytesPerPixel(uint32 colors)
{
	switch (colors) {
		case B_GRAY8:
		case B_CMAP8:
			return 1;
		case B_RGB32:
		case B_RGBA32:
			return 4;
	}
	return 0;
}

void ReadMono(const uint8 *data, size_t rowBytes, Image &image)
{
	size_t used = image.RowBytes();
	for (uint32 y = 0; y < image.height; y++) {
		memcpy(image.Row(y), data + y * rowBytes, used);
	}
}

void ReadGrey8(const uint8 *data, size_t rowBytes, Image &image)
{
	for (uint32 y = 0; y < image.height; y++) {
		memcpy(image.Row(y), data + y * rowBytes, image.width);
	}
}

void ReadRgb32(const uint8 *data, size_t rowBytes, bool alpha, Image &image)
{
	for (uint32 y = 0; y < image.height; y++) {
		const uint8 *in = data + y * rowBytes;
		uint8 *out = image.Row(y);
		for (uint32 x = 0; x < image.width; x++, in += 4, out += 3) {
			uint8 a = alpha ? in[3] : 255;
			out[0] = OverWhite(in[2], a);
			out[1] = OverWhite(in[1], a);
			out[2] = OverWhite(in[0], a);
		}
	}
}

// Indexed pixels as greys, in one pass: each palette entry's grey with a
// flag above it for entries that are not grey. Returns false, leaving
// image half-written, when a pixel uses such an entry.
bool ReadCmap8AsGrey(const uint8 *data, size_t rowBytes,
	const rgb_color colors[256], Image &image)
{
	const uint16 kNotGrey = 0x100;
	uint16 entries[256];
	for (int i = 0; i < 256; i++) {
		const rgb_color &c = colors[i];
		bool grey = c.red == c.green && c.green == c.blue;
		entries[i] = (uint16)(c.red | (grey ? 0 : kNotGrey));
	}
	uint16 seen = 0;
	for (uint32 y = 0; y < image.height; y++) {
		const uint8 *in = data + y * rowBytes;
		uint8 *out = image.Row(y);
		for (uint32 x = 0; x < image.width; x++) {
			uint16 entry = entries[in[x]];
			out[x] = (uint8)entry;
			seen |= entry;
		}
	}
	return (seen & kNotGrey) == 0;
}

void ReadCmap8AsRgb(const uint8 *data, size_t rowBytes,
	const rgb_color colors[256], Image &image)
{
	for (uint32 y = 0; y < image.height; y++) {
		const uint8 *in = data + y * rowBytes;
		uint8 *out = image.Row(y);
		for (uint32 x = 0; x < image.width; x++, out += 3) {
			const rgb_color &c = colors[in[x]];
			out[0] = c.red;
			out[1] = c.green;
			out[2] = c.blue;
		}
	}
}

// A grey picture when every pixel's palette entry is grey, else a colour
// one.
Image ReadCmap8(const uint8 *data, size_t rowBytes, uint32 width,
	uint32 height)
{
	// The palette entry by entry: asking for the whole colour map would
	// also build its inverse tables, which are not needed here.
	BScreen screen(B_MAIN_SCREEN_ID);
	rgb_color colors[256];
	for (int i = 0; i < 256; i++) {
		colors[i] = screen.ColorForIndex((uint8)i);
	}
	Image image = AllocateImage(width, height, PixelKind::Grey);
	if (ReadCmap8AsGrey(data, rowBytes, colors, image)) {
		return image;
	}
	image = AllocateImage(width, height, PixelKind::Rgb);
	ReadCmap8AsRgb(data, rowBytes, colors, image);
	return image;
}

} // namespace

bool LooksLikeBitmapStream(const ByteVector &bytes)
{
	return bytes.size() >= 4 && memcmp(bytes.data(), "bits", 4) == 0;
}

ByteVector ImageToBitmapStream(const Image &image)
{
	bool mono = image.kind == PixelKind::Mono;
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.bounds = BRect(0, 0, (float)image.width - 1,
		(float)image.height - 1);
	header.rowBytes = mono ? (uint32)image.RowBytes() : image.width * 4;
	header.colors = mono ? B_GRAY1 : B_RGB32;
	// Within 32 bits: at most 2^28 pixels of 4 bytes.
	header.dataSize = header.rowBytes * image.height;

	ByteVector bytes(kBitmapHeaderSize + header.dataSize);
	StoreHeader(header, bytes.data());
	uint8 *out = bytes.data() + kBitmapHeaderSize;
	if (mono) {
		memcpy(out, image.pixels.data(), image.pixels.size());
		return bytes;
	}
	// Rows are contiguous in both: one pass over all the pixels.
	size_t count = (size_t)image.width * image.height;
	const uint8 *in = image.pixels.data();
	if (image.kind == PixelKind::Grey) {
		for (size_t i = 0; i < count; i++, out += 4) {
			out[0] = out[1] = out[2] = in[i];
			out[3] = 255;
		}
		return bytes;
	}
	for (size_t i = 0; i < count; i++, in += 3, out += 4) {
		out[0] = in[2];
		out[1] = in[1];
		out[2] = in[0];
		out[3] = 255;
	}
	return bytes;
}

bool BoundsSize(const BRect &bounds, uint64 *width, uint64 *height)
{
	*width = Span(bounds.left, bounds.right);
	*height = Span(bounds.top, bounds.bottom);
	return *width != 0 && *height != 0;
}

bool ParseBitmapHeader(const ByteVector &bytes, TranslatorBitmap *header)
{
	if (bytes.size() < kBitmapHeaderSize) {
		return false;
	}
	const uint8 *in = bytes.data();
	memcpy(&header->magic, in, 4);
	memcpy(&header->bounds.left, in + 4, 4);
	memcpy(&header->bounds.top, in + 8, 4);
	memcpy(&header->bounds.right, in + 12, 4);
	memcpy(&header->bounds.bottom, in + 16, 4);
	memcpy(&header->rowBytes, in + 20, 4);
	memcpy(&header->colors, in + 24, 4);
	memcpy(&header->dataSize, in + 28, 4);
	SwapHeader(header, B_SWAP_BENDIAN_TO_HOST);
	return true;
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

Image BitmapStreamToImage(const ByteVector &bytes)
{
	TranslatorBitmap header;
	if (!ParseBitmapHeader(bytes, &header)) {
		Damaged("shorter than its 32-byte header");
	}
	if (header.magic != B_TRANSLATOR_BITMAP) {
		Damaged("no 'bits' magic");
	}
	uint64 width;
	uint64 height;
	if (!BoundsSize(header.bounds, &width, &height)) {
		Damaged("its bounds are not a whole number of pixels");
	}
	CheckImageSize(width, height);

	uint64 needRowBytes;
	if (header.colors == B_GRAY1) {
		needRowBytes = (width + 7) / 8;
	} else if (StreamBytesPerPixel(header.colors) != 0) {
		needRowBytes = width * StreamBytesPerPixel(header.colors);
	} else {
		throw Failure("unsupported depth: colour space "
			+ ColorSpaceName(header.colors) + " (B_GRAY1, B_GRAY8, B_CMAP8, "
			"B_RGB32 and B_RGBA32 are read)");
	}
	if (header.rowBytes < needRowBytes) {
		Damaged("rowBytes is too small for its width");
	}
	// rowBytes and height are below 2^32 each: no overflow in 64 bits.
	uint64 pixelBytes = (uint64)header.rowBytes * height;
	if (pixelBytes > bytes.size() - kBitmapHeaderSize) {
		Damaged("the stream is cut short");
	}

	const uint8 *data = bytes.data() + kBitmapHeaderSize;
	size_t rowBytes = header.rowBytes;
	if (header.colors == B_CMAP8) {
		return ReadCmap8(data, rowBytes, (uint32)width, (uint32)height);
	}
	PixelKind kind = header.colors == B_GRAY1 ? PixelKind::Mono
		: header.colors == B_GRAY8 ? PixelKind::Grey : PixelKind::Rgb;
	Image image = AllocateImage(width, height, kind);
	if (kind == PixelKind::Mono) {
		ReadMono(data, rowBytes, image);
	} else if (kind == PixelKind::Grey) {
		ReadGrey8(data, rowBytes, image);
	} else {
		ReadRgb32(data, rowBytes, header.colors == B_RGBA32, image);
	}
	return image;
}
