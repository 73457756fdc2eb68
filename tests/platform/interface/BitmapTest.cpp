// BBitmap: row lengths, sizes it refuses, clearing, copying and ImportBits.
#include <Bitmap.h>

#include <math.h>
#include <string.h>

#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<uint8> BitsOf(const BBitmap &bitmap)
{
	const uint8 *bits = static_cast<const uint8 *>(bitmap.Bits());
	return std::vector<uint8>(bits, bits + bitmap.BitsLength());
}

TEST(BitmapTest, RowsArePaddedTo32BitsUnlessTheCallerSetsTheirLength)
{
	struct Case {
		color_space space;
		float right;
		int32 bytesPerRow;
		int32 want;
	} cases[] = {
		{B_GRAY1, 9, B_ANY_BYTES_PER_ROW, 4},
		{B_GRAY1, 9, 2, 2},
		{B_CMAP8, 4, B_ANY_BYTES_PER_ROW, 8},
		{B_RGB24, 2, B_ANY_BYTES_PER_ROW, 12},
		{B_RGB32, 2, B_ANY_BYTES_PER_ROW, 12},
		{B_RGB32, 2, 13, 13},
	};
	for (const Case &c : cases) {
		BBitmap bitmap(BRect(0, 0, c.right, 6), 0, c.space, c.bytesPerRow);
		SCOPED_TRACE(testing::Message() << "colour space " << c.space
			<< ", bytes per row " << c.bytesPerRow);
		ASSERT_EQ(bitmap.InitCheck(), B_OK);
		EXPECT_EQ(bitmap.BytesPerRow(), c.want);
		EXPECT_EQ(bitmap.BitsLength(), c.want * 7);
		EXPECT_EQ(bitmap.ColorSpace(), c.space);
		EXPECT_EQ(bitmap.Bounds(), BRect(0, 0, c.right, 6));
		EXPECT_EQ(BitsOf(bitmap), std::vector<uint8>(c.want * 7, 0));
	}
}

TEST(BitmapTest, SizesAndColourSpacesItCannotHoldLeaveItInvalid)
{
	const BBitmap refused[] = {
		BBitmap(BRect(0, 0, -1, 5), B_RGB32),
		BBitmap(BRect(0, 0, 5, NAN), B_RGB32),
		BBitmap(BRect(0, 0, INFINITY, 5), B_RGB32),
		BBitmap(BRect(0, 0, 5, 5), (color_space)0x1234),
		BBitmap(BRect(0, 0, 9, 5), 0, B_GRAY1, 1),
		// More bits than BitsLength can count.
		BBitmap(BRect(0, 0, 39999, 39999), B_RGB32),
	};
	for (const BBitmap &bitmap : refused) {
		EXPECT_EQ(bitmap.InitCheck(), B_BAD_VALUE);
		EXPECT_FALSE(bitmap.IsValid());
		EXPECT_EQ(bitmap.Bits(), nullptr);
		EXPECT_EQ(bitmap.BitsLength(), 0);
	}
}

TEST(BitmapTest, ClearToWhiteUsesEachColourSpacesWhite)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	const struct {
		color_space space;
		uint8 white;
	} cases[] = {
		{B_GRAY1, 0x00},
		{B_GRAY8, 0xFF},
		{B_CMAP8, screen.IndexForColor(255, 255, 255)},
		{B_RGB32, 0xFF},
	};
	for (const auto &c : cases) {
		// Large enough to be mapped on its own rather than taken from
		// the heap.
		BBitmap bitmap(BRect(0, 0, 2047, 2047), B_BITMAP_CLEAR_TO_WHITE,
			c.space);
		ASSERT_EQ(bitmap.InitCheck(), B_OK);
		std::vector<uint8> bits = BitsOf(bitmap);
		EXPECT_EQ(bits.front(), c.white);
		EXPECT_EQ(bits.back(), c.white);
	}
}

TEST(BitmapTest, CopiesAndImportsKeepEveryRow)
{
	BBitmap bitmap(BRect(0, 0, 2, 1), B_GRAY8);
	ASSERT_EQ(bitmap.BytesPerRow(), 4);
	// Source rows of 5 bytes: the two bytes past the width are padding.
	const uint8 rows[] = {1, 2, 3, 9, 9, 4, 5, 6, 9, 9};
	EXPECT_EQ(bitmap.ImportBits(rows, sizeof(rows), 5, 0, B_GRAY8), B_OK);
	EXPECT_EQ(BitsOf(bitmap),
		(std::vector<uint8>{1, 2, 3, 9, 4, 5, 6, 9}));
	EXPECT_EQ(bitmap.ImportBits(rows, sizeof(rows), 5, 0, B_CMAP8),
		B_BAD_VALUE);

	BBitmap copy(bitmap);
	EXPECT_EQ(BitsOf(copy), BitsOf(bitmap));
	BBitmap other(BRect(10, 10, 12, 11), B_GRAY8);
	EXPECT_EQ(other.ImportBits(&bitmap), B_OK);
	EXPECT_EQ(BitsOf(other), BitsOf(bitmap));
	BBitmap wider(BRect(0, 0, 3, 1), B_GRAY8);
	EXPECT_EQ(wider.ImportBits(&bitmap), B_BAD_VALUE);

	wider = bitmap;
	EXPECT_EQ(wider.Bounds(), bitmap.Bounds());
	EXPECT_EQ(BitsOf(wider), BitsOf(bitmap));
}

TEST(BitmapTest, ImportingRgbIntoGreyKeepsGreysAndWeighsColours)
{
	// Blue, green, red, alpha: two greys, then pure red, green and blue.
	BBitmap rgb(BRect(0, 0, 4, 0), B_RGBA32);
	const uint8 pixels[] = {0, 0, 0, 9, 201, 201, 201, 0, 0, 0, 255, 255,
		0, 255, 0, 255, 255, 0, 0, 255};
	ASSERT_EQ(rgb.ImportBits(pixels, sizeof(pixels), 20, 0, B_RGBA32), B_OK);
	BBitmap grey(BRect(0, 0, 4, 0), B_GRAY8);
	ASSERT_EQ(grey.ImportBits(&rgb), B_OK);
	EXPECT_EQ(BitsOf(grey), (std::vector<uint8>{0, 201, 76, 149, 28, 0, 0,
		0}));
	EXPECT_EQ(rgb.ImportBits(&grey), B_BAD_VALUE) << "grey to colour";
}

} // namespace
