// The command's plain answers: usage, help, version, identify as stored
// and in JSON, quiet and verbose, batches without --to, folders walked.
#include <random>

#include <nlohmann/json.hpp>

#include "HostTool.h"

namespace {

namespace fs = std::filesystem;

class HabitsTest : public HostTest {
protected:
	void WritePicture(const std::string &name)
	{
		WriteBytes(Path(name), BytesOfText("P5 4 2 255\n" + std::string(8,
			'\x40')));
	}

	// A photo's worth of detail: noise, which no packing shortens.
	void WritePhoto(const std::string &name, int width, int height)
	{
		std::mt19937 noise(width);
		std::string rgb((size_t)width * height * 3, '\0');
		for (char &sample : rgb) {
			sample = (char)noise();
		}
		WriteBytes(Path(name), BytesOfText("P6 " + std::to_string(width)
			+ " " + std::to_string(height) + " 255\n" + rgb));
	}

	// The record of a Pilot image quorvel wrote: all after its 86 bytes of
	// database header and record entry.
	size_t RecordBytes(const std::string &name)
	{
		return ReadBytes(Path(name)).size() - 86;
	}
};

TEST_F(HabitsTest, HelpUsageAndVersionAnswerPlainly)
{
	RunResult bare = Run({});
	EXPECT_EQ(bare.exitCode, 2);
	EXPECT_NE(bare.err.find("Usage: quorvel COMMAND"), std::string::npos);
	for (const std::vector<std::string> &asking : {
			std::vector<std::string>{"help", "convert"},
			std::vector<std::string>{"convert", "--help"}}) {
		RunResult help = Run(asking);
		EXPECT_EQ(help.exitCode, 0);
		EXPECT_EQ(help.out.rfind("Usage: quorvel convert", 0), 0u)
			<< help.out;
	}
	EXPECT_NE(Run({"help"}).out.find("--depth 1|2|4|auto"), std::string::npos);
	EXPECT_EQ(Run({"help", "nothing"}).exitCode, 2);
	EXPECT_EQ(Run({"-V"}).out.rfind("quorvel ", 0), 0u);
	RunResult jpeg = Run({"convert", "a.png", "out.xyz"});
	EXPECT_NE(jpeg.err.find("jpg"), std::string::npos) << jpeg.err;
}

TEST_F(HabitsTest, IdentifyJsonGivesOneObjectAFileWithTheStoredFacts)
{
	WritePicture("grey.pgm");
	ASSERT_EQ(Run({"convert", "--no-compression", "grey.pgm", "grey.pdb"})
		.exitCode, 0);
	RunResult result = Run({"identify", "--json", "grey.pgm", "grey.pdb"});
	ASSERT_EQ(result.exitCode, 0) << result.err;
	std::istringstream lines(result.out);
	std::string line;
	std::getline(lines, line);
	nlohmann::ordered_json pgm = nlohmann::ordered_json::parse(line);
	EXPECT_EQ(pgm["width"], 4);
	EXPECT_EQ(pgm["bits_per_pixel"], 8);
	EXPECT_EQ(pgm["bits_per_sample"], 8);
	EXPECT_EQ(pgm["colour_kind"], "grey");
	EXPECT_EQ(pgm["alpha"], false);
	EXPECT_TRUE(pgm["database_name"].is_null());
	std::getline(lines, line);
	nlohmann::ordered_json pdb = nlohmann::ordered_json::parse(line);
	EXPECT_EQ(pdb["bits_per_pixel"], 2);
	EXPECT_EQ(pdb["bits_per_sample"], 2);
	EXPECT_EQ(pdb["colour_kind"], "grey");
	EXPECT_EQ(pdb["database_name"], "grey");
	EXPECT_EQ(pdb["packed"], false);
	EXPECT_EQ(pdb["row_bytes"], 40);
	EXPECT_EQ(pdb["cut_short"], false);
	// One schema: the same keys, in the same order, for every format.
	std::vector<std::string> pgmKeys;
	std::vector<std::string> pdbKeys;
	for (const auto &item : pgm.items()) {
		pgmKeys.push_back(item.key());
	}
	for (const auto &item : pdb.items()) {
		pdbKeys.push_back(item.key());
	}
	EXPECT_EQ(pgmKeys, pdbKeys);
	EXPECT_EQ(Run({"convert", "--json", "grey.pgm", "x.png"}).exitCode, 2);
}

TEST_F(HabitsTest, BatchesPickTheirTargetAndWalkFoldersIntoAMirror)
{
	fs::create_directories(Path("in/sub"));
	WritePicture("in/a.pgm");
	WritePicture("in/sub/b.pgm");
	WriteBytes(Path("in/sub/notes.txt"), BytesOfText("not a picture"));
	RunResult refused = Run({"convert", "in", "-o", "out"});
	EXPECT_EQ(refused.exitCode, 2);
	EXPECT_NE(refused.err.find("-r converts"), std::string::npos);

	RunResult walked = Run({"convert", "-r", "-v", "in", "-o", "out/"});
	ASSERT_EQ(walked.exitCode, 0) << walked.err;
	EXPECT_TRUE(fs::exists(Path("out/a.pdb")));
	EXPECT_NE(walked.err.find("in/sub/b.pgm -> out/sub/b.pdb\n"),
		std::string::npos) << walked.err;
	EXPECT_NE(walked.err.find("1 other file skipped"), std::string::npos)
		<< walked.err;

	// Pilot images go back to PNG without --to.
	RunResult back = Run({"convert", "-q", "out/a.pdb", "out/sub/b.pdb", "-o",
		"back"});
	ASSERT_EQ(back.exitCode, 0) << back.err;
	EXPECT_EQ(back.err, "");
	EXPECT_EQ(Listing("back"), (std::vector<std::string>{"a.png", "b.png"}));
}

// A folder for nobody to read, a picture for nobody to open, a tree too
// deep to open at the end (its paths longer than PATH_MAX), and files no
// translator reads: the first three are failures named one a line, the
// last are named after the batch, the first few by path. Run as root, the
// walk is made by nobody, for whom permissions hold.
TEST_F(HabitsTest, WalksNameWhatTheyCannotReadAndWhatTheySkip)
{
	std::string asUser;
	if (geteuid() == 0) {
		if (Shell("command -v setpriv").exitCode != 0) {
			GTEST_SKIP() << "run as root, without setpriv to be another user";
		}
		asUser = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
		fs::permissions(fFolder, fs::perms::all);
	}
	fs::create_directories(Path("w/locked"));
	fs::create_directories(Path("w/sub"));
	WritePicture("w/a.pgm");
	WritePicture("w/locked/b.pgm");
	WritePicture("w/sub/c.pgm");
	WritePicture("w/sub/secret.pgm");
	fs::permissions(Path("w/locked"), fs::perms::none);
	fs::permissions(Path("w/sub/secret.pgm"), fs::perms::none);
	for (int i = 1; i <= 6; i++) {
		WriteBytes(Path("w/n" + std::to_string(i) + ".txt"),
			BytesOfText("not a picture"));
	}
	// 2100 levels of "d/", made a level at a time from the one above.
	int folder = open(Path("w").c_str(), O_RDONLY | O_DIRECTORY);
	for (int level = 0; level < 2100 && folder >= 0; level++) {
		mkdirat(folder, "d", 0755);
		int below = openat(folder, "d", O_RDONLY | O_DIRECTORY);
		close(folder);
		folder = below;
		if (level == 4) {
			WritePicture("w/d/d/d/d/d/p.pgm");
		}
	}
	ASSERT_GE(folder, 0);
	close(folder);

	RunResult walked = Shell(asUser + "$Q convert -r w -o out");
	// The tree is too deep for the test folder's removal.
	Shell("rm -rf w/d");
	EXPECT_EQ(walked.exitCode, 1);
	EXPECT_LT(walked.peakMemory, 64 << 20);
	std::vector<std::string> lines = walked.ErrorLines();
	for (const std::string &expected : {
			std::string("quorvel: w/locked: cannot read the folder: permission "
				"denied"),
			std::string("quorvel: w/sub/secret.pgm: permission denied"),
			std::string("quorvel: skipped 6 files no translator reads: "
				"w/n1.txt, w/n2.txt, w/n3.txt, w/n4.txt, w/n5.txt and 1 more"),
			std::string("quorvel: 3 of 6 files failed")}) {
		EXPECT_EQ(std::count(lines.begin(), lines.end(), expected), 1)
			<< expected << "\n" << walked.err;
	}
	EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string
		&line) {
		return line.rfind("quorvel: w/d/d/d/", 0) == 0 && line.find(": path "
			"too long (more than 4096 bytes)") != std::string::npos;
	}), 1) << walked.err.substr(0, 1000);
	for (const char *output : {"out/a.pdb", "out/sub/c.pdb",
			"out/d/d/d/d/d/p.pdb"}) {
		EXPECT_TRUE(fs::exists(Path(output))) << output;
	}
}

