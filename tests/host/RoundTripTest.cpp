// Pictures to Pilot images and back, through the built quorvel: the greys
// that come back, the Pilot size, 1-bit pictures, the sample scene.
#include "HostTool.h"

namespace {

// Level of a grey g without dithering: its darkness 255 - g quantised to
// the nearest of 0, 85, 170, 255 (no integer grey lies on a boundary).
int LevelOfGrey(int grey)
{
	return (int)((255 - grey) / 85.0 + 0.5);
}

class RoundTripTest : public HostTest {
protected:
	// PNG -> Pilot image -> PGM, with the options given; the PGM's pixels.
	Pnm RoundTrip(const Bytes &png, const std::vector<std::string> &options)
	{
		WriteBytes(Path("in.png"), png);
		std::vector<std::string> toPilot = {"convert", "in.png", "in.pdb"};
		toPilot.insert(toPilot.end(), options.begin(), options.end());
		RunResult first = Run(toPilot);
		EXPECT_EQ(first.exitCode, 0) << first.err;
		RunResult second = Run({"convert", "in.pdb", "back.png"});
		EXPECT_EQ(second.exitCode, 0) << second.err;
		RunResult third = Run({"convert", "back.png", "back.pgm"});
		EXPECT_EQ(third.exitCode, 0) << third.err;
		return ParsePnm(ReadBytes(Path("back.pgm")));
	}
};

TEST_F(RoundTripTest, GradientComesBackAsTheFourGreysOfItsLevels)
{
	const uint32 size = 256;
	Bytes rows(size * size);
	for (uint32 y = 0; y < size; y++) {
		for (uint32 x = 0; x < size; x++) {
			rows[y * size + x] = (uint8)x;
		}
	}
	Pnm back = RoundTrip(MakePng(size, size, 8, 0, rows), {"--no-dither"});
	ASSERT_EQ(back.type, '5');
	ASSERT_EQ(back.width, size);
	ASSERT_EQ(back.height, size);
	for (uint32 x = 0; x < size; x++) {
		EXPECT_EQ(back.pixels[x], GreyOfLevel(LevelOfGrey(x))) << "x " << x;
		EXPECT_EQ(back.pixels[(size - 1) * size + x], back.pixels[x]);
	}
}

TEST_F(RoundTripTest, BlackWhiteAndGreyPatchesKeepTheirGreysWithDithering)
{
	// Four 40-pixel columns at the four levels' own greys: nothing is
	// left over to diffuse, so dithering changes none of them.
	const uint8 patches[] = {0, 85, 170, 255};
	Bytes rows(160 * 160 * 3);
	for (uint32 i = 0; i < 160 * 160; i++) {
		uint8 grey = patches[(i % 160) / 40];
		rows[3 * i] = rows[3 * i + 1] = rows[3 * i + 2] = grey;
	}
	Pnm back = RoundTrip(MakePng(160, 160, 8, 2, rows), {"--dither"});
	ASSERT_EQ(back.pixels.size(), 160u * 160u);
	for (uint32 i = 0; i < 160 * 160; i += 7) {
		uint8 grey = patches[(i % 160) / 40];
		ASSERT_EQ(back.pixels[i], GreyOfLevel(LevelOfGrey(grey))) << i;
	}
	EXPECT_EQ(GreyOfLevel(3), 0);
	EXPECT_EQ(GreyOfLevel(0), 255);
}

TEST_F(RoundTripTest, SmallPictureGrowsToTheHandheldScreenPaddedWithWhite)
{
	Bytes rows(30 * 20, 0);  // black
	Pnm back = RoundTrip(MakePng(30, 20, 8, 0, rows), {});
	PilotFile pilot = ReadPilotFile(ReadBytes(Path("in.pdb")));
	EXPECT_EQ(pilot.width, 160);
	EXPECT_EQ(pilot.height, 160);
	// Black alone, padded with white: black and white, stored in 1 bit.
	EXPECT_EQ(pilot.pixelType, 0xFF);
	ASSERT_EQ(back.width, 160u);
	ASSERT_EQ(back.height, 160u);
	EXPECT_EQ(back.pixels[0], 0);
	EXPECT_EQ(back.pixels[19 * 160 + 29], 0);
	EXPECT_EQ(back.pixels[159 * 160 + 159], 255);
}

TEST_F(RoundTripTest, OneBitPictureStaysOneBitBothWays)
{
	// A 1-bit grey PNG (0 is black in PNG): a black left half.
	const uint32 width = 160, height = 160;
	Bytes rows(width / 8 * height, 0xFF);
	for (uint32 y = 0; y < height; y++) {
		for (uint32 x = 0; x < width / 16; x++) {
			rows[y * width / 8 + x] = 0x00;
		}
	}
	WriteBytes(Path("mono.png"), MakePng(width, height, 1, 0, rows));
	ASSERT_EQ(Run({"convert", "mono.png", "mono.pdb"}).exitCode, 0);
	PilotFile pilot = ReadPilotFile(ReadBytes(Path("mono.pdb")));
	EXPECT_EQ(pilot.pixelType, 0xFF);

	ASSERT_EQ(Run({"convert", "mono.pdb", "back.png"}).exitCode, 0);
	PngHeader header = ReadPngHeader(ReadBytes(Path("back.png")));
	EXPECT_EQ(header.bitDepth, 1);
	EXPECT_EQ(header.colorType, 0);
	ASSERT_EQ(Run({"convert", "mono.pdb", "back.pbm"}).exitCode, 0);
	Pnm back = ParsePnm(ReadBytes(Path("back.pbm")));
	ASSERT_EQ(back.type, '4');
	ASSERT_EQ(back.pixels.size(), rows.size());
	for (size_t i = 0; i < rows.size(); i++) {
		ASSERT_EQ(back.pixels[i], (uint8)~rows[i]) << i;  // PBM: 1 is black
	}
}

TEST_F(RoundTripTest, SampleScenesConvertToPilotImagesAndBack)
{
	for (const char *sample : {"scene.png", "scene.jpg"}) {
		std::string input = std::string(QUORVEL_SOURCE_DIR) + "/samples/"
			+ sample;
		RunResult toPilot = Run({"convert", input, "scene.pdb"});
		ASSERT_EQ(toPilot.exitCode, 0) << toPilot.err;
		PilotFile pilot = ReadPilotFile(ReadBytes(Path("scene.pdb")));
		EXPECT_EQ(pilot.name, "scene");
		EXPECT_EQ(pilot.width, 160);
		EXPECT_EQ(pilot.height, 160);

		RunResult back = Run({"convert", "scene.pdb", "scene.png"});
		ASSERT_EQ(back.exitCode, 0) << back.err;
		PngHeader header = ReadPngHeader(ReadBytes(Path("scene.png")));
		EXPECT_EQ(header.width, 160u);
		// The Pilot image's four greys, as a 2-bit palette.
		EXPECT_EQ(header.bitDepth, 2);
		EXPECT_EQ(header.colorType, 3) << "palette";
	}
}

TEST_F(RoundTripTest, APilotImagesPictureComesBackAsTheSamePilotImage)
{
	// A gradient dithered at each depth, read back as PNG and written at
	// that depth again with the default settings (dithering on): the same
	// bytes, its greys being the Pilot image's own.
	Bytes rows(200 * 120);
	for (size_t i = 0; i < rows.size(); i++) {
		rows[i] = (uint8)(i % 200 + i / 200);
	}
	WriteBytes(Path("gradient.png"), MakePng(200, 120, 8, 0, rows));
	for (const char *depth : {"1", "2", "4"}) {
		SCOPED_TRACE(std::string("depth ") + depth);
		ASSERT_EQ(Run({"convert", "--depth", depth, "--name", "G",
			"gradient.png", "first.pdb"}).exitCode, 0);
		ASSERT_EQ(Run({"convert", "first.pdb", "first.png"}).exitCode, 0);
		ASSERT_EQ(Run({"convert", "--depth", depth, "--name", "G",
			"first.png", "again.pdb"}).exitCode, 0);
		EXPECT_EQ(ReadBytes(Path("again.pdb")), ReadBytes(Path("first.pdb")));
	}
}

} // namespace
