// Writing at a chosen depth through the roster: sixteen greys, black and
// white from any source, four greys from black and white, and the
// automatic depth.
#include <algorithm>
#include <functional>

#include <Screen.h>

#include <gtest/gtest.h>

#include "RunLength.h"
#include "WriteHelpers.h"

namespace {

Bytes UnpackedPixels(const Bytes &packed, size_t size)
{
	Bytes pixels(size, 0x5A);
	const uint8 *cursor = packed.data();
	uint8 *out = pixels.data();
	UnpackRuns(cursor, packed.data() + packed.size(), (int32)size, out);
	EXPECT_EQ(cursor, packed.data() + packed.size());
	EXPECT_EQ(out, pixels.data() + size);
	return pixels;
}

// A width x height RGB32 bitmap whose pixel (x, y) is the grey grey(x, y).
BitmapStreamBytes GreyBitmap(int width, int height,
	const std::function<uint8(int, int)> &grey)
{
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(B_RGB32, width, height);
	for (int y = 0; y < height; y++) {
		for (int x = 0; x < width; x++) {
			const uint8 g = grey(x, y);
			bitmap.SetRgb(x, y, g, g, g);
		}
	}
	return bitmap;
}

// The same picture as screen palette indexes.
BitmapStreamBytes IndexedGreyBitmap(int width, int height,
	const std::function<uint8(int, int)> &grey)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(B_CMAP8, width, height);
	for (int y = 0; y < height; y++) {
		for (int x = 0; x < width; x++) {
			const uint8 g = grey(x, y);
			*bitmap.Pixel(x, y) = screen.IndexForColor(g, g, g);
		}
	}
	return bitmap;
}

int Band(int x, int)
{
	return std::min(x / 10, 15);
}

uint8 SixteenBands(int x, int y)
{
	return PILOT_SIXTEEN_GREYS[Band(x, y)];
}

uint8 Checks(int x, int y)
{
	return ((x / 3 + y / 5) % 2) != 0 ? 0 : 255;
}

// The level of pixel x in row y of pixel data at the depth.
int LevelAt(const Bytes &pixels, int depth, int width, int x, int y)
{
	const int perByte = 8 / depth;
	const uint8 byte = pixels.at((size_t)y * (width / perByte) + x / perByte);
	return (byte >> (8 - depth * (1 + x % perByte))) & ((1 << depth) - 1);
}

PilotWriteOptions Depth(int32 depth, bool dithering = false,
	bool highContrast = false)
{
	PilotWriteOptions options;
	options.depth = depth;
	options.dithering = dithering;
	options.highContrast = highContrast;
	return options;
}

} // namespace

