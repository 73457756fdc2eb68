// The command line: "quorvel [--translators DIR] COMMAND [ARGUMENTS]",
// options before or after the arguments, "--" ending the options and "-"
// an argument (standard input or output).
#ifndef QUORVEL_HOST_COMMAND_LINE_H
#define QUORVEL_HOST_COMMAND_LINE_H

#include <optional>
#include <string>
#include <vector>

#include "Conversion.h"

struct CommandLine {
	// "convert", "identify", "view", "settings", "translators" or "help";
	// empty with --help or --version alone, or nothing at all.
	std::string command;
	std::vector<std::string> operands;
	bool help = false;
	bool version = false;

	std::string translatorsFolder;
	// -q: errors alone; -v: a line for each file written as well.
	bool quiet = false;
	bool verbose = false;

	// convert
	std::optional<std::string> to;
	std::optional<std::string> outputFolder;
	unsigned jobs = 1;
	// -n, --no-clobber: an existing output file is kept, not replaced.
	bool noClobber = false;
	ConversionOptions options;
	// Refuse a Pilot image cut short instead of converting it.
	bool strict = false;
	// --max-pixels; without it the environment or the default decides.
	std::optional<uint64> maxPixels;
	// -r: folders among the inputs are walked, the output tree mirroring
	// them.
	bool recursive = false;
	// --preview: show the Pilot image in the terminal instead of writing.
	bool preview = false;

	// identify
	bool json = false;
	// view: draw even when standard output is no terminal.
	bool force = false;

	// settings
	bool view = false;
};

const unsigned kMaxJobs = 256;

// Fills line; on a usage error returns its message (empty on success).
std::string ParseCommandLine(int argc, const char *const *argv,
	CommandLine *line);

#endif // QUORVEL_HOST_COMMAND_LINE_H
