// A box that is on (B_CONTROL_ON) or off (B_CONTROL_OFF), with a label to
// its right. Space or Enter toggles it and invokes it.
//
// Preferred size, in the fixed font metrics of Font.h: 20 pixels for the
// box and the gap after it plus the label's width, by 18 pixels (a 15-pixel
// line and 3 pixels of padding). A label of 11 characters: 97 x 18.
#ifndef _CHECK_BOX_H
#define _CHECK_BOX_H

#include <Control.h>

class BCheckBox : public BControl {
public:
	BCheckBox(BRect frame, const char *name, const char *label,
		BMessage *message,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	virtual ~BCheckBox();

	virtual void GetPreferredSize(float *width, float *height);
};

#endif // _CHECK_BOX_H
