// Pilot image to bitmap stream through the roster: byte-exact streams for
// both pixel types and layouts, missing data, sizes we refuse, and
// destinations that take only part of the stream.
#include <string.h>

#include <DataIO.h>
#include <Screen.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "PilotFileBuilder.h"
#include "PilotTranslate.h"
#include "TestStreams.h"

namespace {

// The screen's palette indexes for 2-bit values 0 (white) to 3 (black).
struct Greys {
	uint8 index[4];

	Greys()
	{
		BScreen screen(B_MAIN_SCREEN_ID);
		index[0] = screen.IndexForColor(255, 255, 255);
		index[1] = screen.IndexForColor(170, 170, 170);
		index[2] = screen.IndexForColor(85, 85, 85);
		index[3] = screen.IndexForColor(0, 0, 0);
	}
};

void AppendBE32(Bytes &bytes, uint32 value)
{
	const size_t at = bytes.size();
	bytes.resize(at + 4);
	WriteBE32(&bytes[at], value);
}

void AppendFloat(Bytes &bytes, float value)
{
	uint32 bits;
	memcpy(&bits, &value, sizeof(bits));
	AppendBE32(bytes, bits);
}

Bytes BitmapStream(int width, int height, uint32 rowBytes, uint32 colors,
	const Bytes &pixels)
{
	Bytes stream;
	AppendBE32(stream, 'bits');
	AppendFloat(stream, 0);
	AppendFloat(stream, 0);
	AppendFloat(stream, (float)(width - 1));
	AppendFloat(stream, (float)(height - 1));
	AppendBE32(stream, rowBytes);
	AppendBE32(stream, colors);
	AppendBE32(stream, rowBytes * height);
	stream.insert(stream.end(), pixels.begin(), pixels.end());
	return stream;
}

// Rows of B_CMAP8 from grey rows of 2 or 4 bits a pixel (width / 4 or
// width / 2 bytes a row, leftmost pixel in the high bits): the screen's
// index nearest to each value's grey (0 white to the last value black, in
// even steps), and white for pixels without bits.
Bytes GreyRows(const Bytes &stored, int width, int height, int bits = 2)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	const int perByte = 8 / bits;
	const int last = (1 << bits) - 1;
	const size_t storedRowBytes = width / perByte;
	Bytes rows;
	for (int y = 0; y < height; y++) {
		for (int x = 0; x < width; x++) {
			const size_t at = y * storedRowBytes + x / perByte;
			const bool present = (size_t)(x / perByte) < storedRowBytes
				&& at < stored.size();
			const int value = present ? (stored[at] >> (8 - bits
				* (x % perByte + 1))) & last : 0;
			const uint8 grey = (uint8)(255 - 255 / last * value);
			rows.push_back(screen.IndexForColor(grey, grey, grey));
		}
	}
	return rows;
}

// Rows of B_GRAY1 from 1-bit rows of width / 8 bytes each: the stored
// bytes, then zero (white) bytes up to the whole bytes of the width.
Bytes OneBitRows(const Bytes &stored, int width, int height)
{
	const size_t storedRowBytes = width / 8;
	Bytes rows;
	for (int y = 0; y < height; y++) {
		const auto row = stored.begin() + y * storedRowBytes;
		rows.insert(rows.end(), row, row + storedRowBytes);
		rows.resize(rows.size() + (width + 7) / 8 - storedRowBytes, 0);
	}
	return rows;
}

class LoadPilotTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_EQ(B_OK, fTranslator.InitCheck());
	}

	status_t Convert(const Bytes &file, BPositionIO *destination)
	{
		BMemoryIO source(file.data(), file.size());
		return fTranslator.Roster().Translate(&source, NULL, NULL,
			destination, B_TRANSLATOR_BITMAP);
	}

	Bytes Convert(const Bytes &file)
	{
		BMallocIO destination;
		EXPECT_EQ(B_OK, Convert(file, &destination));
		return BytesOf(destination);
	}

	LoadedTranslator fTranslator;
};

PilotFile GreyFile(int16 width, int16 height, const Bytes &pixels)
{
	PilotFile file;
	file.width = width;
	file.height = height;
	file.pixels = pixels;
	return file;
}

PilotFile OneBitFile(int16 width, int16 height, const Bytes &pixels)
{
	PilotFile file = GreyFile(width, height, pixels);
	file.pixelType = kOneBitPixels;
	return file;
}

Bytes Pattern(size_t size)
{
	Bytes bytes(size);
	for (size_t i = 0; i < size; i++) {
		bytes[i] = (uint8)(i * 37 + (i / 50) * 11);
	}
	return bytes;
}

} // namespace

