#include "PixelRows.h"

#include <string.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "StandardImageInfo.h"

size_t RowBytesOf(uint32 width, PixelKind kind)
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

const char *DescribeKind(PixelKind kind)
{
	switch (kind) {
		case PixelKind::Mono:
			return IMAGE_DEPTH_BILEVEL;
		case PixelKind::Grey:
			return IMAGE_DEPTH_GREY;
		case PixelKind::Rgb:
			return IMAGE_DEPTH_COLOUR;
	}
	return "unknown";
}

void GreyToRgb32(const uint8 *grey, uint32 width, uint8 *out)
{
	for (uint32 x = 0; x < width; x++, out += 4) {
		out[0] = out[1] = out[2] = grey[x];
		out[3] = 255;
	}
}

namespace {

void RgbToRgb32Pixels(const uint8 *rgb, uint32 width, uint8 *out)
{
	for (uint32 x = 0; x < width; x++, rgb += 3, out += 4) {
		out[0] = rgb[2];
		out[1] = rgb[1];
		out[2] = rgb[0];
		out[3] = 255;
	}
}

#if defined(__x86_64__) || defined(__i386__)
// Compilers do not vectorise the three-to-four byte shuffle on their own:
// one byte shuffle turns four pixels loaded as 16 bytes into four B_RGB32
// pixels, about four times as fast as a byte at a time. Every x86 processor
// of the last fifteen years has SSSE3; the others take the plain loop.
__attribute__((target("ssse3"))) void RgbToRgb32Shuffled(const uint8 *rgb,
	uint32 width, uint8 *out)
{
	const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1,
		8, 7, 6, -1, 11, 10, 9, -1);
	const __m128i opaque = _mm_set1_epi32((int)0xFF000000);
	uint32 x = 0;
	// Each load takes 16 bytes for the 12 it uses: it stops while the
	// row still holds them.
	for (; x + 6 <= width; x += 4) {
		__m128i pixels = _mm_loadu_si128(
			reinterpret_cast<const __m128i *>(rgb + 3 * (size_t)x));
		_mm_storeu_si128(reinterpret_cast<__m128i *>(out + 4 * (size_t)x),
			_mm_or_si128(_mm_shuffle_epi8(pixels, order), opaque));
	}
	RgbToRgb32Pixels(rgb + 3 * (size_t)x, width - x, out + 4 * (size_t)x);
}

bool HasByteShuffle()
{
	static const bool has = __builtin_cpu_supports("ssse3");
	return has;
}
#endif

} // namespace

void RgbToRgb32(const uint8 *rgb, uint32 width, uint8 *out)
{
#if defined(__x86_64__) || defined(__i386__)
	if (HasByteShuffle()) {
		RgbToRgb32Shuffled(rgb, width, out);
		return;
	}
#endif
	RgbToRgb32Pixels(rgb, width, out);
}

void RgbaToRgb32OnWhite(const uint8 *rgba, uint32 width, uint8 *out)
{
	for (uint32 x = 0; x < width; x++, rgba += 4, out += 4) {
		uint8 alpha = rgba[3];
		if (alpha == 255) {
			out[0] = rgba[2];
			out[1] = rgba[1];
			out[2] = rgba[0];
		} else {
			out[0] = OverWhite(rgba[2], alpha);
			out[1] = OverWhite(rgba[1], alpha);
			out[2] = OverWhite(rgba[0], alpha);
		}
		out[3] = 255;
	}
}

void Rgba16ToRgb32OnWhite(const uint8 *rgba, uint32 width, uint8 *out)
{
	for (uint32 x = 0; x < width; x++, rgba += 8, out += 4) {
		const uint32 alpha = (uint32)rgba[6] << 8 | rgba[7];
		for (int c = 0; c < 3; c++) {
			out[2 - c] = OverWhite16((uint32)rgba[2 * c] << 8
				| rgba[2 * c + 1], alpha);
		}
		out[3] = 255;
	}
}

void PackBlackIndexes(const uint8 *indexes, uint32 width,
	const bool black[256], uint8 *out)
{
	for (uint32 x = 0; x < width; x += 8) {
		uint8 byte = 0;
		for (uint32 bit = 0; bit < 8 && x + bit < width; bit++) {
			if (black[indexes[x + bit]]) {
				byte |= (uint8)(0x80 >> bit);
			}
		}
		out[x / 8] = byte;
	}
}

void IndexesToRgb32(const uint8 *indexes, uint32 width,
	const uint8 table[256][4], uint8 *out)
{
	for (uint32 x = 0; x < width; x++, out += 4) {
		memcpy(out, table[indexes[x]], 4);
	}
}

void UnpackIndexes(const uint8 *packed, uint32 width, int bits, uint8 *out)
{
	if (bits == 8) {
		memcpy(out, packed, width);
		return;
	}
	const int perByte = 8 / bits;
	const uint8 mask = (uint8)((1 << bits) - 1);
	for (uint32 x = 0; x < width; x++) {
		int shift = 8 - bits * (int)(x % perByte + 1);
		out[x] = (uint8)((packed[x / perByte] >> shift) & mask);
	}
}

void WidenRow(const uint8 *in, PixelKind from, uint32 width, PixelKind to,
	uint8 *out)
{
	if (from == to) {
		memcpy(out, in, RowBytesOf(width, to));
		return;
	}
	for (uint32 x = 0; x < width; x++) {
		uint8 grey = from == PixelKind::Mono
			? (MonoPixel(in, x) ? 0 : 255) : in[x];
		if (to == PixelKind::Grey) {
			out[x] = grey;
		} else {
			out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = grey;
		}
	}
}
