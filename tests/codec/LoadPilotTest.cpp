// Pilot image to bitmap stream through the roster: byte-exact streams for
// every pixel type and both layouts, missing data, and destinations that
// take only part of the stream. Refusals are HeaderCheckTest's.
#include <string.h>

#include <DataIO.h>
#include <Screen.h>

#include <gtest/gtest.h>

#include "BitmapStreamBytes.h"
#include "LoadedTranslator.h"
#include "PilotImageBytes.h"
#include "RunLength.h"
#include "SameBytes.h"
#include "TestStreams.h"

namespace {

uint8 WhiteIndex()
{
	return BScreen(B_MAIN_SCREEN_ID).IndexForColor(255, 255, 255);
}

Bytes BitmapStream(int width, int height, uint32 rowBytes, uint32 colors,
	const Bytes &rows)
{
	BitmapStreamBytes stream = BitmapStreamBytes::Make(colors, width, height,
		0, rowBytes);
	stream.rows = rows;
	return stream.Serialize();
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

PilotBytes GreyFile(int16 width, int16 height, const Bytes &pixels)
{
	PilotBytes file;
	file.width = width;
	file.height = height;
	file.pixels = pixels;
	return file;
}

PilotBytes OneBitFile(int16 width, int16 height, const Bytes &pixels)
{
	PilotBytes file = GreyFile(width, height, pixels);
	file.pixelType = kOneBitPixelType;
	return file;
}

Bytes Pattern(size_t size)
{
	return PatternBytes(size, 37);
}

// Packed by our own packer, so that repeat runs cross rows as in the
// files we write.
Bytes Packed(const Bytes &plain)
{
	Bytes packed(PackedSizeBound(plain.size()));
	packed.resize(PackRuns(packed.data(), plain.data(),
		(uint32)plain.size()));
	return packed;
}

} // namespace

TEST_F(LoadPilotTest, ScreenSizedImagesGiveTheirExactStreams)
{
	Bytes stream = Convert(GreyFile(160, 160, Bytes(6400)).Build());
	const Bytes header = {
		0x62, 0x69, 0x74, 0x73, 0, 0, 0, 0, 0, 0, 0, 0,
		0x43, 0x1F, 0, 0, 0x43, 0x1F, 0, 0, 0, 0, 0, 0xA0,
		0, 0, 0, 4, 0, 0, 0x64, 0};
	Bytes want = header;
	want.resize(25632, WhiteIndex());
	EXPECT_BYTES(stream, want);

	// 1-bit: B_GRAY1 rows of 20 bytes, the stored bytes as they stand.
	const Bytes pixels = Pattern(3200);
	stream = Convert(OneBitFile(160, 160, pixels).Build());
	want = header;
	PutBE32(want, 20, 20);
	PutBE32(want, 24, B_GRAY1);
	PutBE32(want, 28, 3200);
	want.insert(want.end(), pixels.begin(), pixels.end());
	EXPECT_BYTES(stream, want);
}

TEST_F(LoadPilotTest, GreyValuesBecomeTheScreensNearestGreys)
{
	// The system colour map's entries nearest to 255, 170, 85 and 0 grey.
	EXPECT_BYTES(Convert(GreyFile(4, 1, {0x1B}).Build()),
		BitmapStream(4, 1, 4, B_CMAP8, {63, 21, 11, 0}));

	// Sixteen greys, values 0 (white) to 15 (black): the entries nearest
	// to 255 - 17 x value grey, some from the map's grey ramp, some from
	// its colour cube (97 is 203 grey, 175 is 102, 214 is 51). Values 5
	// and 10 share the four-grey table's light and dark grey.
	PilotBytes file = GreyFile(16, 1, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,
		0xCD, 0xEF});
	file.pixelType = kSixteenGreyPixelType;
	EXPECT_BYTES(Convert(file.Build()), BitmapStream(16, 1, 16, B_CMAP8,
		{63, 30, 28, 97, 23, 21, 19, 17, 15, 175, 11, 8, 214, 4, 2, 0}));
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
		PilotBytes file = GreyFile((int16)width, (int16)height, stored);
		file.pixelType = kSixteenGreyPixelType;
		ASSERT_BYTES(Convert(file.Build()), expected) << width << " plain";
		const Bytes cut(stored.begin(), stored.begin() + stored.size() / 3);
		file.pixels = cut;
		ASSERT_BYTES(Convert(file.Build()), BitmapStream(width, height,
			width, B_CMAP8, GreyRows(cut, width, height, 4)))
			<< width << " cut short";
		file.pixels = Packed(stored);
		for (uint8 packing : {0x01, 0x09}) {
			file.packing = packing;
			ASSERT_BYTES(Convert(file.Build()), expected)
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

	PilotBytes file = GreyFile(width, height, pixels);
	EXPECT_BYTES(Convert(file.Build()), expected) << "plain";
	file.packing = 0x02;
	EXPECT_BYTES(Convert(file.Build()), expected) << "packing 0x02 is plain";
	file.recordOffset = 88;
	EXPECT_BYTES(Convert(file.Build()), expected) << "record at 88";

	// Packed, the stream ending exactly at the image's size; the high bits
	// of the packing byte do not count.
	for (uint8 packing : {0x01, 0x11}) {
		file.packing = packing;
		file.pixels = Packed(pixels);
		EXPECT_BYTES(Convert(file.Build()), expected) << (int)packing;
	}

	// 1-bit rows, plain and packed.
	const Bytes bits = Pattern(3 * 9);
	file = OneBitFile(24, 9, bits);
	EXPECT_BYTES(Convert(file.Build()), BitmapStream(24, 9, 3, B_GRAY1,
		bits));
	file.packing = 1;
	file.pixels = Packed(bits);
	EXPECT_BYTES(Convert(file.Build()), BitmapStream(24, 9, 3, B_GRAY1,
		bits));
}

TEST_F(LoadPilotTest, RowsKeepOnlyTheWholeBytesOfTheirWidth)
{
	// Four-grey, 6 pixels: one source byte a row, two white pixels after.
	const Bytes grey = {0xFF, 0x55, 0xAA};
	EXPECT_BYTES(Convert(GreyFile(6, 3, grey).Build()),
		BitmapStream(6, 3, 6, B_CMAP8, GreyRows(grey, 6, 3)));

	// Four-grey, 162 pixels: 40 source bytes a row.
	const Bytes wide = Pattern(40 * 2);
	const Bytes stream = Convert(GreyFile(162, 2, wide).Build());
	EXPECT_BYTES(stream, BitmapStream(162, 2, 162, B_CMAP8,
		GreyRows(wide, 162, 2)));
	EXPECT_EQ(WhiteIndex(), stream[32 + 161]);

	// One bit, 170 pixels: 21 stored bytes a row, then the last two
	// pixels white in a 22nd byte.
	const Bytes bits = Pattern(21 * 2);
	EXPECT_BYTES(Convert(OneBitFile(170, 2, bits).Build()),
		BitmapStream(170, 2, 22, B_GRAY1, OneBitRows(bits, 170, 2)));

	// Narrower than one source byte: rows of white.
	EXPECT_BYTES(Convert(GreyFile(3, 2, {}).Build()),
		BitmapStream(3, 2, 3, B_CMAP8, Bytes(6, WhiteIndex())));
	EXPECT_BYTES(Convert(OneBitFile(7, 2, {0xFF}).Build()),
		BitmapStream(7, 2, 1, B_GRAY1, {0, 0}));
}

TEST_F(LoadPilotTest, TealPaintRecordsArePlainOneBitImages)
{
	const Bytes pixels = Pattern(4 * 3);
	const Bytes expected = BitmapStream(32, 3, 4, B_GRAY1, pixels);
	EXPECT_BYTES(Convert(TealPaintImage(32, 3, true, pixels)), expected);
	PilotBytes other;
	other.creator = 'TlPt';
	other.dataOffset = 60;
	other.width = 32;
	other.height = 3;
	other.pixels = pixels;
	EXPECT_BYTES(Convert(other.Build()), expected);
}

TEST_F(LoadPilotTest, ATruncatedFileStillConvertsWithWhiteForTheRest)
{
	const Bytes pixels = Pattern(8 / 4 * 5);
	const Bytes cut(pixels.begin(), pixels.begin() + 3);
	EXPECT_BYTES(Convert(GreyFile(8, 5, cut).Build()),
		BitmapStream(8, 5, 8, B_CMAP8, GreyRows(cut, 8, 5)));

	Bytes bits = Pattern(2 * 5);
	const Bytes bitsCut(bits.begin(), bits.begin() + 7);
	memset(&bits[7], 0, 3);
	EXPECT_BYTES(Convert(OneBitFile(16, 5, bitsCut).Build()),
		BitmapStream(16, 5, 2, B_GRAY1, bits));

	// Packed and cut inside a literal run: that run is left out whole.
	PilotBytes packed = GreyFile(8, 5, {0, 0x1B, 8, 1, 2, 3, 4, 5, 6});
	packed.packing = 1;
	EXPECT_BYTES(Convert(packed.Build()),
		BitmapStream(8, 5, 8, B_CMAP8, GreyRows({0x1B}, 8, 5)));
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
	PilotBytes file = OneBitFile(32, 6, wasteful);
	file.packing = 1;
	EXPECT_BYTES(Convert(file.Build()), BitmapStream(32, 6, 4, B_GRAY1,
		pixels));
}

// The reader takes packed data in blocks: runs cut by a block's end, or
// crossing rows, decode as they do from the whole stream, and a stream
// cut anywhere gives what arrived and white after it.
TEST_F(LoadPilotTest, PackedDataAcrossManyBlocksReadsAsAWhole)
{
	const int width = 1000;
	const int height = 1200;
	Bytes pixels = Pattern(width / 4 * height);
	for (size_t at = 0; at < pixels.size(); at += 1000) {
		memset(&pixels[at], 0x55, 300);
	}
	const Bytes packed = Packed(pixels);
	ASSERT_GT(packed.size(), 2u * 65536);
	for (size_t cut : {packed.size(), (size_t)65537, (size_t)131071,
			packed.size() - 1}) {
		PilotBytes file = GreyFile(width, height,
			Bytes(packed.begin(), packed.begin() + cut));
		file.packing = 1;
		Bytes arrived(pixels.size());
		arrived.resize(UnpackPrefix(packed.data(), packed.data() + cut,
			(uint32)pixels.size(), (uint32)pixels.size() * 4,
			arrived.data()));
		EXPECT_BYTES(Convert(file.Build()), BitmapStream(width, height,
			width, B_CMAP8, GreyRows(arrived, width, height))) << cut;
	}
}

TEST_F(LoadPilotTest, AFinalRunMayRunPastTheFourGreyData)
{
	// 8 x 2 four-grey pixels are 4 bytes; the bitmap is 16. A last run of
	// 6 crossing byte 4 still fits into 16 and supplies the last 2 bytes;
	// a run of 20 does not fit and leaves them white.
	PilotBytes file = GreyFile(8, 2, {1, 0x1B, 0x1B, 133, 0xFF});
	file.packing = 1;
	const Bytes full = {0x1B, 0x1B, 0xFF, 0xFF};
	EXPECT_BYTES(Convert(file.Build()),
		BitmapStream(8, 2, 8, B_CMAP8, GreyRows(full, 8, 2)));

	file.pixels = {1, 0x1B, 0x1B, 147, 0xFF};
	const Bytes half = {0x1B, 0x1B};
	EXPECT_BYTES(Convert(file.Build()),
		BitmapStream(8, 2, 8, B_CMAP8, GreyRows(half, 8, 2)));
}

TEST_F(LoadPilotTest, ShortWritesFail)
{
	// The header: nothing more is tried.
	LimitedWriteIO header(20);
	EXPECT_EQ(B_ERROR, Convert(GreyFile(8, 8, Pattern(16)).Build(), &header));
	EXPECT_EQ(1, header.WriteCalls());

	// Row five of a grey image: rows 0 to 4 and what fitted of row 5.
	const int width = 12;
	const Bytes pixels = Pattern(width / 4 * 9);
	const Bytes whole = BitmapStream(width, 9, width, B_CMAP8,
		GreyRows(pixels, width, 9));
	const size_t limit = 32 + 5 * width + 3;
	LimitedWriteIO rows(limit);
	EXPECT_EQ(B_ERROR, Convert(GreyFile(width, 9, pixels).Build(), &rows));
	EXPECT_BYTES(BytesOf(rows), Bytes(whole.begin(), whole.begin() + limit));
	EXPECT_EQ(1 + 6, rows.WriteCalls());

	// The one write of 1-bit data.
	LimitedWriteIO oneBit(40);
	EXPECT_EQ(B_ERROR, Convert(OneBitFile(16, 8, Pattern(16)).Build(),
		&oneBit));
}
