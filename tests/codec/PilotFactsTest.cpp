// The facts about a Pilot image that Identify and Translate hand back in
// the extension message, through the roster as an application meets them.
#include <string>

#include <DataIO.h>
#include <Message.h>
#include <PilotTranslator.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "PilotImageBytes.h"

namespace {

struct Facts {
	std::string name;
	int32 bitsPerPixel = -1;
	bool packed = false;
	int32 width = -1;
	int32 height = -1;
	int32 rowBytes = -1;
	int32 missingRows = -1;
	int32 missingPixels = -1;
};

Facts FactsIn(const BMessage &message)
{
	Facts facts;
	const char *name = NULL;
	if (message.FindString(PILOT_DB_NAME_INFO, &name) == B_OK) {
		facts.name = name;
	}
	message.FindInt32(PILOT_BITS_PER_PIXEL_INFO, &facts.bitsPerPixel);
	message.FindBool(PILOT_PACKED_INFO, &facts.packed);
	message.FindInt32(PILOT_WIDTH_INFO, &facts.width);
	message.FindInt32(PILOT_HEIGHT_INFO, &facts.height);
	message.FindInt32(PILOT_ROW_BYTES_INFO, &facts.rowBytes);
	message.FindInt32(PILOT_MISSING_ROWS_INFO, &facts.missingRows);
	message.FindInt32(PILOT_MISSING_PIXELS_INFO, &facts.missingPixels);
	return facts;
}

class PilotFactsTest : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(B_OK, fTranslator.InitCheck()); }

	Facts Identify(const Bytes &file, BMessage *extension)
	{
		BMemoryIO source(file.data(), file.size());
		translator_info info;
		EXPECT_EQ(B_OK, fTranslator.Roster().Identify(&source, extension,
			&info));
		return FactsIn(*extension);
	}

	Facts Translate(const Bytes &file, BMessage *extension)
	{
		BMemoryIO source(file.data(), file.size());
		BMallocIO destination;
		EXPECT_EQ(B_OK, fTranslator.Roster().Translate(&source, NULL,
			extension, &destination, B_TRANSLATOR_BITMAP));
		return FactsIn(*extension);
	}

	LoadedTranslator fTranslator;
};

PilotBytes FileOf(uint8 pixelType, uint8 packing, int16 width, int16 height)
{
	PilotBytes file;
	file.name = "Holiday";
	file.pixelType = pixelType;
	file.packing = packing;
	file.width = width;
	file.height = height;
	return file;
}

} // namespace

TEST_F(PilotFactsTest, IdentifyGivesNameDepthPackingAndSizeAsStored)
{
	// The depth and packing rules are HeaderCheckTest's; these are kinds
	// that differ in each fact. A row stores the whole bytes its pixels
	// fill.
	const struct {
		uint8 pixelType;
		uint8 packing;
		int16 width;
		int32 bitsPerPixel;
		bool packed;
		int32 rowBytes;
	} kinds[] = {{kOneBitPixelType, 0x11, 21, 1, true, 2},
		{kSixteenGreyPixelType, 0x0A, 24, 4, false, 12},
		{kFourGreyPixelType, 0x00, 17, 2, false, 4},
		{kFourGreyPixelType, 0x00, -5, 2, false, 0}};
	for (const auto &kind : kinds) {
		BMessage extension;
		const Facts facts = Identify(FileOf(kind.pixelType, kind.packing,
			kind.width, -3).Build(), &extension);
		SCOPED_TRACE(kind.width);
		EXPECT_EQ("Holiday", facts.name);
		EXPECT_EQ(kind.bitsPerPixel, facts.bitsPerPixel);
		EXPECT_EQ(kind.packed, facts.packed);
		EXPECT_EQ(kind.rowBytes, facts.rowBytes);
		EXPECT_EQ(kind.width, facts.width);
		EXPECT_EQ(-3, facts.height);
		EXPECT_EQ(-1, facts.missingRows) << "only Translate reads the data";
	}

	BMessage extension;
	const Facts tealPaint = Identify(TealPaintImage(9, 2, true, {}),
		&extension);
	EXPECT_EQ(1, tealPaint.bitsPerPixel);
	EXPECT_FALSE(tealPaint.packed);
	EXPECT_EQ(9, tealPaint.width);
}

TEST_F(PilotFactsTest, TranslateSaysHowMuchOfThePictureNeverArrived)
{
	// 10 x 5 sixteen greys: 5 bytes a row. 12 bytes are two whole rows and
	// two bytes (4 pixels) of the third: three rows, 26 pixels missing.
	PilotBytes file = FileOf(kSixteenGreyPixelType, 0, 10, 5);
	file.pixels = Bytes(12, 0x11);
	BMessage extension;
	Facts facts = Translate(file.Build(), &extension);
	EXPECT_EQ(3, facts.missingRows);
	EXPECT_EQ(26, facts.missingPixels);
	EXPECT_EQ(4, facts.bitsPerPixel);
	EXPECT_EQ(5, facts.rowBytes);

	// The same message again, whole and packed: the old values go.
	file.pixels = LiteralRuns(Bytes(25, 0x11));
	file.packing = 1;
	facts = Translate(file.Build(), &extension);
	EXPECT_EQ(0, facts.missingRows);
	EXPECT_EQ(0, facts.missingPixels);
	EXPECT_TRUE(facts.packed);
	EXPECT_EQ(9, extension.CountNames(B_ANY_TYPE));
	// The record: the image header and the packed runs.
	int32 record = 0;
	EXPECT_EQ(B_OK, extension.FindInt32(PILOT_RECORD_BYTES_INFO, &record));
	EXPECT_EQ((int32)(58 + file.pixels.size()), record);

	// A packed stream whose last run the file cuts off: that run's rows.
	file.pixels.resize(file.pixels.size() - 1);
	facts = Translate(file.Build(), &extension);
	EXPECT_EQ(5, facts.missingRows);
	EXPECT_EQ(50, facts.missingPixels);

	// 1-bit, 12 wide: one stored byte a row; the rows' last four pixels
	// are never stored but belong to the rows that are missing.
	PilotBytes oneBit = FileOf(kOneBitPixelType, 0, 12, 4);
	oneBit.pixels = Bytes(3, 0xFF);
	facts = Translate(oneBit.Build(), &extension);
	EXPECT_EQ(1, facts.missingRows);
	EXPECT_EQ(12, facts.missingPixels);
}

TEST_F(PilotFactsTest, OtherStreamsGetNoFacts)
{
	const Bytes bitmap = {'b', 'i', 't', 's', 0, 0, 0, 0, 0, 0, 0, 0, 0x3F,
		0x80, 0, 0, 0x3F, 0x80, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 2,
		0xFF, 0xFF};
	BMemoryIO source(bitmap.data(), bitmap.size());
	BMessage extension;
	translator_info info;
	ASSERT_EQ(B_OK, fTranslator.Roster().Identify(&source, &extension,
		&info));
	EXPECT_EQ((uint32)B_TRANSLATOR_BITMAP, info.type);
	EXPECT_TRUE(extension.IsEmpty());
}
