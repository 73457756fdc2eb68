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
int RunView(const CommandLine &line);

// view's parts that convert --preview uses: a picture drawn under its
// caption, and the refusal (true, said on standard error) to draw on
// anything but a terminal unless forced.
class BBitmap;
void ShowPicture(const std::string &caption, const BBitmap &picture);
bool RefuseWithoutTerminal(bool force);

// Prints the usage error with a pointer to --help; returns kExitUsage.
int UsageError(const std::string &message);
void PrintHelp();
// What "quorvel" alone prints on standard error: a few lines to start
// with.
void PrintShortUsage();
// The help of one command, or the whole help for an empty name.
int PrintCommandHelp(const std::string &command);
void PrintVersion();

#endif // QUORVEL_HOST_COMMANDS_H
