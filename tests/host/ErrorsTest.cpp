// Every failure prints one line naming the file and the reason, exits with
// 1 (2 for a usage error), and leaves no partial output behind and any
// existing output as it was.
#include "HostTool.h"
#include "PilotImageBytes.h"

namespace {

class ErrorsTest : public HostTest {
protected:
	// Runs a conversion that must fail with one line containing reason,
	// over an output that already holds "keep". The output must still hold
	// it, and nothing else may appear in the folder.
	void ExpectFailure(const std::vector<std::string> &arguments,
		const std::string &file, const std::string &reason,
		const std::string &output = "out.pdb")
	{
		WriteBytes(Path(output), BytesOfText("keep"));
		std::vector<std::string> before = Listing();
		RunResult result = Run(arguments);
		EXPECT_EQ(result.exitCode, 1);
		std::vector<std::string> lines = result.ErrorLines();
		ASSERT_EQ(lines.size(), 1u) << result.err;
		EXPECT_EQ(lines[0].rfind("quorvel: " + file + ": ", 0), 0u)
			<< lines[0];
		EXPECT_NE(lines[0].find(reason), std::string::npos) << lines[0];
		for (const char *status : {"B_NO_TRANSLATOR", "B_ILLEGAL_DATA",
				"B_BAD_VALUE", "B_ERROR", "B_NO_MEMORY"}) {
			EXPECT_EQ(lines[0].find(status), std::string::npos)
				<< "a status in words, not its constant: " << lines[0];
		}
		EXPECT_EQ(ReadBytes(Path(output)), BytesOfText("keep"));
		EXPECT_EQ(Listing(), before) << "no temporary file left";
	}
};

TEST_F(ErrorsTest, UnreadableInputsAreNamedWithTheirReason)
{
	ExpectFailure({"convert", "missing.png", "out.pdb"}, "missing.png",
		"not found");

	WriteBytes(Path("notes.txt"), BytesOfText("just some text\n"));
	ExpectFailure({"convert", "notes.txt", "out.pdb"}, "notes.txt",
		"not a recognised image");
	WriteBytes(Path("empty.png"), Bytes());
	ExpectFailure({"convert", "empty.png", "out.pdb"}, "empty.png",
		"not a recognised image");

	Bytes png = MakePng(8, 8, 8, 0, Bytes(64, 9));
	png[40] ^= 0xFF;  // inside IDAT: its checksum no longer matches
	WriteBytes(Path("damaged.png"), png);
	ExpectFailure({"convert", "damaged.png", "out.pdb"}, "damaged.png",
		"not a readable PNG image");

	Bytes jpeg = ReadBytes(std::string(QUORVEL_SOURCE_DIR)
		+ "/samples/scene.jpg");
	jpeg.resize(jpeg.size() / 2);
	WriteBytes(Path("half.jpg"), jpeg);
	ExpectFailure({"convert", "half.jpg", "out.pdb"}, "half.jpg",
		"cut short");

	WriteBytes(Path("short.pgm"), BytesOfText("P5 4 4 255\nabc"));
	ExpectFailure({"convert", "short.pgm", "out.pdb"}, "short.pgm",
		"cut short");

	// Run-length data that ends its picture after 3 of 8 rows decodes, the
	// rest white, as a Pilot image cut short does: a warning, and with
	// --strict a refusal. Stored bottom up, the rows missing are the top
	// ones; stored top down, the bottom ones.
	BmpFields early;
	early.width = 8;
	early.height = 8;
	early.bitsPerPixel = 8;
	early.compression = 1;
	early.colourTable = Bytes(8, 0);
	early.data = {8, 1, 0, 0, 8, 1, 0, 0, 8, 1, 0, 0, 4, 1, 0, 1};
	WriteBytes(Path("early.bmp"), MakeBmp(early));
	std::string missing = "cut short: 36 of 64 pixels missing (the top 5 "
		"of 8 rows)";
	ExpectFailure({"convert", "--strict", "early.bmp", "out.png"}, "early.bmp",
		missing + "; refused with --strict", "out.png");
	RunResult warned = Run({"convert", "early.bmp", "out.png"});
	EXPECT_EQ(warned.exitCode, 0);
	EXPECT_EQ(warned.err, "quorvel: early.bmp: warning: " + missing
		+ ", shown white\n");
	early.height = -8;
	WriteBytes(Path("early.bmp"), MakeBmp(early));
	missing.replace(missing.find("top"), 3, "last");
	EXPECT_EQ(Run({"convert", "early.bmp", "out.png"}).err,
		"quorvel: early.bmp: warning: " + missing + ", shown white\n");
}

TEST_F(ErrorsTest, FilesCutAnywhereFailCleanlyOrConvert)
{
	// Every cut of a PNM, a bitmap stream and a Pilot image either still
	// converts (a Pilot image may lose pixel data) or fails with one line;
	// never a crash, never a partial output.
	std::string pnm = "P6 7 5 65535\n" + std::string(7 * 5 * 6, '\x41');
	WriteBytes(Path("full.ppm"), BytesOfText(pnm));
	ASSERT_EQ(Run({"convert", "full.ppm", "full.pdb"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "full.pdb", "full.bits"}).exitCode, 0);
	for (const char *name : {"full.ppm", "full.bits", "full.pdb"}) {
		Bytes whole = ReadBytes(Path(name));
		for (size_t cut : {0, 2, 12, 31, 33, 77, 85, 143, 145, 400}) {
			if (cut >= whole.size()) {
				continue;
			}
			WriteBytes(Path("cut"), Bytes(whole.begin(), whole.begin() + cut));
			RunResult result = Run({"convert", "cut", "cut.png"});
			SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(cut));
			ASSERT_TRUE(result.exitCode == 0 || result.exitCode == 1);
			EXPECT_EQ(std::filesystem::exists(Path("cut.png")),
				result.exitCode == 0);
			if (result.exitCode == 1) {
				EXPECT_EQ(result.ErrorLines().size(), 1u) << result.err;
			}
			std::filesystem::remove(Path("cut.png"));
		}
	}
}

