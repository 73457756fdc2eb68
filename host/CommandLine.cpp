#include "CommandLine.h"

#include <stdlib.h>

#include <PilotSettingTable.h>

namespace {

const char *const kCommands[] = {"convert", "identify", "view", "settings",
	"translators", "help"};

bool IsCommand(const std::string &word)
{
	for (const char *command : kCommands) {
		if (word == command) {
			return true;
		}
	}
	return false;
}

// Walks the arguments, handing out options and their values.
class ArgumentReader {
public:
	ArgumentReader(int argc, const char *const *argv)
		: fArguments(argv + 1, argv + argc) {}

	bool AtEnd() const { return fNext >= fArguments.size(); }
	std::string Next() { return fArguments[fNext++]; }

	// The value of an option that takes one: "--to=png", "--to png",
	// "-j4" or "-j 4". False when none follows.
	bool TakeValue(const std::string &inlineValue, bool hasInline,
		std::string *value)
	{
		if (hasInline) {
			*value = inlineValue;
			return true;
		}
		if (AtEnd()) {
			return false;
		}
		*value = Next();
		return true;
	}

private:
	std::vector<std::string> fArguments;
	size_t fNext = 0;
};

// The row of the Pilot translator's options whose flag takes a text value
// ("--name"), or NULL.
const PilotSettingRow *TextSetting(const std::string &flag)
{
	for (const PilotSettingRow &row : PILOT_SETTINGS) {
		if (row.type == B_STRING_TYPE && flag == row.flag) {
			return &row;
		}
	}
	return NULL;
}

bool ParseJobs(const std::string &text, unsigned *jobs)
{
	if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos
		|| text.size() > 4) {
		return false;
	}
	unsigned value = (unsigned)atoi(text.c_str());
	if (value < 1 || value > kMaxJobs) {
		return false;
	}
	*jobs = value;
	return true;
}

class Parser {
public:
	Parser(int argc, const char *const *argv, CommandLine *line)
		: fReader(argc, argv), fLine(line) {}

	std::string Parse()
	{
		bool optionsEnded = false;
		while (!fReader.AtEnd()) {
			std::string argument = fReader.Next();
			if (optionsEnded || argument == "-" || argument[0] != '-') {
				AddWord(argument);
			} else if (argument == "--") {
				optionsEnded = true;
			} else {
				std::string error = ParseOption(argument);
				if (!error.empty()) {
					return error;
				}
			}
		}
		return CheckCombination();
	}

private:
	void AddWord(const std::string &word)
	{
		if (fLine->command.empty()) {
			fLine->command = word;
		} else {
			fLine->operands.push_back(word);
		}
	}

	std::string ParseOption(const std::string &argument)
	{
		std::string name = argument;
		std::string inlineValue;
		bool hasInline = false;
		size_t equals = argument.find('=');
		if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos) {
			name = argument.substr(0, equals);
			inlineValue = argument.substr(equals + 1);
			hasInline = true;
		} else if (argument.size() > 2 && argument[1] != '-') {
			// "-j4", "-oDIR"
			name = argument.substr(0, 2);
			inlineValue = argument.substr(2);
			hasInline = true;
		}

