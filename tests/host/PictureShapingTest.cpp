// The depths of what is written: the Pilot image's (made by its
// translator, in its own greys), PBM and PGM of colour pictures; fitting
// to a box, and the lines about sizes.
#include <random>

#include <nlohmann/json.hpp>

#include "HostTool.h"

namespace {

Bytes MakePpm(int width, int height, const Bytes &rgb)
{
	return BytesOfText("P6 " + std::to_string(width) + " "
		+ std::to_string(height) + " 255\n" + std::string(rgb.begin(),
		rgb.end()));
}

Bytes UniformRgb(int width, int height, uint8 red, uint8 green, uint8 blue)
{
	Bytes rgb;
	for (int i = 0; i < width * height; i++) {
		rgb.insert(rgb.end(), {red, green, blue});
	}
	return rgb;
}

class PictureShapingTest : public HostTest {
protected:
	// A bitmap stream file's pixels as black (true) or not, from the
	// B_GRAY1 bits or the B_CMAP8 greys (the darker two of four levels).
	std::vector<bool> DarkPixels(const std::string &bitsFile, int width,
		int height)
	{
		Bytes bits = ReadBytes(Path(bitsFile));
		EXPECT_GE(bits.size(), 32u);
		const uint32 rowBytes = GetBE32(bits, 20);
		const uint32 colors = GetBE32(bits, 24);
		BScreen screen(B_MAIN_SCREEN_ID);
		std::vector<bool> dark;
		for (int y = 0; y < height; y++) {
			for (int x = 0; x < width; x++) {
				const uint8 *row = &bits[32 + (size_t)y * rowBytes];
				dark.push_back(colors == B_GRAY1
					? (row[x / 8] & (0x80 >> (x % 8))) != 0
					: screen.ColorForIndex(row[x]).red < 128);
			}
		}
		return dark;
	}