TEST_F(ErrorsTest, DepthsAndStreamsTheTranslatorCannotTakeAreRefused)
{
	WriteBytes(Path("gray8.bits"), MakeBitmapStream(B_GRAY8, 1, 0, 2, 2,
		{0, 255}));
	ExpectFailure({"convert", "gray8.bits", "out.pdb"}, "gray8.bits",
		"unsupported depth");

	// dataSize disagrees with rowBytes times rows: no bitmap holds it.
	WriteBytes(Path("odd.bits"), MakeBitmapStream(B_RGB32, 0, 0, 4, 8,
		{0, 0, 0, 255}));
	ExpectFailure({"convert", "odd.bits", "out.pdb"}, "odd.bits",
		"not a readable bitmap stream");
}

TEST_F(ErrorsTest, PicturesBeyondTheLimitsAreRefusedBeforeAllocating)
{
	WriteBytes(Path("huge.pgm"), BytesOfText("P5 20000 20000 255\n"));
	ExpectFailure({"convert", "huge.pgm", "out.pdb"}, "huge.pgm",
		"image too large");

	// A PNG header claiming 30000 x 30000 pixels over one byte of data.
	Bytes png = MakePng(1, 1, 8, 0, {0});
	Bytes claim = {0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30, 8, 0, 0, 0, 0};
	std::copy(claim.begin(), claim.end(), png.begin() + 16);
	uint32 crc = Crc32(png.data() + 12, 17);
	for (int i = 0; i < 4; i++) {
		png[29 + i] = (uint8)(crc >> (24 - 8 * i));
	}
	WriteBytes(Path("huge.png"), png);
	ExpectFailure({"convert", "huge.png", "out.pdb"}, "huge.png",
		"image too large");

	// The Pilot translator says why it refuses one of its own files.
	WriteBytes(Path("huge.pdb"), PilotImageOfType(20000, 20000, 0, 0,
		Bytes()));
	ExpectFailure({"convert", "huge.pdb", "out.png"}, "huge.pdb",
		"20000 x 20000 is more pixels than a Pilot image may hold",
		"out.png");
	WriteBytes(Path("flat.pdb"), PilotImageOfType(160, 0, 0, 0, Bytes()));
	ExpectFailure({"convert", "flat.pdb", "out.png"}, "flat.pdb",
		"160 x 0 is no picture", "out.png");

	// Within the limits, but wider than a Pilot image can be.
	WriteBytes(Path("wide.pbm"), BytesOfText("P4 40000 1\n"
		+ std::string(5000, '\0')));
	ExpectFailure({"convert", "wide.pbm", "out.pdb"}, "wide.pbm",
		"too large for a Pilot image: 40000 x 1 pixels (at most 32767 a "
		"side; --fit screen");
	WriteBytes(Path("wide.bits"), MakeBitmapStream(B_GRAY1, 39999, 0, 5000,
		5000, Bytes(5000)));
	ExpectFailure({"convert", "wide.bits", "out.pdb"}, "wide.bits",
		"too large for a Pilot image: 40000 x 1 pixels");
}

