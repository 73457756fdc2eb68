// The manual page and the bash completion keep up with the program: every
// command and option that --help shows, and every output format the
// program accepts, is in both; the completion completes them; the manual
// page renders without a warning.
#include <regex>
#include <set>

#include "HostTool.h"

namespace {

const std::string kManual = std::string(QUORVEL_SOURCE_DIR) + "/host/quorvel.1";
const std::string kCompletion = std::string(QUORVEL_SOURCE_DIR)
	+ "/host/quorvel.bash-completion";

std::string ReadText(const std::string &path)
{
	Bytes bytes = ReadBytes(path);
	return std::string(bytes.begin(), bytes.end());
}

std::set<std::string> Lines(const std::string &text)
{
	std::set<std::string> lines;
	std::istringstream in(text);
	for (std::string line; std::getline(in, line);) {
		lines.insert(line);
	}
	return lines;
}

std::set<std::string> Matches(const std::string &text, const std::regex &re,
	int group = 0)
{
	std::set<std::string> found;
	for (std::sregex_iterator it(text.begin(), text.end(), re), end;
			it != end; ++it) {
		found.insert((*it)[group].str());
	}
	return found;
}

// How the manual page's source spells an option: "\-\-no\-dither".
std::string RoffSpelling(const std::string &option)
{
	std::string roff;
	for (char c : option) {
		roff += c == '-' ? std::string("\\-") : std::string(1, c);
	}
	return roff;
}

// The text of the manual page's section, up to the next one.
std::string Section(const std::string &manual, const std::string &name)
{
	size_t start = manual.find("\n.SH " + name + "\n");
	if (start == std::string::npos) {
		return "";
	}
	return manual.substr(start, manual.find("\n.SH ", start + 1) - start);
}

class ManualAndCompletionTest : public HostTest {
protected:
	// What the completion offers for the words, the last one being
	// completed, as bash would call it on <TAB>.
	std::set<std::string> Complete(const std::vector<std::string> &words)
	{
		std::string script = "source '" + kCompletion + "'\nCOMP_WORDS=(";
		for (const std::string &word : words) {
			script += " '" + word + "'";
		}
		script += " )\nCOMP_CWORD=" + std::to_string(words.size() - 1)
			+ "\n_quorvel\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
		WriteBytes(Path("complete.sh"), BytesOfText(script));
		RunResult result = Shell("bash complete.sh");
		EXPECT_EQ(result.exitCode, 0) << result.err;
		std::set<std::string> offered = Lines(result.out);
		offered.erase("");
		return offered;
	}

	std::string Help()
	{
		RunResult result = Run({"--help"});
		EXPECT_EQ(result.exitCode, 0);
		return result.out;
	}

