// Database names and Pilot sizes of written images, as pure functions.
#include <math.h>
#include <stdlib.h>
#include <time.h>

#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "PilotNaming.h"
#include "PilotSize.h"

namespace {

std::string Chosen(const char *databaseName, const char *comment,
	int32 width = 160, int32 height = 160)
{
	char name[PILOT_DB_NAME_SIZE];
	memset(name, 'x', sizeof(name));
	ChooseDatabaseName(databaseName, comment, width, height, name);
	// Zeros fill the field after the name.
	const size_t length = strnlen(name, sizeof(name));
	EXPECT_LT(length, sizeof(name));
	for (size_t i = length; i < sizeof(name); i++) {
		EXPECT_EQ(name[i], '\0');
	}
	return std::string(name, length);
}

} // namespace

TEST(WriteNaming, ExplicitNameWins)
{
	EXPECT_EQ(Chosen("Holiday", "beach.jpg"), "Holiday");
	EXPECT_EQ(Chosen(std::string(31, 'n').c_str(), NULL),
		std::string(31, 'n'));
}

// A cut never splits a UTF-8 character; bytes that are not UTF-8 are cut
// where they stand.
TEST(WriteNaming, CutsFallBetweenCharacters)
{
	const std::string e = "\xC3\xA9";
	const std::string euro = "\xE2\x82\xAC";
	const std::string clef = "\xF0\x9D\x84\x9E";
	const std::string n29(29, 'n');
	EXPECT_EQ(Chosen((n29 + "n" + e).c_str(), NULL), n29 + "n");
	EXPECT_EQ(Chosen((n29 + e).c_str(), NULL), n29 + e);
	EXPECT_EQ(Chosen((n29 + euro + "x").c_str(), NULL), n29);
	EXPECT_EQ(Chosen("", (std::string(28, 'c') + clef + ".png").c_str()),
		std::string(28, 'c'));
	EXPECT_EQ(Chosen("", (std::string(27, 'c') + clef + "d.png").c_str()),
		std::string(27, 'c') + clef);
	EXPECT_EQ(Chosen(std::string(40, '\xE9').c_str(), NULL),
		std::string(31, '\xE9'));
	EXPECT_EQ(Chosen((n29 + "\x80\x80\x80\x80").c_str(), NULL),
		n29 + "\x80\x80");
}

TEST(WriteNaming, CommentLosesAThreeLetterExtension)
{
	EXPECT_EQ(Chosen("", "beach.jpg"), "beach");
	EXPECT_EQ(Chosen("", "a.bmp"), "a");
	EXPECT_EQ(Chosen("", ".bmp"), ".bmp");
	EXPECT_EQ(Chosen("", "photo.jpeg"), "photo.jpeg");
	EXPECT_EQ(Chosen("", "archive.tar.gz"), "archive.tar.gz");
	EXPECT_EQ(Chosen("", "x.y.png"), "x.y");
	EXPECT_EQ(Chosen("", std::string(40, 'c').c_str()), std::string(31, 'c'));
	EXPECT_EQ(Chosen("", (std::string(33, 'c') + ".png").c_str()),
		std::string(31, 'c'));
	EXPECT_EQ(Chosen("", ""), "");
}

// The letters come from rand() seeded with the current second, so a test
// that seeds the same way within the same second predicts them.
TEST(WriteNaming, GeneratedNameFollowsTheSeededGenerator)
{
	for (int attempt = 0; attempt < 5; attempt++) {
		const time_t before = time(NULL);
		const std::string name = Chosen("", NULL, 32767, 1234);
		srand((unsigned int)before);
		std::string want;
		for (int i = 0; i < 8; i++) {
			want += (char)('A' + rand() % 26);
		}
		want += " (32767 x 1234)";
		if (time(NULL) != before) {
			continue;	// the second turned over; try again
		}
		EXPECT_EQ(name, want);
		EXPECT_EQ(name.size(), 23u);
		return;
	}
	FAIL() << "the clock kept turning over";
}

namespace {

// "W x H", or the reason of the refusal.
std::string SizeFor(float left, float top, float right, float bottom,
	bool oneBit)
{
	PilotSize size;
	const HeaderCheck check = PilotSizeForBounds(BRect(left, top, right,
		bottom), oneBit, &size);
	if (check != kHeaderAccepted) {
		return HeaderCheckName(check);
	}
	return std::to_string(size.width) + " x " + std::to_string(size.height);
}

} // namespace

TEST(WriteSize, RoundingAndTheScreenMinimum)
{
	EXPECT_EQ(SizeFor(0, 0, 0, 0, true), "160 x 160");
	EXPECT_EQ(SizeFor(0, 0, 169, 199, true), "176 x 200");
	EXPECT_EQ(SizeFor(0, 0, 169, 199, false), "176 x 200");
	EXPECT_EQ(SizeFor(0, 0, 160, 160, true), "176 x 161");
	EXPECT_EQ(SizeFor(0, 0, 160, 160, false), "168 x 161");
	EXPECT_EQ(SizeFor(0, 0, 159.5f, 99.9f, false), "160 x 160");
	// Offset bounds count only their extent.
	EXPECT_EQ(SizeFor(-100, 50, 99, 249, false), "200 x 200");
}

TEST(WriteSize, SixteenBitFieldsAndTheCap)
{
	EXPECT_EQ(SizeFor(0, 0, 32759, 0, false), "32760 x 160");
	EXPECT_EQ(SizeFor(0, 0, 32760, 0, false), "beyond-pilot-fields");
	EXPECT_EQ(SizeFor(0, 0, 32751, 0, true), "32752 x 160");
	EXPECT_EQ(SizeFor(0, 0, 32752, 0, true), "beyond-pilot-fields");
	EXPECT_EQ(SizeFor(0, 0, 0, 32766, true), "160 x 32767");
	EXPECT_EQ(SizeFor(0, 0, 0, 32767, true), "beyond-pilot-fields");
	EXPECT_EQ(SizeFor(0, 0, 16383, 16383, false), "16384 x 16384");
	EXPECT_EQ(SizeFor(0, 0, 16383, 16384, false), "picture-beyond-cap");
	EXPECT_EQ(SizeFor(-3e38f, 0, 3e38f, 0, false), "beyond-pilot-fields");
	EXPECT_EQ(SizeFor(0, 0, INFINITY, 0, false), "beyond-pilot-fields");
	EXPECT_EQ(SizeFor(-INFINITY, 0, INFINITY, 0, false), "beyond-pilot-fields");
	EXPECT_EQ(SizeFor(0, NAN, 0, 0, false), "beyond-pilot-fields");
}
