// A picture drawn in a terminal with half-block characters: each cell
// shows two pixels, the upper half in the foreground colour and the lower
// in the background, so pixels come out about square. 24-bit colour where
// the terminal says it has it (COLORTERM=truecolor or 24bit), else the
// 256-colour palette's grey ramp, which every colour terminal has.
#ifndef QUORVEL_HOST_TERMINAL_PICTURE_H
#define QUORVEL_HOST_TERMINAL_PICTURE_H

#include <string>

// The platform's Bitmap.h uses ptrdiff_t without including its header.
#include <stddef.h>

#include <Bitmap.h>

struct TerminalSize {
	int32 columns = 80;
	int32 rows = 24;
};

// Standard output's size when it is a terminal; else $COLUMNS and $LINES,
// else 80 x 24.
TerminalSize CurrentTerminalSize();

// True when $COLORTERM says "truecolor" or "24bit".
bool TerminalHasTrueColour();

// The escape sequences and characters that draw the picture within
// columns x (rows - 2) cells (scaled to fit, keeping its aspect ratio), each
// line ending in a reset and a newline.
std::string DrawPicture(const BBitmap &picture, TerminalSize size,
	bool trueColour);

#endif // QUORVEL_HOST_TERMINAL_PICTURE_H
