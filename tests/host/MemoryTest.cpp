// What a whole run of quorvel holds at its peak: a picture is held once, at
// the depth its translator gives it, or not at all on its way to a Pilot
// image; identify reads headers only; and a picture over the pixel limit
// is refused before its bitmap exists.
#include <malloc.h>
#include <zlib.h>

#include "HostTool.h"

namespace {

const int64 kMiB = 1 << 20;
const char kAtTheCap[] = "--max-pixels=268435456";

// The rows (each with its filter byte) as a zlib stream, at that level.
Bytes Deflated(const Bytes &rows, int level)
{
	uLongf size = compressBound(rows.size());
	Bytes zlib(size);
	EXPECT_EQ(compress2(zlib.data(), &size, rows.data(), rows.size(), level),
		Z_OK);
	zlib.resize(size);
	return zlib;
}

// A 16384 x 16384 1-bit PNG, deflated: 32 MiB of pixels in about 32 KB.
Bytes LargeOneBitPng()
{
	const uint32 side = 16384;
	const size_t rowBytes = side / 8 + 1;  // with its filter byte
	Bytes rows(rowBytes * side, 0);
	for (size_t y = 0; y < side; y++) {
		// A black stripe down the middle, so that the picture is not
		// empty.
		rows[y * rowBytes + 1 + side / 16] = 0xFF;
	}
	return PngOfData(side, side, 1, 0, Deflated(rows, 9));
}

// A black 16384 x 16384 1-bit PNG in Adam7's seven passes: its first
// row comes out only once every pass is decoded.
Bytes LargeInterlacedPng()
{
	const uint32 side = 16384;
	const uint32 passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
		{2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
	size_t size = 0;
	for (const uint32 *pass : passes) {
		const size_t width = (side - pass[0] + pass[2] - 1) / pass[2];
		const size_t height = (side - pass[1] + pass[3] - 1) / pass[3];
		size += height * (1 + (width + 7) / 8);
	}
	return PngOfData(side, side, 1, 0, Deflated(Bytes(size, 0), 9), Bytes(),
		Bytes(), 1);
}

// A 4096 x 4096 RGB PNG of a gradient, deflated fast: 64 MiB as a bitmap.
Bytes LargeColourPng()
{
	const uint32 side = 4096;
	const size_t rowBytes = side * 3 + 1;
	Bytes rows(rowBytes * side, 0);
	for (size_t y = 0; y < side; y++) {
		for (size_t x = 0; x < side * 3; x++) {
			rows[y * rowBytes + 1 + x] = (uint8)(x / 48 + y / 16);
		}
	}
	return PngOfData(side, side, 8, 2, Deflated(rows, 1));
}

// The sanitizers' shadow memory would be counted too, and needs more
// address space than the limits here allow.
class MemoryTest : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
		GTEST_SKIP() << "the sanitizers change what memory is taken";
#endif
	}
};

TEST_F(MemoryTest, OneBitPictureAtTheCapConvertsWithinItsOwnDepth)
{
	WriteBytes(Path("large.png"), LargeOneBitPng());
	// The test's own 64 MiB of rows and deflated data go back to the
	// system, so that the runs' peaks are theirs.
	malloc_trim(0);
	RunResult result = Run({"convert", kAtTheCap, "--full-size", "large.png",
		"large.pdb"});
	ASSERT_EQ(result.exitCode, 0) << result.err;
	PilotFile pilot = ReadPilotFile(ReadBytes(Path("large.pdb")));
	EXPECT_EQ(pilot.pixelType, 0xFF) << "a 1-bit Pilot image";
	EXPECT_EQ(pilot.width, 16384);
	EXPECT_EQ(pilot.height, 16384);
	// The 32 MiB picture, the add-on's 32 MiB of Pilot rows and its
	// packing, and the output: never the 1 GiB of a 32-bit picture.
	EXPECT_LT(result.peakMemory, 250 * kMiB);

	// identify reads headers only, also of a picture that decodes whole
	// before its first row.
	WriteBytes(Path("interlaced.png"), LargeInterlacedPng());
	malloc_trim(0);
	for (const char *name : {"large.png", "interlaced.png"}) {
		RunResult identify = Run({"identify", name});
		ASSERT_EQ(identify.exitCode, 0) << identify.err;
		EXPECT_NE(identify.out.find("16384 x 16384 pixels, 1-bit black and "
			"white"), std::string::npos) << identify.out;
		EXPECT_LT(identify.peakMemory, 20 * kMiB) << name;
	}
}

TEST_F(MemoryTest, PicturesPassToThePilotTranslatorWithoutABitmapOfTheirSize)
{
	WriteBytes(Path("large.png"), LargeColourPng());
	malloc_trim(0);
	RunResult result = Run({"convert", "--full-size", "large.png",
		"large.pdb"});
	ASSERT_EQ(result.exitCode, 0) << result.err;
	EXPECT_EQ(ReadPilotFile(ReadBytes(Path("large.pdb"))).width, 4096);
	// Rows pass through a window of a few MiB: the 64 MiB bitmap the
	// picture would make is never there.
	EXPECT_LT(result.peakMemory, 40 * kMiB);

	// Scaled for a handheld, the picture is held once as a bitmap; the
	// sizes tried are scaled from a copy reduced to about their size.
	RunResult scaled = Run({"convert", "large.png", "scaled.pdb"});
	ASSERT_EQ(scaled.exitCode, 0) << scaled.err;
	EXPECT_LT(scaled.peakMemory, 120 * kMiB);
}

TEST_F(MemoryTest, PictureOverTheLimitIsRefusedBeforeItsBitmapExists)
{
	// A header claiming 16384 x 16384 32-bit pixels, 1 GiB, and no rows.
	WriteBytes(Path("claim.bits"), MakeBitmapStream(B_RGB32, 16383, 16383,
		65536, 65536u * 16384u, Bytes()));
	// In 400 MB of address space the bitmap cannot even be mapped: the
	// refusal must come before it is asked for.
	RunResult refused = Shell("ulimit -v 400000 && $Q convert claim.bits "
		"out.pdb");
	EXPECT_EQ(refused.exitCode, 1);
	EXPECT_EQ(refused.err, "quorvel: claim.bits: image too large for its "
		"file: 16384 x 16384 pixels from 32 bytes, more than the 16777216 it "
		"may claim unless --max-pixels N (or QUORVEL_MAX_PIXELS=N) is "
		"given\n");

	RunResult raised = Shell("ulimit -v 400000 && $Q convert " + std::string(
		kAtTheCap) + " claim.bits out.pdb");
	EXPECT_EQ(raised.exitCode, 1);
	EXPECT_EQ(raised.err, "quorvel: claim.bits: out of memory\n");
	EXPECT_FALSE(std::filesystem::exists(Path("out.pdb")));
}

} // namespace
