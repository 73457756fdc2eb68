// quorvel: the command-line host of the Quorvel translator.
#include <stdio.h>

#include <new>

#include "Commands.h"
#include "Failure.h"
#include "StandardDescriptors.h"
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
	if (line.command == "view") {
		return RunView(line);
	}
	if (line.command == "settings") {
		return RunSettings(line);
	}
	return RunTranslators(line);
}

} // namespace

int main(int argc, char **argv)
{
	if (!HoldStandardDescriptorsOpen()) {
		return kExitFailure;
	}
	CommandLine line;
	std::string error = ParseCommandLine(argc, argv, &line);
	if (!error.empty()) {
		return UsageError(error);
	}
	if (line.version) {
		PrintVersion();
		return kExitSuccess;
	}
	if (line.command == "help") {
		return line.operands.size() > 1 ? UsageError("help takes one "
			"command at most") : PrintCommandHelp(line.operands.empty()
			? "" : line.operands[0]);
	}
	if (line.help) {
		return PrintCommandHelp(line.command);
	}
	if (line.command.empty()) {
		PrintShortUsage();
		return kExitUsage;
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
