// Pixel data shaped like real Pilot pictures, for the reading and packing
// benchmarks: white space, flat shapes in each grey, and an ordered-dither
// gradient band whose short repeating patterns are the packer's hard case.
#ifndef QUORVEL_BENCH_PILOT_SCENE_H
#define QUORVEL_BENCH_PILOT_SCENE_H

#include <vector>

#include <SupportDefs.h>

typedef std::vector<uint8> Bytes;

// The 2-bit value (0 white .. 3 black) of pixel x, y; levels is 2 for a
// black-and-white picture (values 0 and 3 only), 4 for four greys.
inline int ScenePixel(int x, int y, int width, int height, int levels)
{
	static const int kBayer[4][4] = {
		{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
	const int steps = levels - 1;
	int value = 0;
	if (y > height * 2 / 3) {
		// A gradient from white to black, dithered between the levels.
		const int scaled = x * steps * 16 / width;
		value = scaled / 16 + (scaled % 16 > kBayer[y % 4][x % 4] ? 1 : 0);
	} else {
		const int dx = x - width / 3;
		const int dy = y - height / 3;
		const int radius = width / 5;
		if ((int64)dx * dx + (int64)dy * dy < (int64)radius * radius) {
			value = steps;
		} else if (x > width * 3 / 5 && x < width * 9 / 10
			&& y > height / 8 && y < height / 2) {
			value = steps > 1 ? 1 : 0;
		} else if ((x / 8 + y / 8) % 7 == 0) {
			value = steps > 1 ? 2 : steps;
		}
	}
	if (value > steps) {
		value = steps;
	}
	return steps == 1 ? value * 3 : value;
}

// Stored pixel data of 1, 2 or 4 bits a pixel: eight, four or two pixels
// a byte, the leftmost in the high bits.
inline Bytes PilotSceneOfDepth(int width, int height, int bitsPerPixel)
{
	const int perByte = 8 / bitsPerPixel;
	const int rowBytes = width / perByte;
	Bytes data((size_t)rowBytes * height);
	for (int y = 0; y < height; y++) {
		for (int x = 0; x < rowBytes * perByte; x++) {
			int value = ScenePixel(x, y, width, height, 1 << bitsPerPixel);
			if (bitsPerPixel == 1) {
				value = value != 0 ? 1 : 0;
			}
			uint8 &byte = data[(size_t)y * rowBytes + x / perByte];
			byte |= (uint8)(value << (8 - bitsPerPixel * (x % perByte + 1)));
		}
	}
	return data;
}

// Four greys, or black and white.
inline Bytes PilotScene(int width, int height, bool oneBit)
{
	return PilotSceneOfDepth(width, height, oneBit ? 1 : 2);
}

#endif // QUORVEL_BENCH_PILOT_SCENE_H