TEST_F(ErrorsTest, PixelLimitIsNamedAndRaisedByOptionOrEnvironment)
{
	// 12000 x 12000 pixels, above the default 128 Mpx; its rows cut short,
	// but 9 MiB of them: a file that size may hold that many pixels.
	WriteBytes(Path("big.bits"), MakeBitmapStream(B_GRAY1, 11999, 11999,
		1500, 1500 * 12000, Bytes(9 << 20)));
	ExpectFailure({"convert", "big.bits", "out.pdb"}, "big.bits",
		"image too large: 12000 x 12000 pixels, more than the limit of "
		"134217728 pixels (raise it with --max-pixels N or "
		"QUORVEL_MAX_PIXELS=N, up to 268435456)");
	// 5000 x 5000 from a few bytes: below the limit, past what so small a
	// file may claim unless a limit is given, in every command that reads
	// a picture.
	WriteBytes(Path("claim.bits"), MakeBitmapStream(B_GRAY1, 4999, 4999,
		625, 625 * 5000, Bytes(1500)));
	const std::string budget = "image too large for its file: 5000 x 5000 "
		"pixels from 1532 bytes, more than the 16777216 it may claim unless "
		"--max-pixels N (or QUORVEL_MAX_PIXELS=N) is given";
	ExpectFailure({"convert", "claim.bits", "out.png"}, "claim.bits", budget,
		"out.png");
	ExpectFailure({"view", "--force", "claim.bits"}, "claim.bits", budget);
	// A picture the host makes is held to the same limit.
	WriteBytes(Path("small.pgm"), BytesOfText("P2 2 1 255 0 255"));
	ExpectFailure({"convert", "--fit", "16384x8192", "--enlarge",
		"--max-pixels", "100000000", "small.pgm", "out.png"}, "small.pgm",
		"cannot fit it to 16384 x 8192: image too large: 16384 x 8192 "
		"pixels, more than the limit of 100000000", "out.png");
	RunResult given = Shell("QUORVEL_MAX_PIXELS=134217728 $Q convert "
		"claim.bits out.png 2>&1 | grep -q 'too large'");
	EXPECT_EQ(given.exitCode, 1) << "a given limit lifts the budget";

	// Raised, the picture is read and fails only for its missing rows.
	RunResult option = Run({"convert", "--max-pixels", "144000000",
		"big.bits", "out.pdb"});
	EXPECT_EQ(option.exitCode, 1);
	EXPECT_EQ(option.err.find("limit"), std::string::npos) << option.err;
	// Shell keeps no output: grep looks at it.
	RunResult environment = Shell("QUORVEL_MAX_PIXELS=144000000 $Q convert "
		"big.bits out.pdb 2>&1 | grep -q limit");
	EXPECT_EQ(environment.exitCode, 1) << "the limit is still named";

	for (const char *bad : {"0", "268435457", "12x", ""}) {
		RunResult result = Run({"convert", "--max-pixels", bad, "big.bits",
			"out.pdb"});
		EXPECT_EQ(result.exitCode, 2) << bad;
		EXPECT_NE(result.err.find("from 1 to 268435456"), std::string::npos)
			<< result.err;
	}
	RunResult badVariable = Shell("QUORVEL_MAX_PIXELS=lots $Q convert "
		"big.bits out.pdb 2>&1 | grep -q 'QUORVEL_MAX_PIXELS: needs a number'");
	EXPECT_EQ(badVariable.exitCode, 0);
}

TEST_F(ErrorsTest, WriteFailuresLeaveNothingBehind)
{
	WriteBytes(Path("in.pgm"), BytesOfText("P2 1 1 255 0"));

	RunResult noFolder = Run({"convert", "in.pgm", "absent/out.pdb"});
	EXPECT_EQ(noFolder.exitCode, 1);
	EXPECT_EQ(noFolder.err, "quorvel: absent/out.pdb: cannot write: folder "
		"absent not found\n");

	std::filesystem::create_directory(Path("folder.pdb"));
	RunResult folder = Run({"convert", "in.pgm", "folder.pdb"});
	EXPECT_EQ(folder.exitCode, 1);
	EXPECT_EQ(folder.err, "quorvel: folder.pdb: is a folder\n");

	RunResult full = Run({"convert", "in.pgm", "-", "--to", "pdb"},
		"/dev/null", "/dev/full");
	EXPECT_EQ(full.exitCode, 1);
	EXPECT_EQ(full.err, "quorvel: standard output: disk full\n");

	EXPECT_EQ(Listing(), (std::vector<std::string>{"folder.pdb", "in.pgm"}));
	EXPECT_TRUE(std::filesystem::is_empty(Path("folder.pdb")));
}

