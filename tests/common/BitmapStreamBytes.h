// Bitmap streams built byte by byte, with no code of the add-on: the one
// builder of the format for the tests, the hardening sweeps and the
// fuzzers' seeds. The 32-byte header is big-endian: magic, the bounds as
// four floats, rowBytes, colors, dataSize; the rows follow as given.
#ifndef QUORVEL_TEST_BITMAP_STREAM_BYTES_H
#define QUORVEL_TEST_BITMAP_STREAM_BYTES_H

#include <string.h>

#include <algorithm>

#include <GraphicsDefs.h>
#include <TranslatorFormats.h>

#include "TestBytes.h"

const size_t kBitmapHeaderBytes = 32;

struct BitmapStreamBytes {
	uint32 magic = B_TRANSLATOR_BITMAP;
	float left = 0;
	float top = 0;
	float right = 0;
	float bottom = 0;
	uint32 rowBytes = 4;
	uint32 colors = B_RGB32;
	uint32 dataSize = 4;
	Bytes rows;

	// A header as given, with rows to be filled in.
	static BitmapStreamBytes Header(float left, float top, float right,
		float bottom, uint32 rowBytes, uint32 colors, uint32 dataSize)
	{
		BitmapStreamBytes bitmap;
		bitmap.left = left;
		bitmap.top = top;
		bitmap.right = right;
		bitmap.bottom = bottom;
		bitmap.rowBytes = rowBytes;
		bitmap.colors = colors;
		bitmap.dataSize = dataSize;
		return bitmap;
	}

	// The bytes of a row of width pixels, without padding.
	static uint32 LeastRowBytes(uint32 colors, int width)
	{
		return colors == B_GRAY1 ? (width + 7) / 8
			: colors == B_CMAP8 || colors == B_GRAY8 ? width : 4 * width;
	}

	// A width x height bitmap with rows of rowBytes bytes (0: the least),
	// every byte set to fill.
	static BitmapStreamBytes Make(uint32 colors, int width, int height,
		uint8 fill = 0, uint32 rowBytes = 0)
	{
		if (rowBytes == 0) {
			rowBytes = LeastRowBytes(colors, width);
		}
		BitmapStreamBytes bitmap = Header(0, 0, (float)(width - 1),
			(float)(height - 1), rowBytes, colors, rowBytes * height);
		bitmap.rows.assign((size_t)rowBytes * height, fill);
		return bitmap;
	}

	// The same with rows of PatternBytes (seed 11), each extra bytes
	// longer than the least.
	static BitmapStreamBytes Patterned(uint32 colors, int width, int height,
		uint32 extra = 0)
	{
		BitmapStreamBytes bitmap = Make(colors, width, height, 0,
			LeastRowBytes(colors, width) + extra);
		bitmap.rows = PatternBytes(bitmap.rows.size(), 11);
		return bitmap;
	}

	uint8 *Pixel(int x, int y)
	{
		const size_t size = colors == B_RGB32 ? 4 : 1;
		return rows.data() + (size_t)y * rowBytes + x * size;
	}

	void SetRgb(int x, int y, uint8 red, uint8 green, uint8 blue)
	{
		uint8 *p = Pixel(x, y);
		p[0] = blue;
		p[1] = green;
		p[2] = red;
		p[3] = 255;
	}

	Bytes Serialize() const
	{
		Bytes bytes(kBitmapHeaderBytes + rows.size());
		const float bounds[4] = {left, top, right, bottom};
		PutBE32(bytes, 0, magic);
		for (int i = 0; i < 4; i++) {
			uint32 bits;
			memcpy(&bits, &bounds[i], sizeof(bits));
			PutBE32(bytes, 4 + 4 * i, bits);
		}
		PutBE32(bytes, 20, rowBytes);
		PutBE32(bytes, 24, colors);
		PutBE32(bytes, 28, dataSize);
		std::copy(rows.begin(), rows.end(), bytes.begin() + kBitmapHeaderBytes);
		return bytes;
	}
};

#endif // QUORVEL_TEST_BITMAP_STREAM_BYTES_H