TEST_F(LoadPilotTest, AScreenSizedGreyImageGivesItsExactHeader)
{
	const Bytes stream = Convert(GreyFile(160, 160, Bytes(6400)).Build());
	ASSERT_EQ(25632u, stream.size());
	const Bytes header = {
		0x62, 0x69, 0x74, 0x73, 0, 0, 0, 0, 0, 0, 0, 0,
		0x43, 0x1F, 0, 0, 0x43, 0x1F, 0, 0, 0, 0, 0, 0xA0,
		0, 0, 0, 4, 0, 0, 0x64, 0};
	EXPECT_EQ(header, Bytes(stream.begin(), stream.begin() + 32));
	EXPECT_EQ(Bytes(25600, Greys().index[0]),
		Bytes(stream.begin() + 32, stream.end()));
}

TEST_F(LoadPilotTest, AScreenSizedOneBitImageKeepsItsBytes)
{
	const Bytes pixels = Pattern(3200);
	const Bytes stream = Convert(OneBitFile(160, 160, pixels).Build());
	ASSERT_EQ(3232u, stream.size());
	const Bytes tail = {0, 0, 0, 0x14, 0, 0, 0, 1, 0, 0, 0x0C, 0x80};
	EXPECT_EQ(tail, Bytes(stream.begin() + 20, stream.begin() + 32));
	EXPECT_EQ(pixels, Bytes(stream.begin() + 32, stream.end()));
}

TEST_F(LoadPilotTest, GreyValuesBecomeWhiteLightDarkBlack)
{
	// The system colour map's entries nearest to 255, 170, 85 and 0 grey.
	const Bytes stream = Convert(GreyFile(4, 1, {0x1B}).Build());
	EXPECT_EQ(BitmapStream(4, 1, 4, B_CMAP8, {63, 21, 11, 0}), stream);
}

TEST_F(LoadPilotTest, SixteenGreyValuesBecomeTheScreensNearestGreys)
{
	// Values 0 (white) to 15 (black): the system colour map's entries
	// nearest to 255 - 17 x value grey, some from its grey ramp, some from
	// its colour cube (97 is 203 grey, 175 is 102, 214 is 51). Values 5
	// and 10 share the four-grey table's light and dark grey.
	PilotFile file = GreyFile(16, 1, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,
		0xCD, 0xEF});
	file.pixelType = kFourBitPixels;
	EXPECT_EQ(BitmapStream(16, 1, 16, B_CMAP8, {63, 30, 28, 97, 23, 21, 19,
		17, 15, 175, 11, 8, 214, 4, 2, 0}), Convert(file.Build()));
}

TEST_F(LoadPilotTest, SixteenGreyFilesOfEveryWidthReadPixelForPixel)
{
	// Widths 2 to 1000 with odd heights, plain, packed with either
	// writer's packing byte, and cut short inside the pixel data.
	for (int width = 2; width <= 1000; width++) {
		const int height = 1 + 2 * (width % 3);
		const Bytes stored = Pattern((size_t)(width / 2) * height);
		const Bytes expected = BitmapStream(width, height, width, B_CMAP8,
			GreyRows(stored, width, height, 4));
		PilotFile file = GreyFile((int16)width, (int16)height, stored);
		file.pixelType = kFourBitPixels;
		ASSERT_EQ(expected, Convert(file.Build())) << width << " plain";
		const Bytes cut(stored.begin(), stored.begin() + stored.size() / 3);
		file.pixels = cut;
		ASSERT_EQ(BitmapStream(width, height, width, B_CMAP8,
			GreyRows(cut, width, height, 4)), Convert(file.Build()))
			<< width << " cut short";
		file.pixels = Packed(stored);
		for (uint8 packing : {0x01, 0x09}) {
			file.packing = packing;
			ASSERT_EQ(expected, Convert(file.Build()))
				<< width << " packing " << (int)packing;
		}
	}
}

TEST_F(LoadPilotTest, PlainAndPackedFilesGiveTheSameStream)
{
	const int width = 24;
	const int height = 7;
	Bytes pixels = Pattern(width / 4 * height);
	memset(&pixels[10], 0xFF, 20);
	const Bytes expected = BitmapStream(width, height, width, B_CMAP8,
		GreyRows(pixels, width, height));

	PilotFile file = GreyFile(width, height, pixels);
	EXPECT_EQ(expected, Convert(file.Build())) << "plain";
	file.packing = 0x02;
	EXPECT_EQ(expected, Convert(file.Build())) << "packing 0x02 is plain";
	file.recordOffset = 88;
	EXPECT_EQ(expected, Convert(file.Build())) << "record at 88";

	// Packed, the stream ending exactly at the image's size; the high bits
	// of the packing byte do not count.
	for (uint8 packing : {0x01, 0x11}) {
		file.packing = packing;
		file.pixels = Packed(pixels);
		EXPECT_EQ(expected, Convert(file.Build())) << (int)packing;
	}
}

