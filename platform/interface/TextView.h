// Editable text. The user types through KeyDown; programs change the text
// with SetText, Insert and Delete. Offsets are byte offsets into the
// text's UTF-8.
//
// SetMaxBytes limits the text's length in bytes. It holds for every way
// text comes in: a keystroke that would go over the limit is refused
// whole, SetText and Insert keep only what fits, and lowering the limit
// cuts the text. A cut never splits a UTF-8 character.
#ifndef _TEXT_VIEW_H
#define _TEXT_VIEW_H

#include <string>

#include <GraphicsDefs.h>
#include <View.h>

// Styles for stretches of text, each from its offset to the next one's.
// The stand-in draws nothing, so it takes runs where the platform does and
// keeps only the text.
struct text_run {
	int32 offset;
	BFont font;
	rgb_color color;
};

struct text_run_array {
	int32 count;
	text_run runs[1];
};

class BTextView : public BView {
public:
	BTextView(BRect frame, const char *name, BRect textRect,
		uint32 resizingMode, uint32 flags);
	virtual ~BTextView();

	// Printable bytes replace the selection; Backspace and Delete remove
	// the selection or one character; the arrows, Home and End move the
	// caret. Nothing changes when the view is not editable.
	virtual void KeyDown(const char *bytes, int32 numBytes);

	// Replaces the whole text; the caret goes to its end.
	void SetText(const char *text, const text_run_array *runs = NULL);
	void SetText(const char *text, int32 length,
		const text_run_array *runs = NULL);
	const char *Text() const;
	int32 TextLength() const;

	// Inserts at the caret (the start of the selection), or at offset.
	void Insert(const char *text, const text_run_array *runs = NULL);
	void Insert(const char *text, int32 length,
		const text_run_array *runs = NULL);
	void Insert(int32 offset, const char *text, int32 length,
		const text_run_array *runs = NULL);
	// Deletes the selection, or the bytes from start up to end.
	void Delete();
	void Delete(int32 startOffset, int32 endOffset);

	virtual void Select(int32 startOffset, int32 endOffset);
	void SelectAll();
	void GetSelection(int32 *startOffset, int32 *endOffset) const;

	// A negative max means no limit.
	void SetMaxBytes(int32 max);
	int32 MaxBytes() const;
	void MakeEditable(bool editable = true);
	bool IsEditable() const;

	void SetTextRect(BRect rect);
	BRect TextRect() const;

private:
	int32 _Clamp(int32 offset) const;
	int32 _PreviousCharacter(int32 offset) const;
	int32 _NextCharacter(int32 offset) const;
	void _Type(const char *bytes, int32 numBytes);

	std::string fText;
	BRect fTextRect;
	int32 fSelectionStart;
	int32 fSelectionEnd;
	int32 fMaxBytes;
	bool fEditable;
};

#endif // _TEXT_VIEW_H
