// BBitmapStream: the header and rows a translator writes become a bitmap;
// a bitmap reads back as a stream; headers that no bitmap can hold are
// refused before any memory is asked for; and the add-on, loaded by the
// roster, writes into one and reads from one.
#include <BitmapStream.h>

#include <math.h>
#include <string.h>

#include <vector>

#include <gtest/gtest.h>

#include <Bitmap.h>

#include "ImageFiles.h"
#include "LoadedTranslator.h"

namespace {

// The header of a 17 x 3 B_GRAY1 picture in rows of 3 bytes, the width
// the add-on writes for 1-bit pictures rather than the 4 a bitmap would
// choose; or of another picture.
Bytes HeaderBytes(float right = 16, float bottom = 2, uint32 rowBytes = 3,
	uint32 dataSize = 9, uint32 colors = B_GRAY1)
{
	return MakeBitmapStream((color_space)colors, right, bottom, rowBytes,
		dataSize, Bytes());
}

Bytes ReadAll(BPositionIO &stream)
{
	Bytes bytes(64 * 1024);
	ssize_t count = stream.ReadAt(0, bytes.data(), bytes.size());
	bytes.resize(count > 0 ? (size_t)count : 0);
	return bytes;
}

TEST(BitmapStreamTest, WrittenStreamReadsBackAsWrittenAndDetachesItsBitmap)
{
	Bytes stream = HeaderBytes();
	const Bytes rows = {0xA0, 0x00, 0x80, 0x0F, 0xF0, 0x00, 0xFF, 0xFF, 0x80};
	stream.insert(stream.end(), rows.begin(), rows.end());

	BBitmapStream bitmapStream;
	// In three pieces: part of the header, the rest with the first row,
	// then the other rows through the position.
	ASSERT_EQ(bitmapStream.WriteAt(0, stream.data(), 20), 20);
	ASSERT_EQ(bitmapStream.WriteAt(20, stream.data() + 20, 15), 15);
	ASSERT_EQ(bitmapStream.Seek(35, SEEK_SET), 35);
	ASSERT_EQ(bitmapStream.Write(stream.data() + 35, 6), 6);
	EXPECT_EQ(bitmapStream.Size(), 41);
	EXPECT_EQ(ReadAll(bitmapStream), stream);

	BBitmap *bitmap = NULL;
	ASSERT_EQ(bitmapStream.DetachBitmap(&bitmap), B_OK);
	ASSERT_NE(bitmap, nullptr);
	EXPECT_EQ(bitmap->Bounds(), BRect(0, 0, 16, 2));
	EXPECT_EQ(bitmap->ColorSpace(), B_GRAY1);
	EXPECT_EQ(bitmap->BytesPerRow(), 3);
	EXPECT_EQ(Bytes((uint8 *)bitmap->Bits(), (uint8 *)bitmap->Bits() + 9),
		rows);
	EXPECT_EQ(bitmapStream.DetachBitmap(&bitmap), B_ERROR);
	uint8 byte;
	EXPECT_EQ(bitmapStream.ReadAt(0, &byte, 1), B_ERROR);
	EXPECT_EQ(bitmapStream.WriteAt(40, &byte, 1), B_ERROR);
	delete bitmap;
}

TEST(BitmapStreamTest, HeaderMayArriveInAnyOrderAndBeRewrittenOnlyAsItIs)
{
	Bytes header = HeaderBytes();
	BBitmapStream stream;
	ASSERT_EQ(stream.WriteAt(16, header.data() + 16, 16), 16);
	uint8 pixel = 0xFF;
	EXPECT_EQ(stream.WriteAt(32, &pixel, 1), B_BAD_VALUE)
		<< "pixels before a whole header";
	ASSERT_EQ(stream.WriteAt(0, header.data(), 16), 16);
	EXPECT_EQ(stream.WriteAt(0, header.data(), 32), 32);
	Bytes changed = header;
	changed[19] = 9;  // bottom
	EXPECT_EQ(stream.WriteAt(0, changed.data(), 32), B_NOT_ALLOWED);
	EXPECT_EQ(stream.WriteAt(40, &pixel, 1), 1);
	EXPECT_EQ(stream.WriteAt(41, &pixel, 1), B_BAD_VALUE)
		<< "past the header's dataSize";
}

TEST(BitmapStreamTest, HeadersNoBitmapCanHoldAreRefusedWholly)
{
	Bytes wrongMagic = HeaderBytes();
	wrongMagic[3] = 'z';
	const Bytes refused[] = {
		wrongMagic,
		HeaderBytes(16.5f),
		HeaderBytes(16, NAN),
		HeaderBytes(-2),
		HeaderBytes(16, 2, 3, 12),
		HeaderBytes(16, 2, 2, 6),  // 17 pixels need 3 bytes
		HeaderBytes(16, 2, 3, 9, 0x1234),
		HeaderBytes(16, 2, 0x80000000, 0),
		// 4 GiB of rows, which a 32-bit dataSize matches only when wrapped.
		HeaderBytes(65535, 65535, 65536, 0),
	};
	for (size_t i = 0; i < sizeof(refused) / sizeof(refused[0]); i++) {
		SCOPED_TRACE(i);
		const Bytes &header = refused[i];
		BBitmapStream stream;
		EXPECT_EQ(stream.WriteAt(0, header.data(), 32), B_BAD_VALUE);
		EXPECT_EQ(stream.Size(), 0);
		BBitmap *bitmap = NULL;
		EXPECT_EQ(stream.DetachBitmap(&bitmap), B_ERROR);
	}
}

TEST(BitmapStreamTest, StreamCutShortEndsWhereTheWriterStopped)
{
	Bytes header = HeaderBytes();
	BBitmapStream stream;
	ASSERT_EQ(stream.Write(header.data(), 32), 32);
	const uint8 firstRow[] = {1, 2, 3};
	ASSERT_EQ(stream.Write(firstRow, 3), 3);
	EXPECT_EQ(stream.Size(), 35);
	EXPECT_EQ(stream.Seek(0, SEEK_END), 35);
	uint8 byte;
	EXPECT_EQ(stream.ReadAt(35, &byte, 1), 0);

	EXPECT_EQ(stream.SetSize(42), B_BAD_VALUE);
	ASSERT_EQ(stream.SetSize(41), B_OK);
	Bytes whole = ReadAll(stream);
	ASSERT_EQ(whole.size(), 41u);
	EXPECT_EQ(Bytes(whole.begin() + 32, whole.end()),
		Bytes({1, 2, 3, 0, 0, 0, 0, 0, 0}));
}

TEST(BitmapStreamTest, StreamOnABitmapReadsAsItsHeaderAndBits)
{
	BBitmap *bitmap = new BBitmap(BRect(0, 0, 16, 2), 0, B_GRAY1, 3);
	memset(bitmap->Bits(), 0x5A, 9);
	BBitmapStream stream(bitmap);
	Bytes want = HeaderBytes();
	want.insert(want.end(), 9, 0x5A);
	EXPECT_EQ(stream.Size(), 41);
	EXPECT_EQ(ReadAll(stream), want);
}

TEST(BitmapStreamTest, TheAddOnWritesIntoAndReadsFromBitmapStreams)
{
	LoadedTranslator translator;
	ASSERT_EQ(translator.InitCheck(), B_OK);
	BTranslatorRoster &roster = translator.Roster();

	// A 160 x 160 1-bit picture, diagonal stripes.
	BBitmap *picture = new BBitmap(BRect(0, 0, 159, 159), 0, B_GRAY1, 20);
	uint8 *bits = static_cast<uint8 *>(picture->Bits());
	for (int i = 0; i < 160 * 20; i++) {
		bits[i] = (uint8)(0x81 << (i % 7));
	}
	const Bytes original(bits, bits + 160 * 20);
	BBitmapStream source(picture);
	BMallocIO pilot;
	ASSERT_EQ(roster.Translate(&source, NULL, NULL, &pilot, PILOT_IMAGE_TYPE),
		B_OK);

	BBitmapStream back;
	ASSERT_EQ(roster.Translate(&pilot, NULL, NULL, &back,
		B_TRANSLATOR_BITMAP), B_OK);
	BBitmap *result = NULL;
	ASSERT_EQ(back.DetachBitmap(&result), B_OK);
	EXPECT_EQ(result->ColorSpace(), B_GRAY1);
	EXPECT_EQ(result->Bounds(), BRect(0, 0, 159, 159));
	const uint8 *resultBits = static_cast<const uint8 *>(result->Bits());
	EXPECT_EQ(Bytes(resultBits, resultBits + result->BitsLength()), original);
	delete result;
}

} // namespace