TEST_F(LoadPilotTest, OneBitImagesArePackedOrPlainAlike)
{
	const Bytes pixels = Pattern(3 * 9);
	const Bytes expected = BitmapStream(24, 9, 3, B_GRAY1, pixels);
	PilotFile file = OneBitFile(24, 9, pixels);
	EXPECT_EQ(expected, Convert(file.Build()));
	file.packing = 1;
	file.pixels = Packed(pixels);
	EXPECT_EQ(expected, Convert(file.Build()));
}

TEST_F(LoadPilotTest, RowsKeepOnlyTheWholeBytesOfTheirWidth)
{
	// Four-grey, 6 pixels: one source byte a row, two white pixels after.
	const Bytes grey = {0xFF, 0x55, 0xAA};
	EXPECT_EQ(BitmapStream(6, 3, 6, B_CMAP8, GreyRows(grey, 6, 3)),
		Convert(GreyFile(6, 3, grey).Build()));

	// Four-grey, 162 pixels: 40 source bytes a row.
	const Bytes wide = Pattern(40 * 2);
	const Bytes stream = Convert(GreyFile(162, 2, wide).Build());
	EXPECT_EQ(BitmapStream(162, 2, 162, B_CMAP8, GreyRows(wide, 162, 2)),
		stream);
	EXPECT_EQ(Greys().index[0], stream[32 + 161]);

	// One bit, 170 pixels: 21 stored bytes a row, then the last two
	// pixels white in a 22nd byte.
	const Bytes bits = Pattern(21 * 2);
	EXPECT_EQ(BitmapStream(170, 2, 22, B_GRAY1, OneBitRows(bits, 170, 2)),
		Convert(OneBitFile(170, 2, bits).Build()));

	// Narrower than one source byte: rows of white.
	EXPECT_EQ(BitmapStream(3, 2, 3, B_CMAP8, Bytes(6, Greys().index[0])),
		Convert(GreyFile(3, 2, {}).Build()));
	EXPECT_EQ(BitmapStream(7, 2, 1, B_GRAY1, {0, 0}),
		Convert(OneBitFile(7, 2, {0xFF}).Build()));
}

TEST_F(LoadPilotTest, TealPaintRecordsArePlainOneBitImages)
{
	const Bytes pixels = Pattern(4 * 3);
	const Bytes expected = BitmapStream(32, 3, 4, B_GRAY1, pixels);
	EXPECT_EQ(expected, Convert(TealPaintFile(kTealPaintGameboyType, 32, 3,
		pixels)));
	EXPECT_EQ(expected, Convert(TealPaintFile('Imag', 32, 3, pixels, 60)));
}

TEST_F(LoadPilotTest, ATruncatedFileStillConvertsWithWhiteForTheRest)
{
	const Bytes pixels = Pattern(8 / 4 * 5);
	const Bytes cut(pixels.begin(), pixels.begin() + 3);
	EXPECT_EQ(BitmapStream(8, 5, 8, B_CMAP8, GreyRows(cut, 8, 5)),
		Convert(GreyFile(8, 5, cut).Build()));

	Bytes bits = Pattern(2 * 5);
	const Bytes bitsCut(bits.begin(), bits.begin() + 7);
	memset(&bits[7], 0, 3);
	EXPECT_EQ(BitmapStream(16, 5, 2, B_GRAY1, bits),
		Convert(OneBitFile(16, 5, bitsCut).Build()));

	// Packed and cut inside a literal run: that run is left out whole.
	PilotFile packed = GreyFile(8, 5, {0, 0x1B, 8, 1, 2, 3, 4, 5, 6});
	packed.packing = 1;
	EXPECT_EQ(BitmapStream(8, 5, 8, B_CMAP8, GreyRows({0x1B}, 8, 5)),
		Convert(packed.Build()));
}

TEST_F(LoadPilotTest, PackedDataLongerThanThePictureIsReadWhole)
{
	// Every byte its own repeat run: twice the plain size, as some
	// writers pack 1-bit images.
	const Bytes pixels = Pattern(4 * 6);
	Bytes wasteful;
	for (uint8 byte : pixels) {
		wasteful.push_back(128);
		wasteful.push_back(byte);
	}
	PilotFile file = OneBitFile(32, 6, wasteful);
	file.packing = 1;
	EXPECT_EQ(BitmapStream(32, 6, 4, B_GRAY1, pixels), Convert(file.Build()));
}

