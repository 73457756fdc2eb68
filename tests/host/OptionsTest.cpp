// The translator's options as quorvel passes them: database names from
// file names or --name, the option flags changing the Pilot image, and
// stored settings changing the next run.
#include <sys/stat.h>

#include <functional>
#include <regex>

#include "HostTool.h"

namespace {

class OptionsTest : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		WriteBytes(Path("grey.png"), MakePng(160, 160, 8, 0,
			Bytes(160 * 160, 128)));
	}

	// grey.png as a Pilot image, with the options given.
	Bytes Convert(const std::vector<std::string> &options,
		const std::string &input = "grey.png")
	{
		std::vector<std::string> arguments = {"convert", input, "out.pdb"};
		arguments.insert(arguments.end(), options.begin(), options.end());
		RunResult result = Run(arguments);
		EXPECT_EQ(result.exitCode, 0) << result.err;
		return ReadBytes(Path("out.pdb"));
	}
};

bool AllBytesAre(const Bytes &bytes, size_t from, size_t count, uint8 value)
{
	for (size_t i = from; i < from + count; i++) {
		if (bytes[i] != value) {
			return false;
		}
	}
	return true;
}

TEST_F(OptionsTest, DatabaseNamesComeFromTheFileNameUnlessGiven)
{
	std::filesystem::copy_file(Path("grey.png"), Path("beach.png"));
	EXPECT_EQ(ReadPilotFile(Convert({}, "beach.png")).name, "beach");
	EXPECT_EQ(ReadPilotFile(Convert({"--name", "Holiday pics"})).name,
		"Holiday pics");
	EXPECT_EQ(ReadPilotFile(Convert({"--name=Sunset"})).name, "Sunset");

	// Standard input has no file name: the translator makes one up.
	ASSERT_EQ(Run({"convert", "-", "out.pdb"}, Path("grey.png")).exitCode, 0);
	std::string made = ReadPilotFile(ReadBytes(Path("out.pdb"))).name;
	EXPECT_TRUE(std::regex_match(made, std::regex("[A-Z]{8} \\(160 x 160\\)")))
		<< made;
}

TEST_F(OptionsTest, FlagsChangeThePilotImage)
{
	// Grey 128: level 1 alone without dithering; levels 1 and 2 in turn,
	// and the other way round on the next row, with it.
	Bytes plain = Convert({"--no-compression", "--no-dither"});
	PilotFile file = ReadPilotFile(plain);
	EXPECT_EQ(file.packing, 0);
	ASSERT_EQ(file.size, 144u + 40u * 160u);
	EXPECT_TRUE(AllBytesAre(plain, 144, 40 * 160, 0x55));

	Bytes dithered = Convert({"--no-compression", "--dither"});
	EXPECT_TRUE(AllBytesAre(dithered, 144, 40, 0x66));
	EXPECT_TRUE(AllBytesAre(dithered, 144 + 40, 40, 0x99));

	Bytes packed = Convert({"--compression", "--no-dither"});
	EXPECT_EQ(ReadPilotFile(packed).packing, 1);
	EXPECT_LT(packed.size(), plain.size());

	// Grey 200 (darkness 55): light grey normally, white in high contrast.
	WriteBytes(Path("light.png"), MakePng(160, 160, 8, 0,
		Bytes(160 * 160, 200)));
	Bytes normal = Convert({"--no-compression", "--no-dither",
		"--no-high-contrast"}, "light.png");
	EXPECT_TRUE(AllBytesAre(normal, 144, 40 * 160, 0x55));
	Bytes contrast = Convert({"--no-compression", "--no-dither",
		"--high-contrast"}, "light.png");
	EXPECT_TRUE(AllBytesAre(contrast, 144, 40 * 160, 0x00));
}

TEST_F(OptionsTest, StoredSettingsChangeTheNextRun)
{
	RunResult shown = Run({"settings"});
	ASSERT_EQ(shown.exitCode, 0) << shown.err;
	EXPECT_EQ(shown.out.substr(0, shown.out.find('#')),
		"name=\ncompression=on\ndithering=on\nhigh-contrast=off\n");
	EXPECT_NE(shown.out.find("none stored yet"), std::string::npos);

	RunResult changed = Run({"settings", "compression=off", "name=Stored"});
	ASSERT_EQ(changed.exitCode, 0) << changed.err;
	EXPECT_EQ(changed.out.substr(0, changed.out.find('#')),
		"name=Stored\ncompression=off\ndithering=on\nhigh-contrast=off\n");
	EXPECT_TRUE(std::filesystem::exists(
		Path("config/TranslationKit/Quorvel.settings")));

	PilotFile stored = ReadPilotFile(Convert({}));
	EXPECT_EQ(stored.packing, 0);
	EXPECT_EQ(stored.name, "Stored");
	EXPECT_EQ(ReadPilotFile(Convert({"--compression"})).packing, 1)
		<< "the command line wins over stored settings";

	RunResult view = Run({"settings", "--view"});
	ASSERT_EQ(view.exitCode, 0) << view.err;
	EXPECT_NE(view.out.find("BTextControl \"Name\""), std::string::npos)
		<< view.out;
	EXPECT_NE(view.out.find("text \"Stored\""), std::string::npos);
	EXPECT_NE(view.out.find("label \"Compression\" value 0"),
		std::string::npos) << view.out;

	ASSERT_EQ(Run({"settings", "name=", "compression=on"}).exitCode, 0);
	stored = ReadPilotFile(Convert({}));
	EXPECT_EQ(stored.name, "grey");
	EXPECT_EQ(stored.packing, 1);
}

