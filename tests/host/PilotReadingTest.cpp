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
	const RunResult identify = Run({"identify", "in.pdb"});
	EXPECT_EQ(identify.out, "in.pdb: PalmPilot image (image/x-pilotimage), "
		"1 x 1 pixels, 1-bit black and white\n");
}

} // namespace