		if (!hasInline && ParseFlag(name)) {
			return "";
		}
		std::string value;
		if (name == "--translators" || name == "--to"
			|| TextSetting(name) != NULL || name == "-o" || name == "--output-dir" || name == "-j"
			|| name == "--jobs" || name == "--max-pixels" || name == "--depth"
			|| name == "--fit") {
			if (!fReader.TakeValue(inlineValue, hasInline, &value)) {
				return "option " + name + " needs a value";
			}
			return ParseValueOption(name, value);
		}
		return "unknown option " + argument;
	}

	bool ParseFlag(const std::string &name)
	{
		if (name == "-h" || name == "--help") {
			fLine->help = true;
		} else if (name == "-V" || name == "--version") {
			fLine->version = true;
		} else if (name == "-q" || name == "--quiet") {
			fLine->quiet = true;
		} else if (name == "-v" || name == "--verbose") {
			fLine->verbose = true;
		} else if (name == "--json") {
			fLine->json = true;
			NoteOwner(name, "identify");
		} else if (name == "--force") {
			// view's, and convert --preview's
			fLine->force = true;
		} else if (name == "-r" || name == "--recursive") {
			fLine->recursive = true;
			NoteConvertOption(name);
		} else if (name == "--preview") {
			fLine->preview = true;
			NoteConvertOption(name);
		} else if (name == "--full-size") {
			fLine->options.fullSize = true;
			NoteConvertOption(name);
		} else if (name == "--enlarge") {
			fEnlarge = true;
			NoteConvertOption(name);
		} else if (name == "--view") {
			fLine->view = true;
		} else if (name == "-n" || name == "--no-clobber") {
			fLine->noClobber = true;
			NoteConvertOption(name);
		} else if (name == "--strict") {
			fLine->strict = true;
			NoteConvertOption(name);
		} else if (ParseSettingSwitch(name)) {
			NoteConvertOption(name);
		} else {
			return false;
		}
		return true;
	}

	std::string ParseValueOption(const std::string &name,
		const std::string &value)
	{
		if (name == "--translators") {
			if (value.empty()) {
				return "option --translators needs a folder";
			}
			fLine->translatorsFolder = value;
			return "";
		}
		NoteConvertOption(name);
		if (name == "--to") {
			OutputFormat format;
			if (!ParseOutputFormat(value, &format)) {
				return UnknownOutputFormat(value);
			}
			fLine->to = value;
		} else if (const PilotSettingRow *row = TextSetting(name)) {
			BMessage &settings = fLine->options.pilotSettings;
			settings.RemoveName(row->key);
			settings.AddString(row->key, value.c_str());
		} else if (name == "--depth") {
			if (!ParsePilotDepth(value, &fLine->options.depth)) {
				return "option --depth takes 1 (black and white), 2 (four "
					"greys), 4 (sixteen greys) or auto, not '" + value + "'";
			}
		} else if (name == "--fit") {
			FitBox box;
			if (!ParseFitBox(value, &box)) {
				return "option --fit takes WIDTHxHEIGHT (e.g. 160x160, each "
					"side 1 to 16384) or screen, not '" + value + "'";
			}
			fLine->options.fit = box;
		} else if (name == "--max-pixels") {
			uint64 limit;
			if (!ParseMaxPixels(value, &limit)) {
				return "option --max-pixels needs a number of pixels from 1 to "
					+ std::to_string(kLargestMaxPixels) + ", not '" + value
					+ "'";
			}
			fLine->maxPixels = limit;
		} else if (name == "-o" || name == "--output-dir") {
			if (value.empty()) {
				return "option " + name + " needs a folder";
			}
			fLine->outputFolder = value;
		} else if (!ParseJobs(value, &fLine->jobs)) {
			return "option " + name + " needs a number from 1 to "
				+ std::to_string(kMaxJobs) + ", not '" + value + "'";
		}
		return "";
	}

	// A switch of the Pilot translator's options: "--dither" turns it on,
	// "--no-dither" off; the last one given counts.
	bool ParseSettingSwitch(const std::string &name)
	{
		for (const PilotSettingRow &row : PILOT_SETTINGS) {
			const std::string flag = row.flag;
			const bool on = name == flag;
			if (row.type == B_BOOL_TYPE
				&& (on || name == "--no-" + flag.substr(2))) {
				BMessage &settings = fLine->options.pilotSettings;
				settings.RemoveName(row.key);
				settings.AddBool(row.key, on);
				return true;
			}
		}
		return false;
	}

	// An option that belongs to one command other than convert.
	void NoteOwner(const std::string &name, const char *command)
	{
		if (fOwnedOption.empty()) {
			fOwnedOption = name;
			fOwner = command;
		}
	}

	void NoteConvertOption(const std::string &name)
	{
		if (fConvertOption.empty()) {
			fConvertOption = name;
		}
	}

	std::string CheckCombination() const
	{
		if (fEnlarge) {
			if (!fLine->options.fit) {
				return "option --enlarge goes with --fit WIDTHxHEIGHT";
			}
			fLine->options.fit->enlarge = true;
		}
		if (fLine->command.empty()) {
			return "";
		}
		if (!IsCommand(fLine->command)) {
			return "unknown command '" + fLine->command + "' (convert, "
				"identify, view, settings, translators or help)";
		}
		if (fLine->help || fLine->version) {
			return "";
		}
		if (fLine->command != "convert" && !fConvertOption.empty()) {
			return "option " + fConvertOption + " belongs to convert";
		}
		if (!fOwnedOption.empty() && fLine->command != fOwner) {
			return "option " + fOwnedOption + " belongs to " + fOwner;
		}
		if (fLine->command != "settings" && fLine->view) {
			return "option --view belongs to settings";
		}
		return "";
	}

	ArgumentReader fReader;
	CommandLine *fLine;
	std::string fConvertOption;
	std::string fOwnedOption;
	std::string fOwner;
	bool fEnlarge = false;
};

} // namespace

std::string ParseCommandLine(int argc, const char *const *argv,
	CommandLine *line)
{
	Parser parser(argc, argv, line);
	return parser.Parse();
}