TEST(WriteDepth, LevelsAtEachDepth)
{
	const struct Case {
		const char *what;
		BitmapStreamBytes bitmap;
		PilotWriteOptions options;
		uint8 pixelType;
		int width;
		// The level of each pixel of the picture; outside it, 0.
		std::function<int(int, int)> level;
	} cases[] = {
		{"sixteen greys, RGB", GreyBitmap(160, 3, SixteenBands), Depth(4),
			0x02, 160, Band},
		{"sixteen greys, indexed", IndexedGreyBitmap(161, 2, SixteenBands),
			Depth(4), 0x02, 168, Band},
		// Darkness 60: nearest step 4 (68), band 3 (48 .. 63).
		{"sixteen greys, normal", GreyBitmap(8, 8, [](int, int) {
			return (uint8)195; }), Depth(4), 0x02, 160,
			[](int, int) { return 4; }},
		{"sixteen greys, high contrast", GreyBitmap(8, 8, [](int, int) {
			return (uint8)195; }), Depth(4, false, true), 0x02, 160,
			[](int, int) { return 3; }},
		{"sixteen greys from 1-bit", BitmapStreamBytes::Make(B_GRAY1, 12, 2,
			0xA5), Depth(4, true), 0x02, 160,
			[](int x, int) { return ((0xA5 << (x % 8)) & 0x80) ? 15 : 0; }},
		{"four greys from 1-bit", BitmapStreamBytes::Make(B_GRAY1, 12, 2,
			0xA5), Depth(2, true), 0x00, 160,
			[](int x, int) { return ((0xA5 << (x % 8)) & 0x80) ? 3 : 0; }},
		// Darkness 128 and 127 lie either side of the middle, 127.5.
		{"black and white, RGB", GreyBitmap(161, 2, [](int x, int) {
			return (uint8)(x < 80 ? 127 : 128); }), Depth(1), 0xFF, 176,
			[](int x, int) { return x < 80 ? 1 : 0; }},
		// Light grey (darkness 40) spreads less than half a band's error.
		{"black and white, high contrast", GreyBitmap(40, 40, [](int, int) {
			return (uint8)215; }), Depth(1, true, true), 0xFF, 160,
			[](int, int) { return 0; }},
		{"auto, black and white RGB", GreyBitmap(161, 170, Checks),
			Depth(PILOT_DEPTH_AUTO, true), 0xFF, 176,
			[](int x, int y) { return Checks(x, y) == 0 ? 1 : 0; }},
		{"auto, black and white indexed", IndexedGreyBitmap(20, 9, Checks),
			Depth(PILOT_DEPTH_AUTO, true), 0xFF, 160,
			[](int x, int y) { return Checks(x, y) == 0 ? 1 : 0; }},
		{"auto, four greys", GreyBitmap(20, 9, [](int x, int) {
			return PILOT_FOUR_GREYS[x < 10 ? 0 : 1]; }),
			Depth(PILOT_DEPTH_AUTO), 0x00, 160,
			[](int x, int) { return x < 10 ? 0 : 1; }},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(c.what);
		for (bool compression : {false, true}) {
			PilotWriteOptions options = c.options;
			options.compression = compression;
			const Bytes file = WrittenPilot(c.bitmap.Serialize(), options);
			ASSERT_GT(file.size(), kPilotHeadersSize);
			EXPECT_EQ(file[86 + 32], compression ? 1 : 0);
			EXPECT_EQ(file[86 + 33], c.pixelType);
			ASSERT_EQ(PilotWidth(file), c.width);
			const int depth = c.pixelType == 0xFF ? 1
				: (c.pixelType == 0x02 ? 4 : 2);
			Bytes pixels = PixelData(file);
			if (compression) {
				pixels = UnpackedPixels(pixels, (size_t)c.width * depth / 8
					* PilotHeight(file));
			}
			const int pictureWidth = (int)c.bitmap.right + 1;
			const int pictureHeight = (int)c.bitmap.bottom + 1;
			for (int y = 0; y < PilotHeight(file); y++) {
				for (int x = 0; x < c.width; x++) {
					const bool inside = x < pictureWidth && y < pictureHeight;
					ASSERT_EQ(LevelAt(pixels, depth, c.width, x, y),
						inside ? c.level(x, y) : 0) << "x " << x << ", y " << y;
				}
			}
		}
	}
}

TEST(WriteDepth, AutoAndAbsentWriteTheSameBytesWhereTheyAgree)
{
	// Greys throughout, and black and white up to one grey pixel low down.
	const Bytes greys = GreyBitmap(203, 171, [](int x, int y) {
		return (uint8)(x * 3 + y); }).Serialize();
	const Bytes late = GreyBitmap(203, 171, [](int x, int y) {
		return x == 5 && y == 150 ? (uint8)128 : Checks(x, y); }).Serialize();
	const Bytes mono = BitmapStreamBytes::Make(B_GRAY1, 170, 20, 0x3C)
		.Serialize();
	for (int mask = 0; mask < 8; mask++) {
		PilotWriteOptions absent;
		absent.compression = (mask & 1) != 0;
		absent.dithering = (mask & 2) != 0;
		absent.highContrast = (mask & 4) != 0;
		PilotWriteOptions automatic = absent;
		automatic.depth = PILOT_DEPTH_AUTO;
		PilotWriteOptions two = absent;
		two.depth = 2;
		for (const Bytes &picture : {greys, late}) {
			EXPECT_BYTES(WrittenPilot(picture, automatic),
				WrittenPilot(picture, absent)) << "options " << mask;
			EXPECT_BYTES(WrittenPilot(picture, two),
				WrittenPilot(picture, absent));
		}
		EXPECT_BYTES(WrittenPilot(mono, automatic), WrittenPilot(mono, absent));
	}
}

TEST(WriteDepth, DitheredMidGreyHalvesAtOneBit)
{
	const Bytes pixels = PixelData(WrittenPilot(GreyBitmap(160, 160,
		[](int, int) { return (uint8)128; }).Serialize(), Depth(1, true)));
	ASSERT_EQ(pixels.size(), 3200u);
	int black = 0;
	for (uint8 byte : pixels) {
		black += __builtin_popcount(byte);
	}
	EXPECT_NEAR(black, 160 * 160 / 2, 160 * 160 / 50);
}

TEST(WriteDepth, AnUnknownDepthFailsBeforeAnything)
{
	for (int32 depth : {3, 8}) {
		BMallocIO destination;
		PilotWriteOptions options = Depth(depth);
		EXPECT_EQ(WritePilot(GreyBitmap(4, 4, Checks).Serialize(), options,
			destination), B_BAD_VALUE) << depth;
		EXPECT_EQ(destination.BufferLength(), 0u);
	}
}
