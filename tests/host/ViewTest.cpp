// quorvel view and convert --preview, drawn in a real terminal (tmux) and
// read back from its screen; skipped where tmux is missing.
#include <chrono>
#include <thread>

#include "HostTool.h"

namespace {

namespace fs = std::filesystem;

class ViewTest : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		fSession = "quorvel-view-" + std::to_string(getpid());
		// Left black, right white.
		std::string pixels;
		for (int y = 0; y < 20; y++) {
			pixels += std::string(20, '\0') + std::string(20, '\xFF');
		}
		WriteBytes(Path("halves.pgm"), BytesOfText("P5 40 20 255\n"
			+ pixels));
	}

	void TearDown() override
	{
		Shell(Tmux() + "kill-server 2>/dev/null");
		HostTest::TearDown();
	}

	// The screen of an 80 x 12 terminal after the command line ran in it,
	// with its colours as escape sequences. The end is read from the
	// terminal itself: after the command, the shell sets the pane's title,
	// and what the command wrote reached the pane before the title did.
	// Each screen has a tmux server of its own, so none meets one still
	// shutting down.
	std::string Screen(const std::string &environment,
		const std::string &command)
	{
		fSession = "quorvel-view-" + std::to_string(getpid()) + "-"
			+ std::to_string(++fScreens);
		Shell(Tmux() + "new-session -d -s view -x 80 -y 12 \"cd "
			+ fFolder + " && env " + environment + " $Q " + command
			+ "; printf '\\033]2;" + kEndTitle + "\\007'; "
			"sleep 600\"");
		auto deadline = std::chrono::steady_clock::now()
			+ std::chrono::minutes(5);
		while (Shell(Tmux() + "display-message -p -t view '#{pane_title}'")
				.out != std::string(kEndTitle) + "\n"
			&& std::chrono::steady_clock::now() < deadline) {
			std::this_thread::sleep_for(std::chrono::milliseconds(50));
		}
		RunResult capture = Shell(Tmux() + "capture-pane -e -p -t view");
		Shell(Tmux() + "kill-server");
		return capture.out;
	}

	// A tmux server of the test's own, which no other tmux user shares.
	std::string Tmux() const { return "tmux -L " + fSession + " "; }

	static constexpr const char *kEndTitle = "quorvel-test-done";
	int fScreens = 0;
	std::string fSession;
};

TEST_F(ViewTest, DrawsHalfBlocksInTrueColourOrGreys)
{
	if (Shell("command -v tmux").exitCode != 0) {
		GTEST_SKIP() << "no tmux to give quorvel a terminal";
	}
	std::string colour = Screen("COLORTERM=truecolor", "view halves.pgm");
	EXPECT_NE(colour.find("halves.pgm (40 x 20)"), std::string::npos)
		<< colour;
	EXPECT_NE(colour.find("\xe2\x96\x80"), std::string::npos) << colour;
	// tmux reports a 24-bit colour it keeps as 38;2; black and white
	// both appear.
	EXPECT_NE(colour.find("38;2;0;0;0"), std::string::npos) << colour;
	EXPECT_NE(colour.find("38;2;255;255;255"), std::string::npos) << colour;

	std::string greys = Screen("COLORTERM=", "view halves.pgm");
	EXPECT_EQ(greys.find("38;2;"), std::string::npos) << greys;
	EXPECT_NE(greys.find("\xe2\x96\x80"), std::string::npos) << greys;

	std::string preview = Screen("COLORTERM=truecolor",
		"convert --preview halves.pgm");
	EXPECT_NE(preview.find("as a Pilot image (160 x 160, not written)"),
		std::string::npos) << preview;
	EXPECT_FALSE(fs::exists(Path("halves.pdb")));
}

TEST_F(ViewTest, RefusesAnythingButATerminalUnlessForced)
{
	RunResult piped = Run({"view", "halves.pgm"});
	EXPECT_EQ(piped.exitCode, 1);
	EXPECT_EQ(piped.out, "");
	EXPECT_NE(piped.err.find("--force"), std::string::npos);
	RunResult forced = Run({"view", "--force", "halves.pgm"});
	EXPECT_EQ(forced.exitCode, 0) << forced.err;
	EXPECT_NE(forced.out.find("\xe2\x96\x80"), std::string::npos);
}

} // namespace
