// Four-grey rows to palette indexes: every source byte against the 2-bit
// rule, and the white tail of rows whose width is not a multiple of 4.
#include <vector>

#include <gtest/gtest.h>

#include "GreyExpansion.h"

typedef std::vector<uint8> Bytes;

static const uint8 kGreys[4] = {63, 27, 13, 0};

TEST(GreyExpansionTest, EverySourceByteGivesItsFourGreysLeftmostFirst)
{
	const GreyExpansion expansion = MakeGreyExpansion(kGreys);
	Bytes source(256);
	for (int byte = 0; byte < 256; byte++) {
		source[byte] = (uint8)byte;
	}
	Bytes row(1024);
	ExpandGreyRow(expansion, source.data(), 1024, row.data());
	for (int byte = 0; byte < 256; byte++) {
		for (int pixel = 0; pixel < 4; pixel++) {
			const int value = (byte >> (6 - 2 * pixel)) & 3;
			ASSERT_EQ(kGreys[value], row[4 * byte + pixel])
				<< "byte " << byte << " pixel " << pixel;
		}
	}
}

TEST(GreyExpansionTest, PixelsWithoutSourceBitsAreWhite)
{
	const GreyExpansion expansion = MakeGreyExpansion(kGreys);
	// Black source bytes, enough for the widest row below.
	const uint8 source[3] = {0xFF, 0xFF, 0xFF};
	for (uint32 width = 0; width <= 11; width++) {
		Bytes row(width + 1, 0xAA);
		ExpandGreyRow(expansion, source, width, row.data());
		const uint32 black = width / 4 * 4;
		for (uint32 x = 0; x < width; x++) {
			ASSERT_EQ(x < black ? 0 : 63, row[x]) << width << ", " << x;
		}
		EXPECT_EQ(0xAA, row[width]) << "wrote past the row at " << width;
	}
}