TEST_F(ErrorsTest, ReplacingAnOutputKeepsItsPermissions)
{
	WriteBytes(Path("in.pgm"), BytesOfText("P2 1 1 255 0"));
	WriteBytes(Path("out.pdb"), BytesOfText("old"));
	std::filesystem::permissions(Path("out.pdb"),
		std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
		| std::filesystem::perms::group_read);
	ASSERT_EQ(Run({"convert", "in.pgm", "out.pdb"}).exitCode, 0);
	EXPECT_EQ(ReadPilotFile(ReadBytes(Path("out.pdb"))).name, "in");
	EXPECT_EQ(std::filesystem::status(Path("out.pdb")).permissions(),
		std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
		| std::filesystem::perms::group_read);
}

TEST_F(ErrorsTest, UsageErrorsExitWithTwo)
{
	const std::vector<std::vector<std::string>> misuses = {
		{},
		{"frobnicate"},
		{"convert", "only-one.png"},
		{"convert", "a.png", "b.tiff"},
		{"convert", "a.png", "b.pdb", "--to", "gif"},
		{"convert", "a.png", "b.pdb", "--bogus"},
		{"convert", "a.png", "b.pdb", "--name"},
		{"identify"},
		{"identify", "a.png", "--no-dither"},
		{"translators", "extra"},
	};
	for (const std::vector<std::string> &arguments : misuses) {
		RunResult result = Run(arguments);
		EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(arguments);
		EXPECT_NE(result.err.find("--help"), std::string::npos);
	}

	RunResult help = Run({"--help"});
	EXPECT_EQ(help.exitCode, 0);
	EXPECT_EQ(help.out.rfind("Usage: quorvel", 0), 0u);
	RunResult version = Run({"--version"});
	EXPECT_EQ(version.exitCode, 0);
	EXPECT_EQ(version.out.rfind("quorvel ", 0), 0u);
}

TEST_F(ErrorsTest, MissingTranslatorsAreReported)
{
	std::filesystem::create_directory(Path("nothing"));
	WriteBytes(Path("in.pgm"), BytesOfText("P2 1 1 255 0"));
	RunResult result = Run({"--translators", "nothing", "convert", "in.pgm",
		"out.pdb"});
	EXPECT_EQ(result.exitCode, 1);
	EXPECT_EQ(result.err.rfind("quorvel: nothing: no translators found", 0),
		0u) << result.err;
	EXPECT_FALSE(std::filesystem::exists(Path("out.pdb")));

	// Every translator the roster loaded, with what it reads and writes.
	RunResult listed = Run({"translators"});
	EXPECT_EQ(listed.exitCode, 0);
	for (const char *format : {"'PPiv' PalmPilot image (image/x-pilotimage)",
			"'PNG ' PNG image (image/png)", "'JPEG' JPEG image (image/jpeg)",
			"'PGM ' PGM image (image/x-portable-graymap)"}) {
		EXPECT_NE(listed.out.find(format), std::string::npos) << format;
	}
}

TEST_F(ErrorsTest, IdentifyCountsWhatALargeFileLacksInLittleMemory)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
	GTEST_SKIP() << "the sanitizers need more address space than allowed";
#endif
	// A sixteen-grey Pilot image of 16384 x 16384 pixels with no data: the
	// add-on reads its 128 MiB of pixel data (all missing) a row at a time
	// to tell whether it is cut short, in a space of 100 MB.
	WriteBytes(Path("big.pdb"), PilotImageOfType(16384, 16384,
		kSixteenGreyPixelType, 0, Bytes()));
	WriteBytes(Path("small.pgm"), BytesOfText("P2 1 1 255 0"));
	RunResult result = Shell("ulimit -v 100000 && $Q identify big.pdb "
		"small.pgm");
	EXPECT_EQ(result.exitCode, 0) << result.err;
	EXPECT_NE(result.out.find("big.pdb: PalmPilot image"), std::string::npos);
	EXPECT_NE(result.out.find("268435456 of 268435456 pixels missing"),
		std::string::npos) << result.out;
	EXPECT_NE(result.out.find("\nsmall.pgm: "), std::string::npos);
}

} // namespace
