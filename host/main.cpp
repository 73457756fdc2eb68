// quorvel: the command-line host of the Quorvel translator.
#include <stdio.h>

#include <new>

#include "Commands.h"
#include "Failure.h"
#include "TemporaryFiles.h"

namespace {

int Run(const CommandLine &line)
{
	if (line.command == "convert") {
		return RunConvert(line);
	}
	if (line.command == "identify") {
		return RunIdentify(line);
	}
	if (line.command == "settings") {
		return RunSettings(line);
	}
	return RunTranslators(line);
}

} // namespace

int main(int argc, char **argv)
{
	CommandLine line;
	std::string error = ParseCommandLine(argc, argv, &line);
	if (!error.empty()) {
		return UsageError(error);
	}
	if (line.help) {
		PrintHelp();
		return kExitSuccess;
	}
	if (line.version) {
		PrintVersion();
		return kExitSuccess;
	}
	RemoveTemporaryFilesOnSignals();
	try {
		return Run(line);
	} catch (const Failure &failure) {
		fprintf(stderr, "%s\n", failure.Line().c_str());
	} catch (const std::bad_alloc &) {
		fprintf(stderr, "quorvel: out of memory\n");
	}
	return kExitFailure;
}
