// quorvel settings: the translator's stored defaults.
#include <stdio.h>

#include "Commands.h"

int RunSettings(const CommandLine &line)
{
	(void)line;
	return UsageError("settings is not available yet");
}
