// Identify through the roster: the format row it answers with for a Pilot
// image and for a bitmap stream, the output types it answers for, and
// B_NO_TRANSLATOR for whatever the header checks refuse (their reasons are
// HeaderCheckTest's).
#include <string.h>

#include <gtest/gtest.h>

#include "BitmapStreamBytes.h"
#include "LoadedTranslator.h"
#include "PilotImageBytes.h"
#include "TestStreams.h"

namespace {

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

class IdentifyTest : public testing::Test {
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

	LoadedTranslator fAddon;
	translator_info fInfo;
};

const Bytes kBitmap = BitmapStreamBytes().Serialize();

TEST_F(IdentifyTest, ABitmapStreamGetsTheBitmapRow)
{
	ASSERT_EQ(Identify(kBitmap), B_OK);
	EXPECT_EQ(fInfo.type, (uint32)B_TRANSLATOR_BITMAP);
	EXPECT_EQ(fInfo.group, (uint32)B_TRANSLATOR_BITMAP);
	EXPECT_FLOAT_EQ(fInfo.quality, 0.4f);
	EXPECT_FLOAT_EQ(fInfo.capability, 0.6f);
	EXPECT_STREQ(fInfo.name, "Be bitmap");
	EXPECT_STREQ(fInfo.MIME, "image/x-be-bitmap");
	EXPECT_EQ(fInfo.translator, fAddon.ID());
}

TEST_F(IdentifyTest, APilotImageGetsThePilotRowInEitherLayout)
{
	for (const Bytes &file : {PilotImage(16, 3, false, false, Bytes(12)),
			TealPaintImage(8, 1, true, {0xAA})}) {
		ASSERT_EQ(Identify(file), B_OK);
		EXPECT_EQ(fInfo.type, PILOT_IMAGE_TYPE);
		EXPECT_EQ(fInfo.group, (uint32)B_TRANSLATOR_BITMAP);
		EXPECT_STREQ(fInfo.name, "PalmPilot image");
		EXPECT_STREQ(fInfo.MIME, "image/x-pilotimage");
	}
}

TEST_F(IdentifyTest, AnswersForEveryOutputTypeItWrites)
{
	const Bytes pilot = PilotImage(16, 3, false, false, Bytes(12));
	for (uint32 type : {(uint32)B_TRANSLATOR_BITMAP, PILOT_IMAGE_TYPE}) {
		EXPECT_EQ(Identify(kBitmap, type), B_OK);
		EXPECT_EQ(Identify(pilot, type), B_OK);
	}
}

TEST_F(IdentifyTest, OtherOutputTypesAreRefusedWithoutReading)
{
	CountingIO stream;
	Fill(stream, kBitmap);
	stream.reads = 0;
	translator_info info;
	EXPECT_EQ(fAddon.Roster().Identify(&stream, NULL, &info, 0, NULL, 'JPEG'),
		B_NO_TRANSLATOR);
	EXPECT_EQ(stream.reads, 0);
}

TEST_F(IdentifyTest, WhatNeitherCheckTakesIsRefused)
{
	BitmapStreamBytes disagreeing;
	disagreeing.dataSize = 8;
	const Bytes pilot = PilotImage(16, 3, false, false, Bytes(12));
	for (const Bytes &bytes : {disagreeing.Serialize(),
			Bytes(pilot.begin(), pilot.begin() + 60), Bytes()}) {
		EXPECT_EQ(Identify(bytes), B_NO_TRANSLATOR);
	}
}

} // namespace