	// The commands of --help: the first word of each line under
	// "Commands:".
	std::set<std::string> HelpCommands()
	{
		std::string help = Help();
		size_t start = help.find("Commands:\n");
		size_t end = help.find("\n\n", start);
		EXPECT_NE(start, std::string::npos) << help;
		return Matches(help.substr(start, end - start),
			std::regex("\n  ([a-z]+)"), 1);
	}
};

TEST_F(ManualAndCompletionTest, EveryCommandAndOptionOfHelpIsInBoth)
{
	std::string manual = ReadText(kManual);
	std::set<std::string> commands = HelpCommands();
	ASSERT_GE(commands.size(), 4u);
	EXPECT_EQ(Complete({"quorvel", ""}), commands);
	std::string synopsis = Section(manual, "SYNOPSIS");
	for (const std::string &command : commands) {
		EXPECT_TRUE(std::regex_search(manual,
			std::regex("\n\\.BI? \"?" + command + "[ \"\n]")))
			<< "the manual page has no entry for " << command;
		EXPECT_NE(synopsis.find("\n.B " + command + "\n"), std::string::npos)
			<< "the synopsis has no " << command;
	}

	std::set<std::string> options = Matches(Help(),
		std::regex("(^|[ ,])(--?[a-z][a-z-]*)"), 2);
	ASSERT_GE(options.size(), 10u);
	std::set<std::string> offered;
	for (const std::string &command : commands) {
		std::set<std::string> some = Complete({"quorvel", command, "-"});
		offered.insert(some.begin(), some.end());
	}
	for (const std::string &option : options) {
		EXPECT_NE(manual.find(RoffSpelling(option)), std::string::npos)
			<< "the manual page does not mention " << option;
		EXPECT_EQ(offered.count(option), 1u)
			<< "the completion does not offer " << option;
	}
}

TEST_F(ManualAndCompletionTest, TheFormatsOfToAreThoseTheProgramTakes)
{
	// The program names its formats when refusing one.
	RunResult refused = Run({"convert", "--to", "nonsense", "a", "b"});
	ASSERT_EQ(refused.exitCode, 2);
	std::smatch list;
	ASSERT_TRUE(std::regex_search(refused.err, list,
		std::regex("\\(([a-z0-9, ]+)\\)")))
		<< refused.err;
	std::set<std::string> formats = Matches(list[1].str(),
		std::regex("[a-z0-9]+"));
	formats.erase("or");
	ASSERT_GE(formats.size(), 4u);

	EXPECT_EQ(Complete({"quorvel", "convert", "--to", ""}), formats);
	std::string manual = ReadText(kManual);
	for (const std::string &format : formats) {
		EXPECT_TRUE(std::regex_search(manual,
			std::regex("\n\\.BR? " + format + "( |\n)")))
			<< "the manual page does not describe --to " << format;
	}
}

TEST_F(ManualAndCompletionTest, TheDescriptionNamesEveryLoadedTranslatorsFormat)
{
	// "PNG images, version 100: ..." names the format in its first word.
	RunResult listed = Run({"translators"});
	ASSERT_EQ(listed.exitCode, 0) << listed.err;
	std::set<std::string> formats = Matches(listed.out,
		std::regex("\n([A-Z]+) images, version"), 1);
	ASSERT_GE(formats.size(), 5u) << listed.out;
	std::string description = Section(ReadText(kManual), "DESCRIPTION");
	for (const std::string &format : formats) {
		EXPECT_NE(description.find(format), std::string::npos)
			<< "the description does not name " << format;
	}
}

TEST_F(ManualAndCompletionTest, CompletesPartialWords)
{
	typedef std::set<std::string> Offer;
	EXPECT_EQ(Complete({"quorvel", "conv"}), Offer{"convert"});
	EXPECT_EQ(Complete({"quorvel", "--translators", "/tmp", "ide"}),
		Offer{"identify"});
	EXPECT_EQ(Complete({"quorvel", "convert", "--no-d"}),
		Offer{"--no-dither"});
	EXPECT_EQ(Complete({"quorvel", "convert", "--to", "=", "pn"}),
		(Offer{"png", "pnm"}));
	EXPECT_EQ(Complete({"quorvel", "convert", "--to=pn"}),
		(Offer{"--to=png", "--to=pnm"}));
	EXPECT_EQ(Complete({"quorvel", "settings", "dith"}),
		Offer{"dithering="});
	EXPECT_EQ(Complete({"quorvel", "settings", "dithering", "=", "o"}),
		(Offer{"on", "off"}));
	EXPECT_EQ(Complete({"quorvel", "translators", ""}), Offer{});
}

TEST_F(ManualAndCompletionTest, TheManualPageRendersWithoutWarnings)
{
	RunResult result = Shell("groff -man -ww -z -Tutf8 '" + kManual + "'");
	EXPECT_EQ(result.exitCode, 0);
	EXPECT_EQ(result.err, "");
	std::string manual = ReadText(kManual);
	for (const char *section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS",
			"EXIT STATUS", "ENVIRONMENT", "FILES", "EXAMPLES"}) {
		EXPECT_NE(manual.find(std::string("\n.SH ") + section + "\n"),
			std::string::npos) << section;
	}
	for (const char *variable : {"TRANSLATORS_PATH", "XDG_DATA_HOME",
			"XDG_CONFIG_HOME"}) {
		EXPECT_NE(manual.find(std::string(".B ") + variable),
			std::string::npos) << variable;
	}
}

} // namespace
