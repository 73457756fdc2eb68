// quorvel view: pictures drawn in the terminal, any format the
// translators read.
#include <stdio.h>
#include <unistd.h>

#include <memory>
#include <new>

#include "Commands.h"
#include "Conversion.h"
#include "Failure.h"
#include "InputFile.h"
#include "TerminalPicture.h"

void ShowPicture(const std::string &caption, const BBitmap &picture)
{
	std::string text = DrawPicture(picture, CurrentTerminalSize(),
		TerminalHasTrueColour());
	printf("%s\n", caption.c_str());
	fwrite(text.data(), 1, text.size(), stdout);
	fflush(stdout);
}

bool RefuseWithoutTerminal(bool force)
{
	if (force || isatty(STDOUT_FILENO) == 1) {
		return false;
	}
	fprintf(stderr, "quorvel: standard output is not a terminal; nothing "
		"shown (--force draws the escape sequences anyway)\n");
	return true;
}

int RunView(const CommandLine &line)
{
	if (line.operands.empty()) {
		return UsageError("view needs at least one file");
	}
	if (RefuseWithoutTerminal(line.force)) {
		return kExitFailure;
	}
	PixelLimit maxPixels;
	try {
		maxPixels = EffectiveMaxPixels(line.maxPixels);
	} catch (const Failure &failure) {
		return UsageError(failure.File() + ": " + failure.Reason());
	}
	TranslatorHost host(line.translatorsFolder);
	bool allRead = ForEachInputFile(line.operands,
		[&](const std::string &name, BPositionIO &source) {
			std::unique_ptr<BBitmap> picture = ReadBitmap(host, source,
				maxPixels);
			ShowPicture(name + " (" + std::to_string(
				picture->Bounds().IntegerWidth() + 1) + " x "
				+ std::to_string(picture->Bounds().IntegerHeight() + 1)
				+ ")", *picture);
		});
	return allRead ? kExitSuccess : kExitFailure;
}
