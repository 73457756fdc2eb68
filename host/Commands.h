// The four commands; each returns the program's exit status.
#ifndef QUORVEL_HOST_COMMANDS_H
#define QUORVEL_HOST_COMMANDS_H

#include "CommandLine.h"

enum {
	kExitSuccess = 0,
	// A file could not be converted or identified, or no translator loads.
	kExitFailure = 1,
	kExitUsage = 2
};

int RunConvert(const CommandLine &line);
int RunIdentify(const CommandLine &line);
int RunSettings(const CommandLine &line);
int RunTranslators(const CommandLine &line);

// Prints the usage error with a pointer to --help; returns kExitUsage.
int UsageError(const std::string &message);
void PrintHelp();
void PrintVersion();

#endif // QUORVEL_HOST_COMMANDS_H
