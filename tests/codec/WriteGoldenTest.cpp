// Whole files written from generated bitmaps: the grey pixel data equals
// the direct arithmetic of GreyReference.h, and every file's FNV-1a hash is
// pinned, so optimised and debug builds (and every later speed-up) must
// write the very same bytes.
#include <random>

#include <Screen.h>

#include <gtest/gtest.h>

#include "GreyReference.h"
#include "WriteHelpers.h"

namespace {

uint64 Fnv1a(const Bytes &bytes)
{
	uint64 hash = 0xCBF29CE484222325ULL;
	for (uint8 byte : bytes) {
		hash = (hash ^ byte) * 0x100000001B3ULL;
	}
	return hash;
}

// A picture with smooth ramps, noise and hard edges, from the raw output
// of a fixed generator (its distributions are not portable; its bits are).
BitmapStreamBytes GeneratedBitmap(uint32 colors, int width, int height,
	uint32 rowBytes)
{
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(colors, width, height, 0,
		rowBytes);
	std::mt19937 random(width * 1000 + height);
	for (int y = 0; y < height; y++) {
		uint8 *row = bitmap.Pixel(0, y);
		for (uint32 i = 0; i < bitmap.rowBytes; i++) {
			const uint32 noise = random();
			uint8 value = (uint8)(i * 3 + y * 2);
			if (y % 7 == 3) {
				value = (uint8)noise;
			} else if ((i / 16 + y / 16) % 5 == 0) {
				value = (noise & 1) != 0 ? 255 : 0;
			} else {
				value = (uint8)(value + (noise & 7));
			}
			row[i] = value;
		}
	}
	return bitmap;
}

struct GoldenInput {
	uint32 colors;
	int width;
	int height;
	uint32 rowBytes;
};

const GoldenInput kInputs[] = {
	{B_RGB32, 203, 171, 203 * 4 + 4},
	{B_CMAP8, 173, 161, 176},
	{B_RGB32, 40, 30, 160},
	{B_GRAY1, 170, 165, 24},
};

PilotWriteOptions OptionsOf(int mask)
{
	PilotWriteOptions options;
	options.compression = (mask & 1) != 0;
	options.dithering = (mask & 2) != 0;
	options.highContrast = (mask & 4) != 0;
	options.name = "golden";
	return options;
}

// The pixel data of a grey image done the direct way: each source row in
// a row of 4 x W bytes of 0xFF, the rest white source bytes.
Bytes ReferencePixels(const GoldenInput &input, BitmapStreamBytes &bitmap,
	const PilotWriteOptions &options, int pilotWidth, int pilotHeight)
{
	float table[256];
	BScreen screen(B_MAIN_SCREEN_ID);
	for (int i = 0; i < 256; i++) {
		const rgb_color &c = screen.ColorMap()->color_list[i];
		table[i] = ReferenceMapDarkness(c.red, c.green, c.blue);
	}
	const int bytesPerPixel = input.colors == B_CMAP8 ? 1 : 4;
	ReferenceGreyConverter converter(bytesPerPixel, table, options.dithering,
		options.highContrast, pilotWidth);
	Bytes pixels(pilotWidth / 4 * pilotHeight);
	Bytes row(4 * pilotWidth);
	for (int y = 0; y < pilotHeight; y++) {
		std::fill(row.begin(), row.end(), 0xFF);
		if (y < input.height) {
			memcpy(row.data(), bitmap.Pixel(0, y),
				std::min<size_t>(bitmap.rowBytes, row.size()));
		}
		converter.ConvertRow(row.data(), pixels.data() + y * (pilotWidth / 4));
	}
	return pixels;
}

} // namespace

TEST(WriteGolden, GreyPixelsEqualTheDirectArithmetic)
{
	for (const GoldenInput &input : kInputs) {
		if (input.colors == B_GRAY1) {
			continue;
		}
		BitmapStreamBytes bitmap = GeneratedBitmap(input.colors, input.width,
			input.height, input.rowBytes);
		for (int mask = 0; mask < 8; mask += 2) {
			const PilotWriteOptions options = OptionsOf(mask);
			const Bytes file = WrittenPilot(bitmap.Serialize(), options);
			ASSERT_FALSE(file.empty());
			EXPECT_BYTES(PixelData(file), ReferencePixels(input, bitmap,
				options, PilotWidth(file), PilotHeight(file)))
				<< input.width << " x " << input.height << ", options " << mask;
		}
	}
}

