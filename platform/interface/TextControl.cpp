#include <TextControl.h>

#include <TextView.h>

static const float kLabelSpacing = 6;
static const float kMinimumFieldWidth = 120;
static const float kFieldInset = 4;

namespace BPrivate {

// The field of a text control: Enter commits the text to the control
// instead of starting a new line, and Tab is left to keyboard navigation.
class _BTextInput_ : public BTextView {
public:
	_BTextInput_(BRect frame, BTextControl *control)
		: BTextView(frame, "_input_",
			BRect(0, 0, frame.Width(), frame.Height()),
			B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE),
		  fControl(control)
	{
	}

	virtual void KeyDown(const char *bytes, int32 numBytes)
	{
		if (numBytes >= 1 && bytes[0] == B_ENTER) {
			if (fControl->IsEnabled()) {
				fControl->Invoke();
			}
			return;
		}
		if (numBytes >= 1 && bytes[0] == B_TAB) {
			return;
		}
		BTextView::KeyDown(bytes, numBytes);
	}

private:
	BTextControl *fControl;
};

} // namespace BPrivate

BTextControl::BTextControl(BRect frame, const char *name, const char *label,
	const char *initialText, BMessage *message, uint32 resizingMode,
	uint32 flags)
	: BControl(frame, name, label, message, resizingMode, flags),
	  fText(NULL), fDivider(0)
{
	if (label != NULL && label[0] != '\0') {
		fDivider = StringWidth(label) + kLabelSpacing;
	}
	fText = new BPrivate::_BTextInput_(BRect(), this);
	AddChild(fText);
	_LayOutTextView();
	fText->SetText(initialText);
}

BTextControl::~BTextControl()
{
}

void BTextControl::SetText(const char *text)
{
	fText->SetText(text);
}

const char *BTextControl::Text() const
{
	return fText->Text();
}

BTextView *BTextControl::TextView() const
{
	return fText;
}

void BTextControl::SetDivider(float position)
{
	fDivider = position;
	_LayOutTextView();
}

float BTextControl::Divider() const
{
	return fDivider;
}

void BTextControl::SetEnabled(bool enabled)
{
	BControl::SetEnabled(enabled);
	fText->MakeEditable(enabled);
}

void BTextControl::GetPreferredSize(float *width, float *height)
{
	font_height font;
	GetFontHeight(&font);
	if (width != NULL) {
		*width = fDivider + kMinimumFieldWidth;
	}
	if (height != NULL) {
		*height = font.ascent + font.descent + font.leading
			+ 2 * kFieldInset;
	}
}

void BTextControl::ResizeToPreferred()
{
	BControl::ResizeToPreferred();
	_LayOutTextView();
}

// A control still too small for its field gets an empty one at the
// divider rather than a frame turned inside out.
void BTextControl::_LayOutTextView()
{
	const BRect bounds = Bounds();
	const float left = fDivider + kFieldInset;
	const float top = kFieldInset;
	const float right = bounds.right - kFieldInset;
	const float bottom = bounds.bottom - kFieldInset;
	fText->MoveTo(left, top);
	fText->ResizeTo(right > left ? right - left : 0,
		bottom > top ? bottom - top : 0);
	fText->SetTextRect(fText->Bounds());
}
