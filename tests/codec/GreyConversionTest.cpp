// The grey conversion against its direct form (GreyReference.h): every
// float the quantisers can see, every colour, and random rows through the
// row converter.
#include <string.h>

#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "GreyConversion.h"
#include "GreyReference.h"

namespace {

const uint32 kFloat255Bits = 0x437F0000;

float FloatOfBits(uint32 bits)
{
	float value;
	memcpy(&value, &bits, sizeof(value));
	return value;
}

uint32 BitsOfFloat(float value)
{
	uint32 bits;
	memcpy(&bits, &value, sizeof(bits));
	return bits;
}

} // namespace

// Both quantisers see values in [0, 255] only: dithered values are clamped
// to it, and darkness never leaves it (tested below). Every float in that
// range, 0x00000000 (+0.0) up to 0x437F0000 (255.0), gives the same level
// and the same residual bits as the division and floor. (-0.0 cannot
// arise: darkness is never -0.0, and adding to it gives +0.0.)
template<typename Fast, typename Reference>
uint64 CountQuantizerMismatches(Fast fast, Reference reference)
{
	uint64 mismatches = 0;
	for (uint32 bits = 0; bits <= kFloat255Bits; bits++) {
		const float value = FloatOfBits(bits);
		float fastResidual;
		float referenceResidual;
		if (fast(value, &fastResidual) != reference(value, &referenceResidual)
			|| BitsOfFloat(fastResidual) != BitsOfFloat(referenceResidual)) {
			mismatches++;
		}
	}
	return mismatches;
}

TEST(GreyQuantizer, NormalEqualsDivisionForEveryFloatUpTo255)
{
	EXPECT_EQ(CountQuantizerMismatches(QuantizeNormal,
		ReferenceQuantizeNormal), 0u);
}

TEST(GreyQuantizer, HighContrastEqualsDivisionForEveryFloatUpTo255)
{
	EXPECT_EQ(CountQuantizerMismatches(QuantizeHighContrast,
		ReferenceQuantizeHighContrast), 0u);
}

TEST(GreyQuantizer, LevelBoundaries)
{
	float residual;
	EXPECT_EQ(QuantizeNormal(nextafterf(42.5f, 0), &residual), 0);
	EXPECT_EQ(QuantizeNormal(42.5f, &residual), 1);
	EXPECT_FLOAT_EQ(residual, -42.5f);
	EXPECT_EQ(QuantizeNormal(127.5f, &residual), 2);
	EXPECT_EQ(QuantizeNormal(212.5f, &residual), 3);
	EXPECT_EQ(QuantizeNormal(255.0f, &residual), 3);
	EXPECT_EQ(residual, 0.0f);
	EXPECT_EQ(QuantizeHighContrast(nextafterf(64.0f, 0), &residual), 0);
	EXPECT_EQ(QuantizeHighContrast(64.0f, &residual), 1);
	EXPECT_EQ(residual, -32.0f);
	EXPECT_EQ(QuantizeHighContrast(192.0f, &residual), 3);
	EXPECT_EQ(QuantizeHighContrast(255.0f, &residual), 3);
	EXPECT_EQ(residual, 31.0f);
}

// The worked examples: grey 200 is darkness 55, grey 60 is 195, grey 128
// is 127.
TEST(GreyQuantizer, DarknessExamples)
{
	const uint8 grey200[4] = {200, 200, 200, 255};
	const uint8 grey60[4] = {60, 60, 60, 255};
	const uint8 grey128[4] = {128, 128, 128, 255};
	float residual;
	EXPECT_EQ(QuantizeNormal(RgbDarkness(grey200), &residual), 1);
	EXPECT_EQ(QuantizeHighContrast(RgbDarkness(grey200), &residual), 0);
	EXPECT_EQ(QuantizeNormal(RgbDarkness(grey60), &residual), 2);
	EXPECT_EQ(QuantizeHighContrast(RgbDarkness(grey60), &residual), 3);
	EXPECT_EQ(QuantizeNormal(RgbDarkness(grey128), &residual), 1);
	EXPECT_EQ(QuantizeHighContrast(RgbDarkness(grey128), &residual), 1);
}

// The per-channel tables give the formula's bits for all 2^24 colours, and
// neither darkness form leaves [0, 255] (so the quantisers never see a
// value their thresholds were not proven for, dithering or not).
TEST(GreyDarkness, TablesEqualFormulaForEveryColour)
{
	uint64 mismatches = 0;
	uint64 outOfRange = 0;
	uint8 pixel[4] = {0, 0, 0, 0};
	for (int blue = 0; blue < 256; blue++) {
		pixel[0] = (uint8)blue;
		for (int green = 0; green < 256; green++) {
			pixel[1] = (uint8)green;
			for (int red = 0; red < 256; red++) {
				pixel[2] = (uint8)red;
				const float fast = RgbDarkness(pixel);
				const float reference
					= ReferenceRgbDarkness(blue, green, red);
				if (BitsOfFloat(fast) != BitsOfFloat(reference)) {
					mismatches++;
				}
				const float map = ReferenceMapDarkness(red, green, blue);
				if (!(reference >= 0.0f && reference <= 255.0f)
					|| !(map >= 0.0f && map <= 255.0f)) {
					outOfRange++;
				}
			}
		}
	}
	EXPECT_EQ(mismatches, 0u);
	EXPECT_EQ(outOfRange, 0u);
}