TEST_F(LoadPilotTest, AFinalRunMayRunPastTheFourGreyData)
{
	// 8 x 2 four-grey pixels are 4 bytes; the bitmap is 16. A last run of
	// 6 crossing byte 4 still fits into 16 and supplies the last 2 bytes;
	// a run of 20 does not fit and leaves them white.
	PilotFile file = GreyFile(8, 2, {1, 0x1B, 0x1B, 133, 0xFF});
	file.packing = 1;
	const Bytes full = {0x1B, 0x1B, 0xFF, 0xFF};
	EXPECT_EQ(BitmapStream(8, 2, 8, B_CMAP8, GreyRows(full, 8, 2)),
		Convert(file.Build()));

	file.pixels = {1, 0x1B, 0x1B, 147, 0xFF};
	const Bytes half = {0x1B, 0x1B};
	EXPECT_EQ(BitmapStream(8, 2, 8, B_CMAP8, GreyRows(half, 8, 2)),
		Convert(file.Build()));
}

TEST_F(LoadPilotTest, SizesWithNothingToShowOrTooLargeWriteNothing)
{
	const int16 sizes[][2] = {{0, 10}, {10, 0}, {-8, 10}, {8, -1},
		{32767, 32767}, {16384, 16385}};
	for (const auto &size : sizes) {
		for (uint8 pixelType : {kTwoBitPixels, kOneBitPixels}) {
			PilotFile file = GreyFile(size[0], size[1], Pattern(64));
			file.pixelType = pixelType;
			BMallocIO destination;
			EXPECT_EQ(B_NO_TRANSLATOR, Convert(file.Build(), &destination))
				<< size[0] << " x " << size[1];
			EXPECT_EQ(0u, destination.BufferLength());
		}
	}
}

TEST_F(LoadPilotTest, AStreamThatIsNoPilotImageWritesNothing)
{
	const Bytes notPilot(200, 7);
	BMemoryIO source(notPilot.data(), notPilot.size());
	BMallocIO destination;
	PilotTranslate job(&source, NULL, &destination);
	EXPECT_EQ(B_NO_TRANSLATOR, job.LoadPilotImage());
	EXPECT_EQ(0u, destination.BufferLength());
}

TEST_F(LoadPilotTest, AShortHeaderWriteFailsAtOnce)
{
	LimitedWriteIO destination(20);
	EXPECT_EQ(B_ERROR, Convert(GreyFile(8, 8, Pattern(16)).Build(),
		&destination));
	EXPECT_EQ(1, destination.WriteCalls());
}

TEST_F(LoadPilotTest, AShortWriteOfRowFiveKeepsRowsZeroToFour)
{
	const int width = 12;
	const Bytes pixels = Pattern(width / 4 * 9);
	const Bytes whole = BitmapStream(width, 9, width, B_CMAP8,
		GreyRows(pixels, width, 9));
	const size_t limit = 32 + 5 * width + 3;
	LimitedWriteIO destination(limit);
	EXPECT_EQ(B_ERROR, Convert(GreyFile(width, 9, pixels).Build(),
		&destination));
	// The header, rows 0 to 4, and the part of row 5 that fitted.
	EXPECT_EQ(Bytes(whole.begin(), whole.begin() + limit),
		BytesOf(destination));
	EXPECT_EQ(1 + 6, destination.WriteCalls());
}

TEST_F(LoadPilotTest, AShortWriteOfOneBitDataFails)
{
	LimitedWriteIO destination(40);
	EXPECT_EQ(B_ERROR, Convert(OneBitFile(16, 8, Pattern(16)).Build(),
		&destination));
}

TEST_F(LoadPilotTest, EveryBitFlipAndEveryCutIsConvertedOrRefused)
{
	PilotFile grey = GreyFile(16, 4, {});
	grey.packing = 1;
	grey.pixels = Packed(Pattern(16));
	PilotFile oneBit = OneBitFile(24, 3, {});
	oneBit.packing = 1;
	oneBit.pixels = Packed(Pattern(9));
	const Bytes files[] = {grey.Build(), oneBit.Build(),
		TealPaintFile('Imag', 16, 2, Pattern(4), 32)};

	auto check = [this](const Bytes &input, const char *what, size_t at) {
		BMallocIO destination;
		const status_t status = Convert(input, &destination);
		EXPECT_TRUE(status == B_OK || status == B_NO_TRANSLATOR)
			<< what << " " << at << ": " << status;
	};
	for (const Bytes &file : files) {
		for (size_t bit = 0; bit < file.size() * 8; bit++) {
			Bytes flipped = file;
			flipped[bit / 8] ^= (uint8)(1 << (bit % 8));
			check(flipped, "bit", bit);
		}
		for (size_t size = 0; size < file.size(); size++) {
			check(Bytes(file.begin(), file.begin() + size), "cut at", size);
		}
	}
}
