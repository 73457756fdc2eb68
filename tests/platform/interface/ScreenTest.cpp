// The main screen's colour map and its colour matching.
#include <Screen.h>

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

void ExpectColor(rgb_color have, int red, int green, int blue, int alpha)
{
	EXPECT_EQ(have.red, red);
	EXPECT_EQ(have.green, green);
	EXPECT_EQ(have.blue, blue);
	EXPECT_EQ(have.alpha, alpha);
}

} // namespace


TEST(ScreenTest, MainScreenIsAnEightBitScreen)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	EXPECT_TRUE(screen.IsValid());
	EXPECT_EQ(screen.ID().id, 0);
	EXPECT_EQ(screen.ColorSpace(), B_CMAP8);
	EXPECT_TRUE(screen.Frame().IsValid());
	EXPECT_EQ(screen.SetToNext(), B_ERROR);

	BScreen fromWindow((BWindow *)NULL);
	EXPECT_TRUE(fromWindow.IsValid());
	EXPECT_EQ(fromWindow.ColorMap(), screen.ColorMap());

	screen_id other = {3};
	BScreen unknown(other);
	EXPECT_FALSE(unknown.IsValid());
	EXPECT_NE(unknown.ColorMap(), nullptr);
}


TEST(ScreenTest, ColorListHoldsTheSystemPalette)
{
	BScreen screen;
	const color_map *map = screen.ColorMap();
	ASSERT_NE(map, nullptr);
	EXPECT_EQ(map->id, 0);
	ExpectColor(map->color_list[0], 0, 0, 0, 255);
	ExpectColor(map->color_list[63], 255, 255, 255, 255);
	ExpectColor(map->color_list[255], 255, 255, 255, 0);
	ExpectColor(screen.ColorForIndex(62), 0, 152, 51, 255);

	// Every entry as the palette's text form gives it.
	std::ifstream text(QUORVEL_SOURCE_DIR
		"/platform/interface/system-palette.txt");
	ASSERT_TRUE(text.good());
	std::string line;
	int entries = 0;
	while (std::getline(text, line)) {
		if (line.empty() || line[0] == '#') {
			continue;
		}
		std::istringstream fields(line);
		int index, red, green, blue, alpha;
		ASSERT_TRUE(fields >> index >> red >> green >> blue >> alpha) << line;
		ASSERT_EQ(index, entries);
		SCOPED_TRACE(line);
		ExpectColor(map->color_list[index], red, green, blue, alpha);
		entries++;
	}
	EXPECT_EQ(entries, 256);
}


TEST(ScreenTest, IndexForColorFindsTheNearestEntry)
{
	BScreen screen;
	EXPECT_EQ(screen.IndexForColor(255, 255, 255), 63);
	EXPECT_EQ(screen.IndexForColor(0, 0, 0), 0);
	EXPECT_EQ(screen.IndexForColor(170, 170, 170), 21);  // 168 grey
	EXPECT_EQ(screen.IndexForColor(85, 85, 85), 11);  // 88 grey
	EXPECT_EQ(screen.IndexForColor(0, 152, 51), 62);

	// Alpha is not compared: transparent white is still entry 63.
	EXPECT_EQ(screen.IndexForColor(255, 255, 255, 0), 63);
	rgb_color white = {255, 255, 255, 0};
	EXPECT_EQ(screen.IndexForColor(white), 63);
}


TEST(ScreenTest, TiesGoToTheLowerIndex)
{
	BScreen screen;
	// Entries 19 and 136 are both grey 152.
	EXPECT_EQ(screen.IndexForColor(152, 152, 152), 19);
	// (4, 4, 4) lies halfway between entry 0 (black) and entry 1 (grey 8).
	EXPECT_EQ(screen.IndexForColor(4, 4, 4), 0);
}


TEST(ScreenTest, InversionMapPointsAtTheInverseColour)
{
	BScreen screen;
	EXPECT_EQ(screen.InvertIndex(0), 63);
	EXPECT_EQ(screen.InvertIndex(63), 0);
	// 255 - 168 = 87 is nearest to grey 88.
	EXPECT_EQ(screen.InvertIndex(21), 11);
	EXPECT_EQ(screen.ColorMap()->inversion_map[21], 11);
}


TEST(ScreenTest, IndexMapAgreesWithIndexForColor)
{
	BScreen screen;
	const color_map *map = screen.ColorMap();
	struct {
		uint32 red, green, blue;  // 5-bit channels
		uint8 red8, green8, blue8;  // the same widened to 8 bits
	} cases[] = {
		{0, 0, 0, 0, 0, 0},
		{31, 31, 31, 255, 255, 255},
		{21, 21, 21, 173, 173, 173},
		{1, 2, 3, 8, 16, 24},
		{16, 8, 30, 132, 66, 247},
		{0, 19, 6, 0, 156, 49},
	};
	for (const auto &c : cases) {
		uint32 color15 = (c.red << 10) | (c.green << 5) | c.blue;
		SCOPED_TRACE(color15);
		EXPECT_EQ(map->index_map[color15],
			screen.IndexForColor(c.red8, c.green8, c.blue8));
	}
	EXPECT_EQ(map->index_map[0x7fff], 63);
}
