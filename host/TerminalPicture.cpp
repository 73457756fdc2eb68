#include "TerminalPicture.h"

#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "Fitting.h"
#include "PixelRows.h"

namespace {

int32 EnvironmentNumber(const char *name, int32 fallback)
{
	const char *text = getenv(name);
	int32 value = text != NULL ? (int32)atoi(text) : 0;
	return value > 0 && value <= 10000 ? value : fallback;
}

// The colour of a cell half: 24-bit, or the nearest of the 26 greys of
// the 256-colour palette (16 black, 232 .. 255 the ramp, 231 white).
std::string Colour(bool foreground, const uint8 *rgb, bool trueColour)
{
	const char *layer = foreground ? "38" : "48";
	if (trueColour) {
		return std::string("\033[") + layer + ";2;" + std::to_string(rgb[0])
			+ ";" + std::to_string(rgb[1]) + ";" + std::to_string(rgb[2])
			+ "m";
	}
	const int grey = (rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114) / 1000;
	int index;
	if (grey < 4) {
		index = 16;
	} else if (grey > 246) {
		index = 231;
	} else {
		// The ramp runs 8, 18, .. 238.
		int step = (grey - 8 + 5) / 10;
		index = 232 + (step < 0 ? 0 : (step > 23 ? 23 : step));
	}
	return std::string("\033[") + layer + ";5;" + std::to_string(index) + "m";
}

} // namespace

TerminalSize CurrentTerminalSize()
{
	TerminalSize size;
	struct winsize window;
	if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &window) == 0 && window.ws_col > 0
		&& window.ws_row > 0) {
		size.columns = window.ws_col;
		size.rows = window.ws_row;
		return size;
	}
	size.columns = EnvironmentNumber("COLUMNS", size.columns);
	size.rows = EnvironmentNumber("LINES", size.rows);
	return size;
}

bool TerminalHasTrueColour()
{
	const char *colour = getenv("COLORTERM");
	return colour != NULL && (strcmp(colour, "truecolor") == 0
		|| strcmp(colour, "24bit") == 0);
}

std::string DrawPicture(const BBitmap &picture, TerminalSize size,
	bool trueColour)
{
	// Two pixels a cell from top to bottom; two lines are kept, for the
	// caption and the prompt after.
	FitBox box;
	box.width = size.columns;
	box.height = 2 * (size.rows > 3 ? size.rows - 2 : 1);
	box.enlarge = true;
	int32 width;
	int32 height;
	FittedSize(box, PixelWidth(picture), PixelHeight(picture), &width,
		&height);
	std::unique_ptr<BBitmap> fitted(ResizePicture(picture, width, height));
	std::vector<uint8> upper((size_t)width * 3);
	std::vector<uint8> lower((size_t)width * 3);
	std::string text;
	for (int32 y = 0; y < height; y += 2) {
		RowAsRgb(*fitted, y, upper.data());
		if (y + 1 < height) {
			RowAsRgb(*fitted, y + 1, lower.data());
		}
		for (int32 x = 0; x < width; x++) {
			text += Colour(true, &upper[3 * x], trueColour);
			if (y + 1 < height) {
				text += Colour(false, &lower[3 * x], trueColour);
			}
			// U+2580 UPPER HALF BLOCK
			text += "\xe2\x96\x80";
		}
		text += "\033[0m\n";
	}
	return text;
}