TEST(WriteGolden, FilesAreTheSameInEveryBuild)
{
	// One row per input, one column per option mask (bit 0 compression,
	// bit 1 dithering, bit 2 high contrast).
	const uint64 kGolden[4][8] = {
		{0x6D4FE18C280827B4ULL, 0x647ACB88D5E7092FULL, 0x860C7D5BA200122CULL,
			0x1D72AAB2664FDB36ULL, 0x9479B4517DA3F621ULL, 0xA1B82AADCFBA3E1BULL,
			0x05C85747F689960EULL, 0x37A099B57A8C1EC2ULL},
		{0x6ECBEE7D88E0CE85ULL, 0xA4BCAA09DA60EFBFULL, 0xCC2972343C6C4130ULL,
			0xC6CA2CBC40691A38ULL, 0xAF1B1F9CA220C0BBULL, 0xB85E935F1AC8B0A2ULL,
			0x537377FA0A7C1A41ULL, 0x031AD5FD55755486ULL},
		{0xD8EEAC96C6ACB417ULL, 0x5D093E2A50D29870ULL, 0xE6460D7E551E59C9ULL,
			0x1DE0227ADB4DB2EEULL, 0xD97E7718A26A65C8ULL, 0x58A476F612757665ULL,
			0x669567C5BD340D00ULL, 0xFD3179E79DB238EFULL},
		{0x61740A8D289A98EEULL, 0xB4B8D3D297529724ULL, 0x61740A8D289A98EEULL,
			0xB4B8D3D297529724ULL, 0x61740A8D289A98EEULL, 0xB4B8D3D297529724ULL,
			0x61740A8D289A98EEULL, 0xB4B8D3D297529724ULL},
	};
	for (int i = 0; i < 4; i++) {
		const GoldenInput &input = kInputs[i];
		const Bytes stream = GeneratedBitmap(input.colors, input.width,
			input.height, input.rowBytes).Serialize();
		for (int mask = 0; mask < 8; mask++) {
			const Bytes file = WrittenPilot(stream, OptionsOf(mask));
			EXPECT_EQ(Fnv1a(file), kGolden[i][mask])
				<< "input " << i << ", options " << mask << ": 0x" << std::hex
				<< Fnv1a(file);
		}
	}
}

TEST(WriteGolden, OtherDepthsAreTheSameInEveryBuild)
{
	// One row per input, one column per depth (1, 4): the hash of the
	// eight files the option masks give, one after the other.
	const int32 kDepths[2] = {1, 4};
	const uint64 kGolden[4][2] = {
		{0x84AC0B532975084DULL, 0xE1298D716EC8393AULL},
		{0x4341DF54042271EEULL, 0x06F7EBDA6DE5FA05ULL},
		{0x9166D041A053E6D5ULL, 0x4D59C7BED6989673ULL},
		{0xC79204FB91F607C5ULL, 0x59E4B79B86BD7995ULL},
	};
	for (int i = 0; i < 4; i++) {
		const GoldenInput &input = kInputs[i];
		const Bytes stream = GeneratedBitmap(input.colors, input.width,
			input.height, input.rowBytes).Serialize();
		for (int d = 0; d < 2; d++) {
			Bytes files;
			for (int mask = 0; mask < 8; mask++) {
				PilotWriteOptions options = OptionsOf(mask);
				options.depth = kDepths[d];
				const Bytes file = WrittenPilot(stream, options);
				files.insert(files.end(), file.begin(), file.end());
			}
			EXPECT_EQ(Fnv1a(files), kGolden[i][d]) << "input " << i
				<< ", depth " << kDepths[d] << ": 0x" << std::hex
				<< Fnv1a(files);
		}
	}
}
