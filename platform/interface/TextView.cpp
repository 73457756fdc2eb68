#include <TextView.h>

#include <string.h>

static const int32 kNoLimit = INT32_MAX;

static bool IsContinuationByte(char byte)
{
	return ((uint8)byte & 0xC0) == 0x80;
}

// How many of the length bytes at text fit in room bytes without splitting
// a character. Only up to three continuation bytes are stepped back over,
// as many as one UTF-8 character has; text that is not UTF-8 is cut where
// the room ends.
static int32 FittingLength(const char *text, int32 length, int32 room)
{
	if (room <= 0) {
		return 0;
	}
	if (length <= room) {
		return length;
	}
	int32 cut = room;
	while (cut > 0 && room - cut < 3 && IsContinuationByte(text[cut])) {
		cut--;
	}
	return IsContinuationByte(text[cut]) ? room : cut;
}

static int32 LengthUpToNul(const char *text, int32 length)
{
	if (text == NULL || length <= 0) {
		return 0;
	}
	return (int32)strnlen(text, (size_t)length);
}

BTextView::BTextView(BRect frame, const char *name, BRect textRect,
	uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags), fTextRect(textRect),
	  fSelectionStart(0), fSelectionEnd(0), fMaxBytes(kNoLimit),
	  fEditable(true)
{
}

BTextView::~BTextView()
{
}

void BTextView::KeyDown(const char *bytes, int32 numBytes)
{
	if (!fEditable || bytes == NULL || numBytes <= 0) {
		return;
	}
	const bool hasSelection = fSelectionStart != fSelectionEnd;
	switch (bytes[0]) {
		case B_BACKSPACE:
			if (hasSelection) {
				Delete();
			} else {
				Delete(_PreviousCharacter(fSelectionStart), fSelectionStart);
			}
			return;
		case B_DELETE:
			if (hasSelection) {
				Delete();
			} else {
				Delete(fSelectionStart, _NextCharacter(fSelectionStart));
			}
			return;
		case B_LEFT_ARROW: {
			const int32 caret = _PreviousCharacter(fSelectionStart);
			Select(caret, caret);
			return;
		}
		case B_RIGHT_ARROW: {
			const int32 caret = _NextCharacter(fSelectionEnd);
			Select(caret, caret);
			return;
		}
		case B_HOME:
			Select(0, 0);
			return;
		case B_END:
			Select(TextLength(), TextLength());
			return;
		default:
			break;
	}
	if ((uint8)bytes[0] < B_SPACE && bytes[0] != B_ENTER
		&& bytes[0] != B_TAB) {
		return;
	}
	_Type(bytes, numBytes);
}

// A keystroke is one character: it goes in whole or not at all.
void BTextView::_Type(const char *bytes, int32 numBytes)
{
	numBytes = LengthUpToNul(bytes, numBytes);
	const int32 kept = TextLength() - (fSelectionEnd - fSelectionStart);
	if (numBytes == 0 || numBytes > fMaxBytes - kept) {
		return;
	}
	Delete();
	Insert(fSelectionStart, bytes, numBytes);
}

void BTextView::SetText(const char *text, const text_run_array *runs)
{
	SetText(text, text != NULL ? (int32)strlen(text) : 0, runs);
}

void BTextView::SetText(const char *text, int32 length,
	const text_run_array *)
{
	length = LengthUpToNul(text, length);
	fText.assign(text != NULL ? text : "",
		FittingLength(text, length, fMaxBytes));
	Select(TextLength(), TextLength());
}

const char *BTextView::Text() const
{
	return fText.c_str();
}

int32 BTextView::TextLength() const
{
	return (int32)fText.size();
}

void BTextView::Insert(const char *text, const text_run_array *runs)
{
	Insert(text, text != NULL ? (int32)strlen(text) : 0, runs);
}

void BTextView::Insert(const char *text, int32 length,
	const text_run_array *runs)
{
	Insert(fSelectionStart, text, length, runs);
}

void BTextView::Insert(int32 offset, const char *text, int32 length,
	const text_run_array *)
{
	length = LengthUpToNul(text, length);
	length = FittingLength(text, length, fMaxBytes - TextLength());
	if (length <= 0) {
		return;
	}
	offset = _Clamp(offset);
	fText.insert((size_t)offset, text, (size_t)length);
	if (fSelectionStart >= offset) {
		fSelectionStart += length;
	}
	if (fSelectionEnd >= offset) {
		fSelectionEnd += length;
	}
}

void BTextView::Delete()
{
	Delete(fSelectionStart, fSelectionEnd);
}

void BTextView::Delete(int32 startOffset, int32 endOffset)
{
	startOffset = _Clamp(startOffset);
	endOffset = _Clamp(endOffset);
	if (endOffset <= startOffset) {
		return;
	}
	fText.erase((size_t)startOffset, (size_t)(endOffset - startOffset));
	const int32 removed = endOffset - startOffset;
	auto shift = [&](int32 offset) {
		if (offset >= endOffset) {
			return offset - removed;
		}
		return offset > startOffset ? startOffset : offset;
	};
	fSelectionStart = shift(fSelectionStart);
	fSelectionEnd = shift(fSelectionEnd);
}

void BTextView::Select(int32 startOffset, int32 endOffset)
{
	startOffset = _Clamp(startOffset);
	endOffset = _Clamp(endOffset);
	if (endOffset < startOffset) {
		endOffset = startOffset;
	}
	fSelectionStart = startOffset;
	fSelectionEnd = endOffset;
}

void BTextView::SelectAll()
{
	Select(0, TextLength());
}

void BTextView::GetSelection(int32 *startOffset, int32 *endOffset) const
{
	if (startOffset != NULL) {
		*startOffset = fSelectionStart;
	}
	if (endOffset != NULL) {
		*endOffset = fSelectionEnd;
	}
}

void BTextView::SetMaxBytes(int32 max)
{
	fMaxBytes = max < 0 ? kNoLimit : max;
	const int32 length = FittingLength(fText.c_str(), TextLength(), fMaxBytes);
	if (length < TextLength()) {
		Delete(length, TextLength());
	}
}

int32 BTextView::MaxBytes() const
{
	return fMaxBytes;
}

void BTextView::MakeEditable(bool editable)
{
	fEditable = editable;
}

bool BTextView::IsEditable() const
{
	return fEditable;
}

void BTextView::SetTextRect(BRect rect)
{
	fTextRect = rect;
}

BRect BTextView::TextRect() const
{
	return fTextRect;
}

int32 BTextView::_Clamp(int32 offset) const
{
	if (offset < 0) {
		return 0;
	}
	return offset > TextLength() ? TextLength() : offset;
}

int32 BTextView::_PreviousCharacter(int32 offset) const
{
	offset = _Clamp(offset);
	if (offset > 0) {
		offset--;
	}
	while (offset > 0 && IsContinuationByte(fText[offset])) {
		offset--;
	}
	return offset;
}

int32 BTextView::_NextCharacter(int32 offset) const
{
	offset = _Clamp(offset);
	if (offset < TextLength()) {
		offset++;
	}
	while (offset < TextLength() && IsContinuationByte(fText[offset])) {
		offset++;
	}
	return offset;
}