TEST_F(HabitsTest, RefusalsSayWhatCanBeDoneInstead)
{
	WritePicture("a.pgm");
	for (const std::vector<std::string> &asking : {
			std::vector<std::string>{"convert", "a.pgm", "a.gif"},
			std::vector<std::string>{"convert", "--to", "gif", "a.pgm", "-"}}) {
		RunResult gif = Run(asking);
		EXPECT_EQ(gif.exitCode, 2);
		EXPECT_NE(gif.err.find("GIF pictures are read, not written: use pdb, "
			"png, jpg"), std::string::npos) << gif.err;
	}
	WriteBytes(Path("wide.pgm"), BytesOfText("P5 40000 1 255\n"
		+ std::string(40000, '\x80')));
	RunResult wide = Run({"convert", "wide.pgm", "wide.pdb"});
	EXPECT_EQ(wide.exitCode, 1);
	EXPECT_EQ(wide.err, "quorvel: wide.pgm: too large for a Pilot image: "
		"40000 x 1 pixels (at most 32767 a side; --fit screen scales it to "
		"160 x 1)\n");
	EXPECT_EQ(Run({"convert", "--fit", "screen", "wide.pgm", "wide.pdb"})
		.exitCode, 0);
}

TEST_F(HabitsTest, PilotImagesAreOnesAHandheldLoadsAndNotesAreSaidOnce)
{
	WritePhoto("photo.ppm", 640, 480);
	RunResult scaled = Run({"convert", "photo.ppm", "photo.pdb"});
	ASSERT_EQ(scaled.exitCode, 0) << scaled.err;
	EXPECT_EQ(scaled.err, "quorvel: photo.ppm: scaled from 640 x 480 to 588 x "
		"441, the largest size whose record a handheld loads (--full-size "
		"keeps the full size)\n");
	EXPECT_LE(RecordBytes("photo.pdb"), 65505u);
	EXPECT_GT(RecordBytes("photo.pdb"), 64000u) << "the largest that fits";

	// Every depth, packed or plain, and a black-and-white picture that
	// stays so: the largest size that fits, said in one line.
	std::string noise(1200 * 1200 / 8, '\0');
	std::mt19937 bits(7);
	for (char &byte : noise) {
		byte = (char)bits();
	}
	WriteBytes(Path("bw.pbm"), BytesOfText("P4 1200 1200\n" + noise));
	const struct {
		std::vector<std::string> options;
		const char *input;
		int pixelType;
	} kinds[] = {
		{{"--depth", "4"}, "photo.ppm", 0x02},
		{{"--no-compression"}, "photo.ppm", 0x00},
		{{}, "bw.pbm", 0xFF},
	};
	for (const auto &kind : kinds) {
		std::vector<std::string> asking = {"convert", kind.input, "kind.pdb"};
		asking.insert(asking.end(), kind.options.begin(), kind.options.end());
		RunResult result = Run(asking);
		SCOPED_TRACE(kind.input + (kind.options.empty() ? std::string()
			: " " + kind.options[0]));
		ASSERT_EQ(result.exitCode, 0) << result.err;
		EXPECT_EQ(result.ErrorLines().size(), 1u) << result.err;
		EXPECT_NE(result.err.find(": scaled from "), std::string::npos);
		EXPECT_LE(RecordBytes("kind.pdb"), 65505u);
		EXPECT_GT(RecordBytes("kind.pdb"), 62000u) << "the largest that fits";
		EXPECT_EQ(ReadPilotFile(ReadBytes(Path("kind.pdb"))).pixelType,
			kind.pixelType);
	}

	RunResult whole = Run({"convert", "--full-size", "photo.ppm", "whole.pdb"});
	ASSERT_EQ(whole.exitCode, 0) << whole.err;
	EXPECT_EQ(whole.ErrorLines().size(), 1u) << whole.err;
	EXPECT_NE(whole.err.find("handhelds will not load this file"),
		std::string::npos) << whole.err;
	EXPECT_GT(RecordBytes("whole.pdb"), 65505u);

	// Twelve photos fitted say nothing; twelve small ones one line, naming
	// no option already given.
	fs::create_directories(Path("photos"));
	fs::create_directories(Path("small"));
	for (int i = 0; i < 12; i++) {
		WritePhoto("photos/" + std::to_string(i) + ".ppm", 400, 300);
		WritePhoto("small/" + std::to_string(i) + ".ppm", 40, 30);
	}
	for (const std::vector<std::string> &fitted : {
			std::vector<std::string>{"--fit", "screen"},
			std::vector<std::string>{"--fit", "screen", "--enlarge"}}) {
		std::vector<std::string> batch = {"convert", "-j", "2", "photos",
			"-r", "-o", "fitted"};
		batch.insert(batch.end(), fitted.begin(), fitted.end());
		RunResult result = Run(batch);
		EXPECT_EQ(result.exitCode, 0) << result.err;
		EXPECT_EQ(result.err, "") << fitted.back();
	}
	RunResult small = Run({"convert", "-r", "small", "-o", "padded"});
	EXPECT_EQ(small.err, "quorvel: 12 pictures are padded with white to the "
		"handheld's screen (--fit screen --enlarge scales them up to fit "
		"it)\n");

	// A name that is not the file's own is said.
	RunResult piped = Shell("$Q convert --to pdb - piped.pdb < small/1.ppm");
	EXPECT_NE(piped.err.find("quorvel: standard input: the database is "
		"named \""), std::string::npos) << piped.err;
	EXPECT_NE(piped.err.find("made up for standard input"),
		std::string::npos) << piped.err;
	ASSERT_EQ(Run({"settings", "name=Holiday"}).exitCode, 0);
	RunResult stored = Run({"convert", "photos/1.ppm", "stored.pdb"});
	EXPECT_EQ(stored.err, "quorvel: photos/1.ppm: the database is named "
		"\"Holiday\", the stored name (--name NAME names it)\n");
	EXPECT_EQ(Run({"convert", "--name", "Given", "photos/1.ppm", "given.pdb"})
		.err, "");
}

} // namespace
