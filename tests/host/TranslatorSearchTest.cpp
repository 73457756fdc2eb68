// Where quorvel finds its translators: --translators, else TRANSLATORS_PATH,
// else the user's add-on folder followed by the program's own folder, which
// is the build tree's or, for an installed tree, the one installed beside
// the program, wherever the tree has been moved.
#include "HostTool.h"

namespace {

namespace fs = std::filesystem;

class TranslatorSearchTest : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		fs::create_directory(Path("data"));
	}

	// "quorvel translators" as a user with the given environment, the
	// test's own data folder and no TRANSLATORS_PATH unless given.
	RunResult Translators(const std::string &program,
		const std::string &environment = "")
	{
		return Shell("env -u TRANSLATORS_PATH XDG_DATA_HOME=" + Path("data")
			+ " " + environment + " " + program + " translators");
	}

	std::string UserFolder()
	{
		return Path("data/TranslationKit/translators");
	}

	static std::string BuildFolder()
	{
		return std::string(QUORVEL_BINARY_DIR) + "/translators";
	}

	// An installed tree made by hand: the program copied into bin/, the
	// add-on into lib/quorvel/translators/.
	std::string MakeInstalledTree(const std::string &prefix)
	{
		fs::create_directories(Path(prefix + "/bin"));
		fs::create_directories(Path(prefix + "/lib/quorvel/translators"));
		fs::copy_file(QUORVEL_HOST_PATH, Path(prefix + "/bin/quorvel"));
		fs::create_symlink(QUORVEL_ADDON_PATH,
			Path(prefix + "/lib/quorvel/translators/Quorvel"));
		// The program finds the kit libraries beside the translators, as
		// installed, not in the build tree.
		for (const char *library : {"libbe.so", "libtranslation.so"}) {
			fs::create_symlink(std::string(QUORVEL_BINARY_DIR) + "/lib/"
				+ library, Path(prefix + "/lib/quorvel/" + library));
		}
		return Path(prefix + "/bin/quorvel");
	}
};

// The names of the translators listed, in the order they were loaded.
std::vector<std::string> ListedTranslators(const std::string &out)
{
	std::vector<std::string> names;
	std::istringstream in(out);
	for (std::string line; std::getline(in, line);) {
		size_t comma = line.find(", version ");
		if (comma != std::string::npos && line[0] != ' ') {
			names.push_back(line.substr(0, comma));
		}
	}
	return names;
}

bool Lists(const std::vector<std::string> &names, const std::string &name)
{
	return std::find(names.begin(), names.end(), name) != names.end();
}

bool Mentions(const RunResult &result, const std::string &text)
{
	return result.out.find(text) != std::string::npos;
}

TEST_F(TranslatorSearchTest, FromTheBuildTreeTheBuildTreesTranslatorsLoad)
{
	RunResult result = Translators("$Q");
	ASSERT_EQ(result.exitCode, 0) << result.err;
	EXPECT_TRUE(Mentions(result, "loaded from " + BuildFolder() + ":"))
		<< result.out;
	EXPECT_TRUE(Lists(ListedTranslators(result.out), "Quorvel")) << result.out;
}