	nlohmann::json Identified(const std::string &file)
	{
		RunResult result = Run({"identify", "--json", file});
		EXPECT_EQ(result.exitCode, 0) << result.err;
		return nlohmann::json::parse(result.out);
	}
};

TEST_F(PictureShapingTest, OneBitThresholdAgreesWithTheTranslatorsGreys)
{
	// Colours whose darkness lies close to the middle on either side, in
	// every mix of channels: the host's weights and order of summing must
	// be the translator's for the halves to agree pixel for pixel.
	std::mt19937 random(7);
	Bytes rgb;
	for (int i = 0; i < 160 * 4; i++) {
		uint8 red = (uint8)random();
		uint8 green = (uint8)random();
		double blue = (127.5 - 0.3 * red - 0.59 * green) / 0.11
			+ (int)(random() % 5) - 2.0;
		rgb.insert(rgb.end(), {red, green,
			(uint8)std::min(255.0, std::max(0.0, blue))});
	}
	WriteBytes(Path("mix.ppm"), MakePpm(160, 4, rgb));
	for (const char *depth : {"1", "2"}) {
		ASSERT_EQ(Run({"convert", "--no-dither", "--no-high-contrast",
			"--depth", depth, "mix.ppm", std::string("mix") + depth
			+ ".pdb"}).exitCode, 0);
		ASSERT_EQ(Run({"convert", std::string("mix") + depth + ".pdb",
			std::string("mix") + depth + ".bits"}).exitCode, 0);
	}
	std::vector<bool> one = DarkPixels("mix1.bits", 160, 4);
	std::vector<bool> two = DarkPixels("mix2.bits", 160, 4);
	EXPECT_EQ(one, two);
	EXPECT_GT(std::count(one.begin(), one.end(), true), 100);
	EXPECT_EQ(Identified("mix1.pdb")["bits_per_pixel"], 1);
}

TEST_F(PictureShapingTest, DitheringKeepsAGreysToneWhereThresholdingCannot)
{
	WriteBytes(Path("grey.ppm"), MakePpm(160, 160,
		UniformRgb(160, 160, 128, 128, 128)));
	ASSERT_EQ(Run({"convert", "--depth", "1", "grey.ppm", "d.pdb"}).exitCode,
		0);
	ASSERT_EQ(Run({"convert", "--depth", "1", "--no-dither", "grey.ppm",
		"t.pdb"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "d.pdb", "d.bits"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "t.pdb", "t.bits"}).exitCode, 0);
	std::vector<bool> dithered = DarkPixels("d.bits", 160, 160);
	std::vector<bool> thresholded = DarkPixels("t.bits", 160, 160);
	const double black = std::count(dithered.begin(), dithered.end(), true)
		/ 25600.0;
	EXPECT_NEAR(black, 0.5, 0.05);
	EXPECT_EQ(std::count(thresholded.begin(), thresholded.end(), true), 0)
		<< "128 is lighter than the middle";

	// Without either option the translator's stored setting decides.
	ASSERT_EQ(Run({"settings", "dithering=off"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "--depth", "1", "grey.ppm", "s.pdb"}).exitCode,
		0);
	ASSERT_EQ(Run({"convert", "s.pdb", "s.bits"}).exitCode, 0);
	EXPECT_EQ(DarkPixels("s.bits", 160, 160), thresholded);
}

TEST_F(PictureShapingTest, AutoDepthFollowsTheSourceAndTwoWidensBilevel)
{
	WriteBytes(Path("mono.pbm"), BytesOfText("P1 8 2\n10101010 01010101\n"));
	WriteBytes(Path("colour.ppm"), MakePpm(4, 4, UniformRgb(4, 4, 200, 30,
		30)));
	ASSERT_EQ(Run({"convert", "mono.pbm", "auto-mono.pdb"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "--depth", "2", "mono.pbm", "two.pdb"})
		.exitCode, 0);
	ASSERT_EQ(Run({"convert", "colour.ppm", "auto-colour.pdb"}).exitCode, 0);
	EXPECT_EQ(Identified("auto-mono.pdb")["bits_per_pixel"], 1);
	EXPECT_EQ(Identified("two.pdb")["bits_per_pixel"], 2);
	EXPECT_EQ(Identified("auto-colour.pdb")["bits_per_pixel"], 2);
	RunResult bad = Run({"convert", "--depth", "3", "mono.pbm", "x.pdb"});
	EXPECT_EQ(bad.exitCode, 2);
	EXPECT_NE(bad.err.find("1 (black and white), 2 (four greys), 4 (sixteen "
		"greys) or auto"), std::string::npos) << bad.err;
}

TEST_F(PictureShapingTest, ColourBecomesBlackAndWhiteForPbmAndGreyForPgm)
{
	WriteBytes(Path("red.ppm"), MakePpm(16, 2, UniformRgb(16, 2, 200, 30,
		30)));
	ASSERT_EQ(Run({"convert", "red.ppm", "red.pbm"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "red.ppm", "red.pgm"}).exitCode, 0);
	Pnm pbm = ParsePnm(ReadBytes(Path("red.pbm")));
	Pnm pgm = ParsePnm(ReadBytes(Path("red.pgm")));
	EXPECT_EQ(pbm.type, '4');
	EXPECT_EQ(pbm.width, 16u);
	EXPECT_EQ(pgm.type, '5');
	ASSERT_EQ(pgm.pixels.size(), 32u);
	// ImportBits' luminance: (200 * 308 + 30 * 600 + 30 * 116) / 1024.
	EXPECT_NEAR(pgm.pixels[0], 81, 1);
}

TEST_F(PictureShapingTest, FitScalesDownKeepingTheAspectAndNeverUpUnasked)
{
	WriteBytes(Path("wide.ppm"), MakePpm(400, 200, UniformRgb(400, 200, 10,
		120, 250)));
	WriteBytes(Path("small.ppm"), MakePpm(40, 20, UniformRgb(40, 20, 0, 0,
		0)));
	ASSERT_EQ(Run({"convert", "--fit", "100x100", "wide.ppm", "w.png"})
		.exitCode, 0);
	ASSERT_EQ(Run({"convert", "--fit", "100x100", "small.ppm", "s.png"})
		.exitCode, 0);
	ASSERT_EQ(Run({"convert", "--fit", "100x100", "--enlarge", "small.ppm",
		"e.png"}).exitCode, 0);
	EXPECT_EQ(Identified("w.png")["width"], 100);
	EXPECT_EQ(Identified("w.png")["height"], 50);
	EXPECT_EQ(Identified("s.png")["width"], 40);
	EXPECT_EQ(Identified("e.png")["height"], 50);
	EXPECT_EQ(Run({"convert", "--fit", "0x5", "wide.ppm", "x.png"}).exitCode,
		2);
	EXPECT_EQ(Run({"convert", "--enlarge", "wide.ppm", "x.png"}).exitCode, 2);
}

TEST_F(PictureShapingTest, PaddingAndHugePicturesAreToldUnlessQuiet)
{
	WriteBytes(Path("small.ppm"), MakePpm(70, 46, UniformRgb(70, 46, 9, 9,
		9)));
	WriteBytes(Path("huge.ppm"), MakePpm(1200, 10, UniformRgb(1200, 10, 9, 9,
		9)));
	RunResult small = Run({"convert", "small.ppm", "small.pdb"});
	EXPECT_EQ(small.exitCode, 0);
	EXPECT_EQ(small.err, "quorvel: small.ppm: the 70 x 46 picture is padded "
		"with white to at least 160 x 160, the handheld's screen (--fit "
		"screen --enlarge scales it up to 160 x 105)\n");
	// Wider than the screen, it is padded however it is fitted.
	WriteBytes(Path("wide.ppm"), MakePpm(200, 150, UniformRgb(200, 150, 9, 9,
		9)));
	EXPECT_EQ(Run({"convert", "wide.ppm", "wide.pdb"}).err, "quorvel: "
		"wide.ppm: the 200 x 150 picture is padded with white to at least 160 "
		"x 160, the handheld's screen\n");
	RunResult huge = Run({"convert", "huge.ppm", "huge.pdb"});
	EXPECT_NE(huge.err.find("far larger than any handheld's screen (--fit "
		"screen"), std::string::npos) << huge.err;
	EXPECT_EQ(Run({"convert", "-q", "small.ppm", "q.pdb"}).err, "");
	RunResult fitted = Run({"convert", "--fit", "screen", "huge.ppm",
		"fitted.pdb"});
	EXPECT_EQ(fitted.err.find("far larger"), std::string::npos);
}

} // namespace
