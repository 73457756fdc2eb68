// Many files into a folder: in parallel, one bad file not stopping the
// others, the exit status telling whether all succeeded.
#include "HostTool.h"

namespace {

class BatchTest : public HostTest {
protected:
	void WriteGoodFiles(int count)
	{
		for (int i = 0; i < count; i++) {
			WriteBytes(Path("good" + std::to_string(i) + ".png"),
				MakePng(8, 8, 8, 0, Bytes(64, (uint8)(i * 30))));
		}
	}
};

TEST_F(BatchTest, OneCorruptFileFailsAloneAndTheExitStatusSaysSo)
{
	WriteGoodFiles(5);
	Bytes corrupt = MakePng(8, 8, 8, 0, Bytes(64, 7));
	corrupt.resize(corrupt.size() - 30);  // cut inside the pixel data
	WriteBytes(Path("corrupt.png"), corrupt);

	// -q: the lines about small pictures padded would crowd the failure.
	RunResult result = Run({"convert", "-q", "--to", "pdb", "good0.png",
		"good1.png", "corrupt.png", "good2.png", "good3.png", "good4.png",
		"-o", "out", "-j", "3"});
	EXPECT_EQ(result.exitCode, 1);
	std::vector<std::string> lines = result.ErrorLines();
	ASSERT_EQ(lines.size(), 2u) << result.err;
	EXPECT_EQ(lines[0].rfind("quorvel: corrupt.png: not a readable PNG", 0),
		0u) << lines[0];
	EXPECT_EQ(lines[1], "quorvel: 1 of 6 files failed");

	EXPECT_EQ(Listing("out"), (std::vector<std::string>{"good0.pdb",
		"good1.pdb", "good2.pdb", "good3.pdb", "good4.pdb"}));
	for (int i = 0; i < 5; i++) {
		std::string name = "good" + std::to_string(i);
		PilotFile pilot = ReadPilotFile(ReadBytes(Path("out/" + name
			+ ".pdb")));
		EXPECT_EQ(pilot.name, name);
		EXPECT_EQ(pilot.width, 160);
	}
}

TEST_F(BatchTest, AllGoodFilesSucceedQuietlyInEveryFormat)
{
	WriteGoodFiles(3);
	RunResult toPilot = Run({"convert", "-q", "--to=pdb", "-j2", "good0.png",
		"good1.png", "good2.png", "--output-dir", "pilot"});
	EXPECT_EQ(toPilot.exitCode, 0);
	EXPECT_EQ(toPilot.err, "") << "no progress line off a terminal";

	RunResult back = Run({"convert", "--to", "png", "pilot/good0.pdb",
		"pilot/good1.pdb", "pilot/good2.pdb", "-o", "back"});
	EXPECT_EQ(back.exitCode, 0) << back.err;
	EXPECT_EQ(Listing("back"), (std::vector<std::string>{"good0.png",
		"good1.png", "good2.png"}));
}

TEST_F(BatchTest, TerminalShowsAProgressLineAndClearsIt)
{
	if (Shell("command -v script").exitCode != 0) {
		GTEST_SKIP() << "no script(1) to give quorvel a terminal";
	}
	WriteGoodFiles(2);
	RunResult result = Shell("script -qec \"$Q convert --to pdb good0.png "
		"good1.png -o out\" /dev/null > terminal.txt");
	ASSERT_EQ(result.exitCode, 0) << result.err;
	Bytes shown = ReadBytes(Path("terminal.txt"));
	std::string text(shown.begin(), shown.end());
	EXPECT_NE(text.find("[2/2] good"), std::string::npos) << text;
	// The progress line is cleared for the summary.
	EXPECT_NE(text.find("\r\033[Kquorvel: 2 files converted into out"),
		std::string::npos) << text;
}

TEST_F(BatchTest, AmbiguousOrIncompleteBatchesAreUsageErrors)
{
	WriteGoodFiles(1);
	std::filesystem::create_directory(Path("other"));
	std::filesystem::copy_file(Path("good0.png"), Path("other/good0.png"));

	RunResult clash = Run({"convert", "--to", "pdb", "good0.png",
		"other/good0.png", "-o", "out"});
	EXPECT_EQ(clash.exitCode, 2);
	EXPECT_NE(clash.err.find("would both be written to out/good0.pdb"),
		std::string::npos) << clash.err;

	EXPECT_EQ(Run({"convert", "--to", "pdb", "-o", "out"}).exitCode, 2);
	EXPECT_EQ(Run({"convert", "--to", "pdb", "good0.png", "-o", "out",
		"-j", "0"}).exitCode, 2);
	EXPECT_FALSE(std::filesystem::exists(Path("out")));
}

TEST_F(BatchTest, OutputsThatAreInputsAreRefusedAndTheOthersGoOn)
{
	// pic.png would be written over itself, and a.pdb's output is the
	// input a.png (a hard link to it counts as well).
	WriteGoodFiles(1);
	std::filesystem::rename(Path("good0.png"), Path("pic.png"));
	ASSERT_EQ(Run({"convert", "pic.png", "a.pdb"}).exitCode, 0);
	std::filesystem::create_hard_link(Path("pic.png"), Path("a.png"));
	ASSERT_EQ(Run({"convert", "pic.png", "b.pdb"}).exitCode, 0);
	Bytes picture = ReadBytes(Path("pic.png"));

	RunResult result = Run({"convert", "--to", "png", "pic.png", "a.pdb",
		"b.pdb", "-o", "."});
	EXPECT_EQ(result.exitCode, 1);
	std::vector<std::string> lines = result.ErrorLines();
	std::sort(lines.begin(), lines.end());
	EXPECT_EQ(lines, (std::vector<std::string>{
		"quorvel: ./a.png: is one of the inputs; not overwritten",
		"quorvel: ./pic.png: is one of the inputs; not overwritten",
		"quorvel: 2 of 3 files failed"}));
	EXPECT_EQ(ReadBytes(Path("pic.png")), picture);
	EXPECT_TRUE(std::filesystem::exists(Path("b.png")));
}

TEST_F(BatchTest, RefusedThreadsLeaveFewerJobsNotAnAbort)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
	GTEST_SKIP() << "the sanitizers need more address space than allowed";
#endif
	// Every thread's stack (the stack limit) is larger than the address
	// space allowed, so no thread starts and the batch runs on one.
	WriteGoodFiles(4);
	RunResult result = Shell("ulimit -v 4000000 && ulimit -s 8000000 && "
		"$Q convert -q --to pdb -j 8 good0.png good1.png good2.png good3.png "
		"-o out");
	EXPECT_EQ(result.exitCode, 0) << result.err;
	std::vector<std::string> lines = result.ErrorLines();
	ASSERT_EQ(lines.size(), 1u) << result.err;
	EXPECT_EQ(lines[0].rfind("quorvel: only 1 of 4 jobs could start (", 0),
		0u) << lines[0];
	EXPECT_EQ(Listing("out").size(), 4u);
}

} // namespace
