// A labelled text field: the label on the left, up to the divider, and a
// BTextView (TextView(), named "_input_") on the right. Pressing Enter in
// the field commits the text: the control is invoked. Typing alone does
// not invoke it.
//
// Geometry, in the fixed font metrics of Font.h:
// - the divider is the label's width plus 6 pixels (0 without a label);
// - the preferred size is the divider plus a field at least 120 pixels
//   wide, by 23 pixels (a 15-pixel line and 4 pixels above and below);
// - the text view's frame is inset 4 pixels from the field's edges:
//   (divider + 4, 4, width - 4, height - 4). The text view is laid out
//   so when the control is built, sized to its preferred size or given a
//   new divider; any other resize moves it by its own resizing mode
//   (B_FOLLOW_LEFT | B_FOLLOW_TOP at first).
// "Database name:" (14 characters): divider 104, preferred size 224 x 23.
#ifndef _TEXT_CONTROL_H
#define _TEXT_CONTROL_H

#include <Control.h>

class BTextView;

class BTextControl : public BControl {
public:
	BTextControl(BRect frame, const char *name, const char *label,
		const char *initialText, BMessage *message,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	virtual ~BTextControl();

	virtual void SetText(const char *text);
	const char *Text() const;
	BTextView *TextView() const;

	virtual void SetDivider(float position);
	float Divider() const;

	// Disabling the control also stops the field taking keystrokes.
	virtual void SetEnabled(bool enabled);
	virtual void GetPreferredSize(float *width, float *height);
	virtual void ResizeToPreferred();

private:
	void _LayOutTextView();

	BTextView *fText;
	float fDivider;
};

#endif // _TEXT_CONTROL_H
