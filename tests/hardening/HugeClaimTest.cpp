// Streams whose few bytes claim an enormous picture. The add-on caps
// pictures at 2^28 pixels: a claim beyond the cap must be refused before
// anything is allocated or written, and one at the cap converted with the
// memory its documented buffers take, not more (PeakMemory.h).
#include <fstream>
#include <iostream>
#include <string>

#include "HardeningSupport.h"
#include "PeakMemory.h"

namespace {

class HugeClaim : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }

	status_t Read(const Bytes &input, CountingIO *destination)
	{
		BMemoryIO source(input.data(), input.size());
		return fAddon.Roster().Translate(fAddon.ID(), &source, NULL,
			destination, B_TRANSLATOR_BITMAP);
	}

	status_t Write(const Bytes &input, bool compression,
		CountingIO *destination)
	{
		BMemoryIO source(input.data(), input.size());
		translator_info info = {};
		info.type = B_TRANSLATOR_BITMAP;
		info.translator = fAddon.ID();
		BMessage options = ExplicitOptions("Huge", compression, true, false);
		return fAddon.Roster().Translate(&source, &info, &options,
			destination, PILOT_IMAGE_TYPE);
	}

	LoadedTranslator fAddon;
};

// Four packed bytes: two repeat runs of 128 white bytes.
const Bytes kFewPackedBytes = {0xFF, 0x00, 0xFF, 0x00};

TEST_F(HugeClaim, PilotImageBeyondTheCapIsRefusedWithoutAllocating)
{
	const Bytes claims[] = {
		PilotImage(32767, 32767, false, true, kFewPackedBytes),
		PilotImage(32767, 32767, true, false, kFewPackedBytes),
		PilotImageOfType(32767, 32767, kSixteenGreyPixelType, 0x09,
			kFewPackedBytes),
		TealPaintImage(32767, 32767, true, kFewPackedBytes),
	};
	for (const Bytes &claim : claims) {
		CountingIO destination;
		status_t status = B_OK;
		const int64 growth = PeakGrowth([&] {
			status = Read(claim, &destination);
		});
		EXPECT_EQ(status, B_NO_TRANSLATOR);
		EXPECT_EQ(destination.Size(), 0);
		ExpectPeakGrowthAtMost(growth, 16 * kMiB);
	}
}

// 16384 x 16384 is exactly 2^28 pixels: 64 MiB of stored data for four
// greys, 128 MiB for sixteen, and 256 MiB of bitmap rows, which the reader
// reads and writes a row at a time, holding no more than a row and a
// block of input. The bytes that never arrived read as white.
TEST_F(HugeClaim, PilotImageAtTheCapConvertsWithinItsBuffers)
{
	for (const uint8 pixelType : {kFourGreyPixelType, kSixteenGreyPixelType}) {
		const Bytes claim = PilotImageOfType(16384, 16384, pixelType, 1,
			kFewPackedBytes);
		CountingIO destination;
		status_t status = B_ERROR;
		const int64 growth = PeakGrowth([&] {
			status = Read(claim, &destination);
		});
		EXPECT_EQ(status, B_OK);
		EXPECT_EQ(destination.Size(), 32 + 16384LL * 16384);
		ASSERT_GE(destination.Start().size(), 32u);
		EXPECT_EQ(GetBE32(destination.Start(), 20), 16384u);
		EXPECT_EQ(GetBE32(destination.Start(), 24), (uint32)B_CMAP8);
		ExpectPeakGrowthAtMost(growth, 4 * kMiB);
	}
}

TEST_F(HugeClaim, BitmapStreamBeyondTheCapIsRefusedWithoutAllocating)
{
	const Bytes claims[] = {
		BitmapStream(0, 0, 32766, 32766, 32767 * 4, B_RGB32, 0, 12),
		BitmapStream(0, 0, 32766, 32766, 32767 / 8 + 1, B_GRAY1, 0, 12),
		BitmapStream(0, 0, 32766, 32766, 32767, B_CMAP8, 0, 12),
	};
	for (const Bytes &claim : claims) {
		CountingIO destination;
		status_t status = B_OK;
		const int64 growth = PeakGrowth([&] {
			status = Write(claim, true, &destination);
		});
		EXPECT_EQ(status, B_NO_TRANSLATOR);
		EXPECT_EQ(destination.Size(), 0);
		ExpectPeakGrowthAtMost(growth, 16 * kMiB);
	}
}

// At the cap the writer holds the whole Pilot picture, 64 MiB of four
// greys, and a packed copy of at most the same size; the source ends in
// its first row, which the status says, after the full-size pixel data.
TEST_F(HugeClaim, BitmapStreamAtTheCapConvertsWithinItsBuffers)
{
	const Bytes claim = BitmapStream(0, 0, 16383, 16383, 16384 * 4, B_RGB32,
		0, 12);
	for (bool compression : {true, false}) {
		CountingIO destination;
		status_t status = B_OK;
		const int64 growth = PeakGrowth([&] {
			status = Write(claim, compression, &destination);
		});
		EXPECT_EQ(status, B_ERROR);
		if (compression) {
			EXPECT_GT(destination.Size(), (off_t)kPilotHeadersSize);
		} else {
			EXPECT_EQ(destination.Size(),
				(off_t)kPilotHeadersSize + 16384LL * 16384 / 4);
		}
		ExpectPeakGrowthAtMost(growth, 2 * 64 * kMiB + 16 * kMiB);
	}
}

} // namespace