TEST(GreyDarkness, TableFromColourMap)
{
	color_map map;
	memset(&map, 0, sizeof(map));
	for (int i = 0; i < 256; i++) {
		map.color_list[i] = {(uint8)i, (uint8)(255 - i), (uint8)(i * 7), 255};
	}
	float table[256];
	BuildDarknessTable(&map, table);
	for (int i = 0; i < 256; i++) {
		const rgb_color &c = map.color_list[i];
		EXPECT_EQ(BitsOfFloat(table[i]),
			BitsOfFloat(ReferenceMapDarkness(c.red, c.green, c.blue)))
			<< "index " << i;
	}
	// Without a screen: a grey ramp, white at 255.
	BuildDarknessTable(NULL, table);
	EXPECT_EQ(table[0], 255.0f);
	EXPECT_NEAR(table[255], 0.0f, 1e-5);
}

namespace {

struct ConverterCase {
	bool indexed;
	bool dithering;
	bool highContrast;
};

std::string CaseName(const ConverterCase &c)
{
	return std::string(c.indexed ? "CMAP8" : "RGB32")
		+ (c.dithering ? " dithered" : " plain")
		+ (c.highContrast ? " high contrast" : " normal");
}

// Rows of several kinds: noise over the whole byte range, smooth ramps
// (long runs of nearly equal darkness, where residuals pile up), and
// pure black and white (which drive the clamps).
void FillRow(std::mt19937 &random, int kind, uint8 *row, size_t size)
{
	std::uniform_int_distribution<int> byte(0, 255);
	for (size_t i = 0; i < size; i++) {
		switch (kind) {
			case 0:
				row[i] = (uint8)byte(random);
				break;
			case 1:
				row[i] = (uint8)((i / 4 + byte(random) % 3) & 0xFF);
				break;
			default:
				row[i] = (byte(random) & 1) != 0 ? 255 : 0;
				break;
		}
	}
}

} // namespace

// Rows go to the converter in groups of 1 to 34 (it works on up to
// sixteen at once, staggered, and on fewer in the rows left over), and
// come out as the direct form makes them one by one. The widths run from
// narrower than the stagger to several of the sixteen rows' chunks.
TEST(GreyRowConverter, EqualsDirectFormOnRandomImages)
{
	std::mt19937 random(20240611);
	float table[256];
	for (int i = 0; i < 256; i++) {
		table[i] = ReferenceMapDarkness((uint8)i, (uint8)(i * 3),
			(uint8)(255 - i));
	}
	const int widths[] = {4, 8, 12, 28, 32, 36, 160, 164, 328, 1028};
	const int groupSizes[] = {1, 16, 7, 34, 2, 17, 4, 32, 5, 3, 15, 33};
	const int kMaxGroup = 34;
	for (int mask = 0; mask < 8; mask++) {
		const ConverterCase c = {(mask & 1) != 0, (mask & 2) != 0,
			(mask & 4) != 0};
		for (int width : widths) {
			const int bytesPerPixel = c.indexed ? 1 : 4;
			GreyRowConverter fast(c.indexed ? B_CMAP8 : B_RGB32,
				c.indexed ? table : NULL, c.dithering, c.highContrast);
			ReferenceGreyConverter reference(bytesPerPixel, table,
				c.dithering, c.highContrast, width);
			std::vector<float> errorRow(width + 2, 0.0f);
			std::vector<uint8> rows(kMaxGroup * width * bytesPerPixel);
			std::vector<uint8> have(kMaxGroup * width / 4);
			std::vector<uint8> want(kMaxGroup * width / 4);
			int group = 0;
			for (int count : groupSizes) {
				const uint8 *rowStarts[kMaxGroup];
				for (int k = 0; k < count; k++) {
					uint8 *row = rows.data() + k * width * bytesPerPixel;
					FillRow(random, (group + k) % 3, row,
						width * bytesPerPixel);
					rowStarts[k] = row;
					reference.ConvertRow(row, want.data() + k * width / 4);
				}
				fast.ConvertRows(rowStarts, count, width, errorRow.data(),
					have.data());
				ASSERT_TRUE(std::equal(want.begin(),
					want.begin() + count * width / 4, have.begin()))
					<< CaseName(c) << ", width " << width << ", group "
					<< group;
				if (c.dithering) {
					ASSERT_EQ(0, memcmp(errorRow.data(),
						reference.ErrorRow().data(),
						errorRow.size() * sizeof(float)))
						<< CaseName(c) << ", width " << width << ", group "
						<< group;
				}
				group++;
			}
		}
	}
}

TEST(GreyRowConverter, LastTwoErrorEntriesStayZero)
{
	const int width = 8;
	std::vector<uint8> row(width * 4, 100);
	std::vector<float> errorRow(width + 2, 0.0f);
	std::vector<uint8> pixels(width / 4);
	GreyRowConverter converter(B_RGB32, NULL, true, false);
	for (int y = 0; y < 3; y++) {
		converter.ConvertRow(row.data(), width, errorRow.data(),
			pixels.data());
		EXPECT_EQ(errorRow[0], 0.0f);
		EXPECT_EQ(errorRow[width], 0.0f);
		EXPECT_EQ(errorRow[width + 1], 0.0f);
		EXPECT_NE(errorRow[1], 0.0f);
	}
}
