#include <Font.h>

#include <string.h>

static const float kCharacterWidth = 7;
static const float kFontSize = 12;

static const BFont sPlainFont;

const BFont *be_plain_font = &sPlainFont;
const BFont *be_bold_font = &sPlainFont;
const BFont *be_fixed_font = &sPlainFont;

BFont::BFont()
{
}

float BFont::Size() const
{
	return kFontSize;
}

float BFont::StringWidth(const char *string) const
{
	if (string == NULL) {
		return 0;
	}
	return StringWidth(string, (int32)strlen(string));
}

// Continuation bytes (10xxxxxx) belong to the character before them.
float BFont::StringWidth(const char *string, int32 length) const
{
	if (string == NULL) {
		return 0;
	}
	int32 characters = 0;
	for (int32 i = 0; i < length && string[i] != '\0'; i++) {
		if (((uint8)string[i] & 0xC0) != 0x80) {
			characters++;
		}
	}
	return characters * kCharacterWidth;
}

void BFont::GetHeight(font_height *height) const
{
	if (height == NULL) {
		return;
	}
	height->ascent = 11;
	height->descent = 3;
	height->leading = 1;
}