TEST_F(TranslatorSearchTest, TheUsersFolderComesFirstAndKeepsTheProgramsOwn)
{
	fs::create_directories(UserFolder());
	fs::create_symlink(FAKE_LOW_PATH, UserFolder() + "/FakeLow");
	// A copy cut short, which the loader would map past its end, and a
	// note: each is named once and passed over.
	Bytes addOn = ReadBytes(QUORVEL_ADDON_PATH);
	addOn.resize(addOn.size() / 2);
	WriteBytes(UserFolder() + "/Half", addOn);
	WriteBytes(UserFolder() + "/README", BytesOfText("my translators\n"));

	RunResult result = Translators("$Q");
	ASSERT_EQ(result.exitCode, 0) << result.err;
	std::vector<std::string> skipped = result.ErrorLines();
	ASSERT_EQ(skipped.size(), 2u) << result.err;
	EXPECT_EQ(skipped[0], "quorvel: " + UserFolder() + "/Half: warning: "
		"skipped, not a translator add-on (cut short: its headers describe "
		"more than its " + std::to_string(addOn.size()) + " bytes)");
	EXPECT_NE(skipped[1].find("/README: warning: skipped, not a translator "
		"add-on (not a shared object)"), std::string::npos) << skipped[1];
	EXPECT_TRUE(Mentions(result, UserFolder() + ":" + BuildFolder()))
		<< result.out;
	std::vector<std::string> names = ListedTranslators(result.out);
	ASSERT_GE(names.size(), 2u) << result.out;
	EXPECT_EQ(names[0], "FakeLow");
	EXPECT_TRUE(Lists(names, "Quorvel")) << result.out;

	// The program's own translators still convert.
	WriteBytes(Path("in.pgm"), BytesOfText("P5 2 2 255\n\x10\x20\x30\x40"));
	RunResult convert = Shell("env -u TRANSLATORS_PATH XDG_DATA_HOME="
		+ Path("data") + " $Q convert in.pgm out.pdb");
	EXPECT_EQ(convert.exitCode, 0) << convert.err;
	EXPECT_EQ(convert.err.rfind(skipped[0] + "\n" + skipped[1] + "\n", 0), 0u)
		<< convert.err;
}

TEST_F(TranslatorSearchTest, TranslatorsPathAndTheOptionReplaceTheDefaults)
{
	fs::create_directories(UserFolder());
	fs::create_symlink(QUORVEL_ADDON_PATH, UserFolder() + "/Quorvel");
	std::string fakeOnly = std::string("TRANSLATORS_PATH=") + FAKE_LOW_PATH;

	RunResult fromVariable = Translators("$Q", fakeOnly);
	ASSERT_EQ(fromVariable.exitCode, 0) << fromVariable.err;
	EXPECT_EQ(ListedTranslators(fromVariable.out),
		std::vector<std::string>{"FakeLow"});

	RunResult fromOption = Translators("$Q --translators " + BuildFolder(),
		fakeOnly);
	ASSERT_EQ(fromOption.exitCode, 0) << fromOption.err;
	EXPECT_TRUE(Mentions(fromOption, "loaded from " + BuildFolder() + ":"))
		<< fromOption.out;
	std::vector<std::string> names = ListedTranslators(fromOption.out);
	EXPECT_TRUE(Lists(names, "Quorvel")) << fromOption.out;
	EXPECT_FALSE(Lists(names, "FakeLow")) << fromOption.out;
}

TEST_F(TranslatorSearchTest, AnInstalledTreeFindsItsTranslatorsWhereverItIs)
{
	MakeInstalledTree("prefix");
	RunResult installed = Translators(Path("prefix/bin/quorvel"));
	ASSERT_EQ(installed.exitCode, 0) << installed.err;
	EXPECT_TRUE(Mentions(installed,
		"loaded from " + Path("prefix/lib/quorvel/translators") + ":"))
		<< installed.out;

	fs::rename(Path("prefix"), Path("moved"));
	RunResult moved = Translators(Path("moved/bin/quorvel"));
	ASSERT_EQ(moved.exitCode, 0) << moved.err;
	EXPECT_TRUE(Mentions(moved,
		"loaded from " + Path("moved/lib/quorvel/translators") + ":"))
		<< moved.out;
	EXPECT_EQ(ListedTranslators(moved.out),
		std::vector<std::string>{"Quorvel"});
}

TEST_F(TranslatorSearchTest, AnInstalledTreeWithoutTranslatorsSaysWhereItLooked)
{
	std::string program = MakeInstalledTree("prefix");
	fs::remove(Path("prefix/lib/quorvel/translators/Quorvel"));

	RunResult result = Translators(program);
	EXPECT_EQ(result.exitCode, 1);
	std::vector<std::string> lines = result.ErrorLines();
	ASSERT_EQ(lines.size(), 1u) << result.err;
	EXPECT_NE(lines[0].find(Path("prefix/lib/quorvel/translators")
		+ ": no translators found there"), std::string::npos) << lines[0];
}

} // namespace
