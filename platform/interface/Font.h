// Fonts. There is no font engine here: every font has the same fixed
// metrics, so that text widths and therefore every control's preferred
// size, and whole layouts, come out the same on every machine:
// - each character (UTF-8 code point) is 7 pixels wide;
// - ascent 11, descent 3, leading 1: a line is 15 pixels high.
#ifndef _FONT_H
#define _FONT_H

#include <SupportDefs.h>

struct font_height {
	float ascent;
	float descent;
	float leading;
};

class BFont {
public:
	BFont();

	float Size() const;
	float StringWidth(const char *string) const;
	// Width of the first length bytes of string.
	float StringWidth(const char *string, int32 length) const;
	void GetHeight(font_height *height) const;
};

extern const BFont *be_plain_font;
extern const BFont *be_bold_font;
extern const BFont *be_fixed_font;

#endif // _FONT_H
