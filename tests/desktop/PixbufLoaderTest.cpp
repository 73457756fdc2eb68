// The gdk-pixbuf loader's load, driven as gdk-pixbuf drives it: bytes in
// pieces, a size asked for once the headers are in, the pixbuf handed
// over. Hostile files end in an error with a reason or a pixbuf of the
// size agreed, never beyond the limits; the sanitizer builds run this.
#include <gtest/gtest.h>

#include "GreyDownscaler.h"
#include "LoaderDrive.h"

TEST(PixbufLoaderTest, RefusesWithAReasonBeforeAllocating)
{
	PilotBytes empty = FourGreys(16, 4, false);
	empty.width = 0;
	PilotBytes beyondCap = FourGreys(16, 4, false);
	beyondCap.width = beyondCap.height = 32767;
	PilotBytes beyondLimit = FourGreys(16, 4, false);
	beyondLimit.width = beyondLimit.height = 16384;
	PilotBytes beyondBudget = FourGreys(16, 4, false);
	beyondBudget.width = 8192;
	beyondBudget.height = 4096;
	PilotBytes otherDatabase = FourGreys(16, 4, false);
	otherDatabase.type = 'TEXt';
	const Bytes whole = FourGreys(16, 4, false).Build();
	const struct {
		const char *what;
		Bytes file;
		Asked asked;
		const char *reason;
		PixelLimit limit = PixelLimit();
	} cases[] = {
		{"empty", empty.Build(), {-1, -1}, "no pixels"},
		{"beyond the cap", beyondCap.Build(), {64, 64}, "pixels Quorvel reads"},
		{"whole beyond the limit", beyondLimit.Build(), {-1, -1},
			"pixels Quorvel loads at once"},
		{"more than its bytes substantiate", beyondBudget.Build(), {-1, -1},
			"bytes may claim"},
		{"no size asked", whole, {0, 0}, "No pixels"},
		{"beyond a limit set", whole, {-1, -1},
			"than the 63 pixels Quorvel loads at once", PixelLimit{63, true}},
		{"another database", otherDatabase.Build(), {-1, -1},
			"neither of type 'vIMG'"},
		{"headers cut", Bytes(whole.begin(), whole.begin() + 100), {-1, -1},
			"the file ends within its Pilot image header"},
	};
	for (const auto &c : cases) {
		const Outcome outcome = Load(c.file, c.asked, 4096, c.limit);
		EXPECT_NE(outcome.error.find(c.reason), std::string::npos)
			<< c.what << ": have \"" << outcome.error << "\"";
		EXPECT_EQ(outcome.width, 0) << c.what;
	}
}

// Within the limit a thumbnail of a picture beyond it is made, and a
// cut-short file reads white where its data is missing.
TEST(PixbufLoaderTest, ScalesDownAndShowsMissingDataWhite)
{
	// The first 64 rows black, the first thumbnail row's share.
	PilotBytes large = FourGreys(4096, 1024, false);
	large.pixels.assign(4096 / 4 * 64, 0xFF);
	const Outcome outcome = Load(large.Build(), {64, 16}, 65536);
	ASSERT_EQ(outcome.error, "");
	ASSERT_EQ(outcome.width, 64);
	EXPECT_EQ(outcome.greys.front(), 0);
	EXPECT_EQ(outcome.greys[64], 255);
	EXPECT_EQ(outcome.greys.back(), 255);
}

TEST(PixbufLoaderTest, AveragesWhatEachPixelCovers)
{
	// 4 x 2 greys into 2 x 1, and 3 x 1 into 2 x 1 (cells of 2 and 1).
	const uint8 rows[2][4] = {{0, 255, 10, 20}, {255, 0, 30, 40}};
	uint8 out[6];
	GreyDownscaler square(4, 2, 2, 1, out, sizeof(out));
	square.AddRow(rows[0]);
	square.AddRow(rows[1]);
	EXPECT_EQ(out[0], 128);
	EXPECT_EQ(out[3], 25);
	GreyDownscaler odd(3, 1, 2, 1, out, sizeof(out));
	odd.AddRow(rows[1]);
	EXPECT_EQ(out[0], 128);
	EXPECT_EQ(out[3], 30);
	// A row repeated counts as the row again: (10 + 20) x 2 + 255 over 6.
	GreyDownscaler repeated(2, 3, 1, 1, out, sizeof(out));
	repeated.AddRow(rows[0] + 2);
	repeated.RepeatRow();
	repeated.AddRow(rows[1]);
	EXPECT_EQ(out[0], 53);
}

// Every cut and every bit flipped in the headers, fed one byte at a time
// for the cuts: an error or a picture of a size the headers allow.
TEST(PixbufLoaderTest, SurvivesCutsAndFlips)
{
	const Bytes file = FourGreys(24, 6, true).Build();
	for (size_t size = 0; size < file.size(); size++) {
		const Outcome outcome = Load(Bytes(file.begin(), file.begin() + size),
			{-1, -1}, 1);
		EXPECT_TRUE(!outcome.error.empty() || outcome.width == 24) << size;
	}
	for (size_t bit = 0; bit < kPilotHeadersSize * 8; bit++) {
		Bytes flipped = file;
		flipped[bit / 8] ^= (uint8)(0x80 >> (bit % 8));
		const Outcome outcome = Load(flipped, {32, 32});
		EXPECT_LE(outcome.width * outcome.height, 32 * 32) << bit;
	}
}
