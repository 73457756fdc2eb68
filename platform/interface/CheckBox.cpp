#include <CheckBox.h>

static const float kBoxAndGapWidth = 20;
static const float kPadding = 3;

BCheckBox::BCheckBox(BRect frame, const char *name, const char *label,
	BMessage *message, uint32 resizingMode, uint32 flags)
	: BControl(frame, name, label, message, resizingMode, flags)
{
}

BCheckBox::~BCheckBox()
{
}

void BCheckBox::GetPreferredSize(float *width, float *height)
{
	font_height font;
	GetFontHeight(&font);
	if (width != NULL) {
		*width = kBoxAndGapWidth + StringWidth(Label());
	}
	if (height != NULL) {
		*height = font.ascent + font.descent + font.leading + kPadding;
	}
}
