// Rows of pixels in the three kinds the standard formats store, and their
// conversion to the bitmap stream's B_RGB32 (blue, green, red, alpha in
// stream order).
#ifndef QUORVEL_PIXEL_ROWS_H
#define QUORVEL_PIXEL_ROWS_H

#include <SupportDefs.h>

enum class PixelKind {
	// One bit a pixel, 1 black and 0 white, leftmost pixel in bit 7, rows
	// padded to a whole byte: B_GRAY1, PBM and 1-bit grey PNG (inverted).
	Mono,
	// One byte a pixel, 0 black to 255 white.
	Grey,
	// Three bytes a pixel: red, green, blue.
	Rgb
};

size_t RowBytesOf(uint32 width, PixelKind kind);

// "1-bit black and white", "8-bit grey", "24-bit colour".
const char *DescribeKind(PixelKind kind);

// Porter-Duff "over" a white background, rounded to nearest; the value
// itself when alpha is 255.
inline uint8 OverWhite(uint8 value, uint8 alpha)
{
	return (uint8)((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

// A 16-bit sample over white with a 16-bit alpha, rounded once to 8 bits:
// narrowing either first would put a sample off by one.
inline uint8 OverWhite16(uint32 value, uint32 alpha)
{
	const uint64 full = 65535ULL * 65535ULL;
	const uint64 over = (uint64)value * alpha + 65535ULL * (65535 - alpha);
	return (uint8)((over * 255 + full / 2) / full);
}

// Whether bit x of a 1-bit row is set (black).
inline bool MonoPixel(const uint8 *row, uint32 x)
{
	return (row[x / 8] & (0x80 >> (x % 8))) != 0;
}

void GreyToRgb32(const uint8 *grey, uint32 width, uint8 *out);
void RgbToRgb32(const uint8 *rgb, uint32 width, uint8 *out);
// Red, green, blue, alpha, composited on white; opaque pixels, the usual
// case, are taken as they are.
void RgbaToRgb32OnWhite(const uint8 *rgba, uint32 width, uint8 *out);
// The same from 16-bit samples, each stored high byte first.
void Rgba16ToRgb32OnWhite(const uint8 *rgba, uint32 width, uint8 *out);

// Palette indexes, one a byte, as 1-bit pixels: set for the indexes that
// are black.
void PackBlackIndexes(const uint8 *indexes, uint32 width,
	const bool black[256], uint8 *out);

// Palette indexes, one a byte, as B_RGB32 pixels from a table of the
// B_RGB32 pixel of every index.
void IndexesToRgb32(const uint8 *indexes, uint32 width,
	const uint8 table[256][4], uint8 *out);

// Indexes packed bits (1, 2, 4 or 8) a pixel, leftmost in the high bits,
// one a byte.
void UnpackIndexes(const uint8 *packed, uint32 width, int bits, uint8 *out);

// A row of one kind as a row of a wider kind (Mono to Grey to Rgb): black
// bits become 0, white ones 255, greys three equal samples.
void WidenRow(const uint8 *in, PixelKind from, uint32 width, PixelKind to,
	uint8 *out);

#endif // QUORVEL_PIXEL_ROWS_H