TEST_F(OptionsTest, SettingsRefuseUnknownKeysAndValuesAndStoreNothing)
{
	for (const char *bad : {"bogus=1", "dithering=maybe", "compression"}) {
		RunResult result = Run({"settings", "name=Never", bad});
		EXPECT_EQ(result.exitCode, 2) << bad;
		EXPECT_EQ(result.ErrorLines().size(), 2u) << result.err;
	}
	EXPECT_FALSE(std::filesystem::exists(Path("config/TranslationKit")));
}

TEST_F(OptionsTest, ConcurrentSettingsChangesBothSurvive)
{
	// Forty pairs of changes to different settings, each pair from the
	// defaults and at the same time.
	RunResult result = Shell("lost=0; for i in $(seq 40); do "
		"rm -f config/TranslationKit/Quorvel.settings; "
		"$Q settings compression=off >/dev/null & "
		"$Q settings dithering=off >/dev/null & wait; "
		"$Q settings | grep -cE '^(compression|dithering)=off$' | grep -qx 2"
		" || lost=$((lost + 1)); "
		"done; echo $lost");
	EXPECT_EQ(result.out, "0\n") << result.err;
}

TEST_F(OptionsTest, UnusableSettingsFileIsReportedWithTheDefaults)
{
	std::filesystem::create_directories(Path("config/TranslationKit"));
	WriteBytes(Path("config/TranslationKit/Quorvel.settings"),
		BytesOfText("compression=off\n"));
	RunResult shown = Run({"settings"});
	EXPECT_EQ(shown.exitCode, 0);
	EXPECT_EQ(shown.out, "name=\ncompression=on\ndithering=on\n"
		"high-contrast=off\n# defaults apply: " + Path("config/"
		"TranslationKit/Quorvel.settings") + " cannot be used (not a settings "
		"file, or damaged)\n");

	// A change replaces it.
	ASSERT_EQ(Run({"settings", "dithering=off"}).exitCode, 0);
	shown = Run({"settings"});
	EXPECT_NE(shown.out.find("dithering=off\n"), std::string::npos);
	EXPECT_NE(shown.out.find("# stored in "), std::string::npos) << shown.out;

	// Where the store cannot write, the reason is in words.
	std::filesystem::remove_all(Path("config/TranslationKit"));
	WriteBytes(Path("config/TranslationKit"), BytesOfText("in the way"));
	RunResult refused = Run({"settings", "dithering=on"});
	EXPECT_EQ(refused.exitCode, 1);
	EXPECT_EQ(refused.err, "quorvel: " + Path("config/TranslationKit/"
		"Quorvel.settings") + ": cannot store the settings (not a folder)\n");
}

// A FIFO, a device or a folder where the settings file goes is never
// opened (a FIFO would keep every command waiting) nor replaced: the
// defaults apply and the change is refused. A store stopped by a signal
// (here SIGXFSZ, the file size limit) leaves no file written aside.
TEST_F(OptionsTest, SettingsPathsThatHoldNoFileAreLeftAlone)
{
	const std::string settings = "config/TranslationKit/Quorvel.settings";
	std::filesystem::create_directories(Path("config/TranslationKit"));
	const struct {
		const char *kind;
		std::function<void()> make;
		const char *reason;
		const char *refusal;
	} kCases[] = {
		{"FIFO", [&] { mkfifo(Path(settings).c_str(), 0600); },
			"not a regular file", "not a regular file; left as it is"},
		{"device", [&] {
			std::filesystem::create_symlink("/dev/zero", Path(settings)); },
			"not a regular file", "not a regular file; left as it is"},
		{"folder", [&] { std::filesystem::create_directory(Path(settings)); },
			"is a folder", "is a folder"},
	};
	for (const auto &inTheWay : kCases) {
		SCOPED_TRACE(inTheWay.kind);
		std::filesystem::remove_all(Path(settings));
		inTheWay.make();
		RunResult shown = Shell("timeout 60 $Q settings | tail -n 1; "
			"timeout 60 $Q convert -q grey.png out.pdb; echo $?; "
			"timeout 60 $Q settings dithering=off; echo $?");
		EXPECT_EQ(shown.out, "# defaults apply: " + Path(settings)
			+ " cannot be used (" + inTheWay.reason + ")\n0\n1\n");
		EXPECT_EQ(shown.err, "quorvel: " + Path(settings) + ": cannot store "
			"the settings (" + inTheWay.refusal + ")\n");
		EXPECT_FALSE(std::filesystem::is_regular_file(Path(settings)));
	}

	std::filesystem::remove_all(Path(settings));
	RunResult stopped = Shell("ulimit -f 0; $Q settings dithering=off");
	EXPECT_EQ(stopped.exitCode, 128 + SIGXFSZ);
	EXPECT_EQ(Listing("config/TranslationKit"),
		(std::vector<std::string>{"Quorvel.settings.lock"}));
}

} // namespace
