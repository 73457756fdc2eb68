// Identify on bitmap streams: which headers the add-on takes as something
// it can turn into a Pilot image.
#include <math.h>
#include <string.h>

#include <ByteOrder.h>
#include <TranslatorFormats.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "TestStreams.h"

namespace {


struct Header {
	uint32 magic = B_TRANSLATOR_BITMAP;
	float left = 0, top = 0, right = 0, bottom = 0;
	uint32 rowBytes = 4;
	uint32 colors = B_RGB32;
	uint32 dataSize = 4;
};

void PutBE32(Bytes &bytes, uint32 value)
{
	for (int shift = 24; shift >= 0; shift -= 8) {
		bytes.push_back((uint8)(value >> shift));
	}
}

void PutFloat(Bytes &bytes, float value)
{
	uint32 bits;
	memcpy(&bits, &value, sizeof(bits));
	PutBE32(bytes, bits);
}

Bytes Serialize(const Header &header)
{
	Bytes bytes;
	PutBE32(bytes, header.magic);
	PutFloat(bytes, header.left);
	PutFloat(bytes, header.top);
	PutFloat(bytes, header.right);
	PutFloat(bytes, header.bottom);
	PutBE32(bytes, header.rowBytes);
	PutBE32(bytes, header.colors);
	PutBE32(bytes, header.dataSize);
	return bytes;
}

// Counts the reads, to show which calls leave the stream alone.
class CountingIO : public BMallocIO {
public:
	ssize_t ReadAt(off_t position, void *buffer, size_t size) override
	{
		reads++;
		return BMallocIO::ReadAt(position, buffer, size);
	}
	int reads = 0;
};

class IdentifyBitmap : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }

	status_t Identify(const Bytes &bytes, uint32 wantType = 0)
	{
		BMallocIO stream;
		Fill(stream, bytes);
		memset(&fInfo, 0, sizeof(fInfo));
		return fAddon.Roster().Identify(&stream, NULL, &fInfo, 0, NULL,
			wantType);
	}
	status_t Identify(const Header &header, uint32 wantType = 0)
	{
		return Identify(Serialize(header), wantType);
	}

	LoadedTranslator fAddon;
	translator_info fInfo;
};

TEST_F(IdentifyBitmap, SmallestValidHeaderAnswersTheBitmapRow)
{
	ASSERT_EQ(Identify(Header()), B_OK);
	EXPECT_EQ(fInfo.type, (uint32)B_TRANSLATOR_BITMAP);
	EXPECT_EQ(fInfo.group, (uint32)B_TRANSLATOR_BITMAP);
	EXPECT_FLOAT_EQ(fInfo.quality, 0.4f);
	EXPECT_FLOAT_EQ(fInfo.capability, 0.6f);
	EXPECT_STREQ(fInfo.name, "Be bitmap");
	EXPECT_STREQ(fInfo.MIME, "image/x-be-bitmap");
	EXPECT_EQ(fInfo.translator, fAddon.ID());
}

TEST_F(IdentifyBitmap, AnswersForEveryOutputTypeItWrites)
{
	EXPECT_EQ(Identify(Header(), B_TRANSLATOR_BITMAP), B_OK);
	EXPECT_EQ(Identify(Header(), PILOT_IMAGE_TYPE), B_OK);
}

TEST_F(IdentifyBitmap, OtherOutputTypesAreRefusedWithoutReading)
{
	CountingIO stream;
	Fill(stream, Serialize(Header()));
	stream.reads = 0;
	translator_info info;
	EXPECT_EQ(fAddon.Roster().Identify(&stream, NULL, &info, 0, NULL, 'JPEG'),
		B_NO_TRANSLATOR);
	EXPECT_EQ(stream.reads, 0);
}

TEST_F(IdentifyBitmap, DataSizeMustEqualRowsTimesRowBytes)
{
	Header header;
	header.dataSize = 8;
	EXPECT_EQ(Identify(header), B_NO_TRANSLATOR);

	// The width is not compared with rowBytes.
	header = Header();
	header.right = 99;
	EXPECT_EQ(Identify(header), B_OK);

	// Rows come from the float bounds: (1.5 + 1) x 4 = 10.
	header = Header();
	header.bottom = 1.5f;
	header.dataSize = 10;
	EXPECT_EQ(Identify(header), B_OK);

	header = Header();
	header.bottom = 99;
	header.rowBytes = 0x80000000u;
	header.dataSize = 0;
	EXPECT_EQ(Identify(header), B_NO_TRANSLATOR) << "no 32-bit wraparound";
}

TEST_F(IdentifyBitmap, OnlyOneBitIndexedAndRgb32ColourSpaces)
{
	const uint32 accepted[] = {B_GRAY1, B_CMAP8, B_RGB32};
	for (uint32 colors : accepted) {
		Header header;
		header.colors = colors;
		EXPECT_EQ(Identify(header), B_OK) << colors;
	}
	const uint32 refused[] = {B_GRAY8, B_RGB24, B_RGBA32, B_RGB32_BIG, 0};
	for (uint32 colors : refused) {
		Header header;
		header.colors = colors;
		EXPECT_EQ(Identify(header), B_NO_TRANSLATOR) << colors;
	}
}

TEST_F(IdentifyBitmap, BoundsMustBeOrderedAndNumbers)
{
	Header header;
	header.right = -1;
	header.bottom = -1;
	EXPECT_EQ(Identify(header), B_NO_TRANSLATOR) << "the empty rectangle";

	header = Header();
	header.left = 10;
	header.right = 9;
	EXPECT_EQ(Identify(header), B_NO_TRANSLATOR);

	header = Header();
	header.bottom = NAN;
	EXPECT_EQ(Identify(header), B_NO_TRANSLATOR);
	header = Header();
	header.left = NAN;
	EXPECT_EQ(Identify(header), B_NO_TRANSLATOR);
}

TEST_F(IdentifyBitmap, MagicMustBeBigEndianBits)
{
	Header header;
	header.magic = 'stib';
	EXPECT_EQ(Identify(header), B_NO_TRANSLATOR) << "written little-endian";
	header.magic = 0;
	EXPECT_EQ(Identify(header), B_NO_TRANSLATOR);
}

TEST_F(IdentifyBitmap, ShortStreamsAreRefused)
{
	Bytes bytes = Serialize(Header());
	for (size_t length = 0; length < bytes.size(); length++) {
		EXPECT_EQ(Identify(Bytes(bytes.begin(), bytes.begin() + length)),
			B_NO_TRANSLATOR) << length << " bytes";
	}
}

} // namespace
