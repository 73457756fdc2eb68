// Pilot images as quorvel reads them: pictures of every depth and odd
// sizes to the other formats, pixel for pixel, and what identify says.
#include "HostTool.h"
#include "PilotImageBytes.h"

namespace {

Bytes Pattern(size_t size)
{
	Bytes bytes(size);
	for (size_t i = 0; i < size; i++) {
		bytes[i] = (uint8)(i * 37 + 11);
	}
	return bytes;
}

class PilotReadingTest : public HostTest {
protected:
	// The file as a PNG, exit 0 expected, and that PNG read back by
	// quorvel as PNM of the extension's kind.
	Pnm ThroughPng(const Bytes &pilot, const std::string &pnmName)
	{
		WriteBytes(Path("in.pdb"), pilot);
		const RunResult toPng = Run({"convert", "in.pdb", "out.png"});
		EXPECT_EQ(toPng.exitCode, 0) << toPng.err;
		const RunResult toPnm = Run({"convert", "out.png", pnmName});
		EXPECT_EQ(toPnm.exitCode, 0) << toPnm.err;
		return ParsePnm(ReadBytes(Path(pnmName)));
	}
};

TEST_F(PilotReadingTest, OneBitImagesOfOddWidthsKeepEveryPixel)
{
	// Each row: its stored whole bytes, then white (0 in PBM too).
	const int sizes[][2] = {{9, 3}, {1, 1}};
	for (const auto &size : sizes) {
		const int width = size[0];
		const int height = size[1];
		const Bytes stored = Pattern((size_t)(width / 8) * height);
		Bytes rows;
		for (int y = 0; y < height; y++) {
			const auto row = stored.begin() + y * (width / 8);
			rows.insert(rows.end(), row, row + width / 8);
			rows.resize(rows.size() + (width + 7) / 8 - width / 8, 0);
		}
		const Bytes files[] = {
			PilotImage(width, height, true, false, stored),
			PilotImage(width, height, true, true, LiteralRuns(stored)),
			TealPaintImage(width, height, true, stored),
			TealPaintImage(width, height, false, stored)};
		for (const Bytes &file : files) {
			SCOPED_TRACE(std::to_string(width) + " x "
				+ std::to_string(height) + ", file of "
				+ std::to_string(file.size()) + " bytes");
			const Pnm back = ThroughPng(file, "back.pbm");
			EXPECT_EQ(back.type, '4');
			EXPECT_EQ(back.width, (uint32)width);
			EXPECT_EQ(back.height, (uint32)height);
			EXPECT_EQ(back.pixels, rows);
		}
	}
}

TEST_F(PilotReadingTest, SixteenGreyFilesComeBackAsTheirGreys)
{
	// Known pixels, value (x + 3 y) mod 16, two to a byte, plain and
	// packed with either writer's packing byte; each comes back as the
	// screen's grey nearest to 255 - 17 x value.
	const int width = 34;
	const int height = 5;
	Bytes stored(width / 2 * height);
	Bytes greys;
	BScreen screen(B_MAIN_SCREEN_ID);
	for (int y = 0; y < height; y++) {
		for (int x = 0; x < width; x++) {
			const int value = (x + 3 * y) % 16;
			stored[y * width / 2 + x / 2] |= (uint8)(value << (x % 2 ? 0 : 4));
			const uint8 grey = (uint8)(255 - 17 * value);
			greys.push_back(screen.ColorForIndex(screen.IndexForColor(grey,
				grey, grey)).red);
		}
	}
	const Bytes files[] = {
		PilotImageOfType(width, height, kSixteenGreyPixelType, 0, stored),
		PilotImageOfType(width, height, kSixteenGreyPixelType, 0x01,
			LiteralRuns(stored)),
		PilotImageOfType(width, height, kSixteenGreyPixelType, 0x09,
			LiteralRuns(stored))};
	for (const Bytes &file : files) {
		SCOPED_TRACE("packing " + std::to_string(file[86 + 32]));
		const Pnm back = ThroughPng(file, "back.pgm");
		EXPECT_EQ(back.type, '5');
		EXPECT_EQ(back.width, (uint32)width);
		EXPECT_EQ(back.pixels, greys);
	}
}

TEST_F(PilotReadingTest, IdentifyGivesDepthPackingNameAndWhetherCutShort)
{
	const Bytes sixteen = PilotImageOfType(10, 5, kSixteenGreyPixelType, 0x09,
		LiteralRuns(Bytes(25, 0x5A)));
	WriteBytes(Path("sixteen.pdb"), sixteen);
	// 5 bytes a row: 12 are two rows and 4 pixels of the third.
	WriteBytes(Path("cut.pdb"), PilotImageOfType(10, 5,
		kSixteenGreyPixelType, 0, Bytes(12, 0x5A)));
	// Rows as stored: whole pixels only, so 4 bytes for 17 pixels of four
	// greys and 2 for 21 of black and white.
	WriteBytes(Path("four.pdb"), PilotImage(17, 3, false, false, Bytes(12)));
	WriteBytes(Path("one.pdb"), TealPaintImage(21, 2, true, Bytes(4)));
	const RunResult result = Run({"identify", "sixteen.pdb", "cut.pdb",
		"four.pdb", "one.pdb"});
	EXPECT_EQ(result.exitCode, 0) << result.err;
	const std::string pilot = ": PalmPilot image (image/x-pilotimage), ";
	EXPECT_EQ(result.out,
		"sixteen.pdb" + pilot + "10 x 5 pixels, 4-bit grey (sixteen levels), "
		"packed, rows of 5 bytes, database \"Sample\", complete; translator: Quorvel\n"
		"cut.pdb" + pilot + "10 x 5 pixels, 4-bit grey (sixteen levels), "
		"plain, rows of 5 bytes, database \"Sample\", cut short: 26 of 50 pixels missing "
		"(the last 3 of 5 rows); translator: Quorvel\n"
		"four.pdb" + pilot + "17 x 3 pixels, 2-bit grey (four levels), plain, "
		"rows of 4 bytes, database \"Sample\", complete; translator: Quorvel\n"
		"one.pdb" + pilot + "21 x 2 pixels, 1-bit black and white, plain, "
		"rows of 2 bytes, database \"Sample\", complete; translator: Quorvel\n");
}

TEST_F(PilotReadingTest, AFileCutShortConvertsWithAWarningOrIsRefusedWhenStrict)
{
	// 4 bytes a row: 10 are two rows and 8 pixels of the third.
	const Bytes whole = PilotImage(16, 4, false, false, Bytes(16, 0x1B));
	WriteBytes(Path("cut.pdb"), Bytes(whole.begin(), whole.end() - 6));
	WriteBytes(Path("whole.pdb"), whole);

	RunResult result = Run({"convert", "cut.pdb", "cut.png"});
	EXPECT_EQ(result.exitCode, 0);
	EXPECT_EQ(result.err, "quorvel: cut.pdb: warning: cut short: 24 of 64 "
		"pixels missing (the last 2 of 4 rows), shown white\n");
	EXPECT_TRUE(std::filesystem::exists(Path("cut.png")));

	result = Run({"convert", "--strict", "cut.pdb", "strict.png"});
	EXPECT_EQ(result.exitCode, 1);
	EXPECT_EQ(result.err, "quorvel: cut.pdb: cut short: 24 of 64 pixels "
		"missing (the last 2 of 4 rows); refused with --strict\n");
	EXPECT_FALSE(std::filesystem::exists(Path("strict.png")));

	// In a batch the cut file warns (or, strict, fails) alone.
	result = Run({"convert", "--to", "bits", "cut.pdb", "whole.pdb", "-o",
		"out"});
	EXPECT_EQ(result.exitCode, 0);
	EXPECT_EQ(result.ErrorLines().size(), 1u) << result.err;
	result = Run({"convert", "--strict", "--to", "png", "cut.pdb",
		"whole.pdb", "-o", "strict"});
	EXPECT_EQ(result.exitCode, 1);
	EXPECT_EQ(Listing("strict"), std::vector<std::string>({"whole.png"}));
	EXPECT_EQ(Run({"identify", "--strict", "cut.pdb"}).exitCode, 2);
}

} // namespace
