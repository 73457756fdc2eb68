// A rectangle of a window, in a tree of views. A view's frame is given in
// its parent's coordinates, its bounds in its own (left and top are 0; the
// width is right - left, as for every BRect).
//
// Resizing a view that is in a window moves and resizes its children by
// their resizing mode: four 4-bit rules, one per edge, from the top edge in
// bits 12-15 through the left edge (8-11) and the bottom edge (4-7) to the
// right edge (0-3). An edge that follows its parent's right or bottom edge
// moves with it by the whole change, one that follows the centre by half
// of it, and one that follows the left or top edge (or has no rule) stays
// where it is. Outside a window, as on the platform, where the app_server
// lays views out, a resize changes the view's own frame only.
//
// Attaching a view to a window (BWindow::AddChild, or AddChild on a view
// that is in a window) adds it and its descendants to the window's
// handlers and calls AttachedToWindow on each, parents before children,
// then AllAttached on each, children before parents. Detaching (RemoveChild,
// RemoveSelf, or the window quitting) calls DetachedFromWindow, parents
// first, then AllDetached, children first; Window() is still valid in
// both. Views in a window are changed with the window locked.
//
// A view owns its children: deleting it deletes them.
#ifndef _VIEW_H
#define _VIEW_H

#include <Font.h>
#include <Handler.h>
#include <InterfaceDefs.h>
#include <Rect.h>

class BMessage;
class BWindow;

// Resizing modes: constants, as on the platform.
const uint32 _VIEW_TOP_ = 1UL;
const uint32 _VIEW_LEFT_ = 2UL;
const uint32 _VIEW_BOTTOM_ = 3UL;
const uint32 _VIEW_RIGHT_ = 4UL;
const uint32 _VIEW_CENTER_ = 5UL;

#define _rule_(r1, r2, r3, r4) \
	(((r1) << 12) | ((r2) << 8) | ((r3) << 4) | (r4))

const uint32 B_FOLLOW_NONE = 0;
const uint32 B_FOLLOW_ALL_SIDES =
	_rule_(_VIEW_TOP_, _VIEW_LEFT_, _VIEW_BOTTOM_, _VIEW_RIGHT_);
const uint32 B_FOLLOW_ALL = B_FOLLOW_ALL_SIDES;

const uint32 B_FOLLOW_LEFT = _rule_(0, _VIEW_LEFT_, 0, _VIEW_LEFT_);
const uint32 B_FOLLOW_RIGHT = _rule_(0, _VIEW_RIGHT_, 0, _VIEW_RIGHT_);
const uint32 B_FOLLOW_LEFT_RIGHT = _rule_(0, _VIEW_LEFT_, 0, _VIEW_RIGHT_);
const uint32 B_FOLLOW_H_CENTER = _rule_(0, _VIEW_CENTER_, 0, _VIEW_CENTER_);

const uint32 B_FOLLOW_TOP = _rule_(_VIEW_TOP_, 0, _VIEW_TOP_, 0);
const uint32 B_FOLLOW_BOTTOM = _rule_(_VIEW_BOTTOM_, 0, _VIEW_BOTTOM_, 0);
const uint32 B_FOLLOW_TOP_BOTTOM = _rule_(_VIEW_TOP_, 0, _VIEW_BOTTOM_, 0);
const uint32 B_FOLLOW_V_CENTER = _rule_(_VIEW_CENTER_, 0, _VIEW_CENTER_, 0);

// View flags.
const uint32 B_FULL_UPDATE_ON_RESIZE = 0x80000000UL;
const uint32 B_WILL_DRAW = 0x20000000UL;
const uint32 B_PULSE_NEEDED = 0x10000000UL;
const uint32 B_NAVIGABLE_JUMP = 0x08000000UL;
const uint32 B_FRAME_EVENTS = 0x04000000UL;
const uint32 B_NAVIGABLE = 0x02000000UL;
const uint32 B_SUBPIXEL_PRECISE = 0x01000000UL;
const uint32 B_DRAW_ON_CHILDREN = 0x00800000UL;

class BView : public BHandler {
public:
	BView(BRect frame, const char *name, uint32 resizingMode, uint32 flags);
	// Deletes the children. A view still in a window is removed from its
	// parent first (remove it yourself beforehand so that its own hooks,
	// not BView's, are called).
	virtual ~BView();

	virtual void AttachedToWindow();
	virtual void AllAttached();
	virtual void DetachedFromWindow();
	virtual void AllDetached();
	// Passes the message along the handler chain: in a window, a view's
	// next handler is its parent, and the window follows the top views.
	virtual void MessageReceived(BMessage *message);
	virtual void KeyDown(const char *bytes, int32 numBytes);

	// Adds child before the child before (at the end when NULL). A child
	// that has a parent already is not added.
	void AddChild(BView *child, BView *before = NULL);
	bool RemoveChild(BView *child);
	bool RemoveSelf();
	int32 CountChildren() const;
	BView *ChildAt(int32 index) const;
	BView *NextSibling() const;
	BView *PreviousSibling() const;
	BView *Parent() const;
	BWindow *Window() const;
	// This view, or the first view of that name below it, depth first.
	BView *FindView(const char *name) const;

	BRect Frame() const;
	BRect Bounds() const;
	void MoveBy(float dh, float dv);
	void MoveTo(BPoint where);
	void MoveTo(float x, float y);
	void ResizeBy(float dh, float dv);
	void ResizeTo(float width, float height);
	// BView's preferred size is its current size.
	virtual void GetPreferredSize(float *width, float *height);
	virtual void ResizeToPreferred();

	virtual void SetResizingMode(uint32 mode);
	uint32 ResizingMode() const;
	virtual void SetFlags(uint32 flags);
	uint32 Flags() const;

	// In the plain font's fixed metrics (see Font.h).
	float StringWidth(const char *string) const;
	void GetFontHeight(font_height *height) const;

private:
	friend class BWindow;

	BView(const BView &);
	BView &operator=(const BView &);

	void _Attach(BWindow *window);
	void _AllAttached();
	void _Detach();
	void _AllDetached();
	void _ClearOwner();
	void _ParentResizedBy(float dh, float dv);

	BRect fFrame;
	uint32 fResizingMode;
	uint32 fFlags;
	BView *fParent;
	BView *fFirstChild;
	BView *fNextSibling;
	BView *fPreviousSibling;
	BWindow *fWindow;
	// AttachedToWindow has been called since the view joined its window.
	bool fAttached;
};

#endif // _VIEW_H
