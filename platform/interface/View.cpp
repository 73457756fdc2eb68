#include <View.h>

#include <string.h>

#include <Window.h>

BView::BView(BRect frame, const char *name, uint32 resizingMode,
	uint32 flags)
	: BHandler(name), fFrame(frame), fResizingMode(resizingMode),
	  fFlags(flags), fParent(NULL), fFirstChild(NULL), fNextSibling(NULL),
	  fPreviousSibling(NULL), fWindow(NULL), fAttached(false)
{
}

BView::~BView()
{
	if (fParent != NULL) {
		RemoveSelf();
	}
	BView *child = fFirstChild;
	while (child != NULL) {
		BView *next = child->fNextSibling;
		child->fParent = NULL;
		child->fNextSibling = child->fPreviousSibling = NULL;
		delete child;
		child = next;
	}
}

void BView::AttachedToWindow()
{
}

void BView::AllAttached()
{
}

void BView::DetachedFromWindow()
{
}

void BView::AllDetached()
{
}

void BView::MessageReceived(BMessage *message)
{
	BHandler::MessageReceived(message);
}

void BView::KeyDown(const char *bytes, int32 numBytes)
{
	(void)bytes;
	(void)numBytes;
}

void BView::AddChild(BView *child, BView *before)
{
	if (child == NULL || child == this || child->fParent != NULL
		|| child->fWindow != NULL) {
		return;
	}
	if (before != NULL && before->fParent != this) {
		before = NULL;
	}
	child->fParent = this;
	if (before != NULL) {
		child->fNextSibling = before;
		child->fPreviousSibling = before->fPreviousSibling;
		if (before->fPreviousSibling != NULL) {
			before->fPreviousSibling->fNextSibling = child;
		} else {
			fFirstChild = child;
		}
		before->fPreviousSibling = child;
	} else if (fFirstChild == NULL) {
		fFirstChild = child;
	} else {
		BView *last = fFirstChild;
		while (last->fNextSibling != NULL) {
			last = last->fNextSibling;
		}
		last->fNextSibling = child;
		child->fPreviousSibling = last;
	}

	// A child added by this view's own AttachedToWindow is attached by
	// the pass that called it, right after the hook returns.
	if (fWindow != NULL && fAttached) {
		child->_Attach(fWindow);
		child->_AllAttached();
	}
}

bool BView::RemoveChild(BView *child)
{
	if (child == NULL || child->fParent != this) {
		return false;
	}
	if (child->fWindow != NULL) {
		child->_Detach();
		child->_AllDetached();
		child->_ClearOwner();
	}
	if (child->fPreviousSibling != NULL) {
		child->fPreviousSibling->fNextSibling = child->fNextSibling;
	} else {
		fFirstChild = child->fNextSibling;
	}
	if (child->fNextSibling != NULL) {
		child->fNextSibling->fPreviousSibling = child->fPreviousSibling;
	}
	child->fParent = NULL;
	child->fNextSibling = child->fPreviousSibling = NULL;
	return true;
}

bool BView::RemoveSelf()
{
	return fParent != NULL && fParent->RemoveChild(this);
}

int32 BView::CountChildren() const
{
	int32 count = 0;
	for (BView *child = fFirstChild; child != NULL;
		child = child->fNextSibling) {
		count++;
	}
	return count;
}

BView *BView::ChildAt(int32 index) const
{
	BView *child = index >= 0 ? fFirstChild : NULL;
	for (; child != NULL && index > 0; index--) {
		child = child->fNextSibling;
	}
	return child;
}

BView *BView::NextSibling() const
{
	return fNextSibling;
}

BView *BView::PreviousSibling() const
{
	return fPreviousSibling;
}

BView *BView::Parent() const
{
	return fParent;
}

BWindow *BView::Window() const
{
	return fWindow;
}

BView *BView::FindView(const char *name) const
{
	if (name == NULL) {
		return NULL;
	}
	if (Name() != NULL && strcmp(Name(), name) == 0) {
		return const_cast<BView *>(this);
	}
	for (BView *child = fFirstChild; child != NULL;
		child = child->fNextSibling) {
		BView *found = child->FindView(name);
		if (found != NULL) {
			return found;
		}
	}
	return NULL;
}

// The hooks of a pass may add children; walking the sibling links as they
// are at each step reaches those too.
void BView::_Attach(BWindow *window)
{
	fWindow = window;
	window->AddHandler(this);
	SetNextHandler(fParent != NULL ? static_cast<BHandler *>(fParent)
		: static_cast<BHandler *>(window));
	AttachedToWindow();
	fAttached = true;
	for (BView *child = fFirstChild; child != NULL;
		child = child->fNextSibling) {
		if (!child->fAttached) {
			child->_Attach(window);
		}
	}
}

void BView::_AllAttached()
{
	for (BView *child = fFirstChild; child != NULL;
		child = child->fNextSibling) {
		child->_AllAttached();
	}
	AllAttached();
}

void BView::_Detach()
{
	DetachedFromWindow();
	for (BView *child = fFirstChild; child != NULL;
		child = child->fNextSibling) {
		child->_Detach();
	}
}

void BView::_AllDetached()
{
	for (BView *child = fFirstChild; child != NULL;
		child = child->fNextSibling) {
		child->_AllDetached();
	}
	AllDetached();
}

void BView::_ClearOwner()
{
	for (BView *child = fFirstChild; child != NULL;
		child = child->fNextSibling) {
		child->_ClearOwner();
	}
	if (fWindow != NULL) {
		fWindow->RemoveHandler(this);
	}
	fWindow = NULL;
	fAttached = false;
}

BRect BView::Frame() const
{
	return fFrame;
}

BRect BView::Bounds() const
{
	return BRect(0, 0, fFrame.Width(), fFrame.Height());
}

void BView::MoveBy(float dh, float dv)
{
	fFrame.OffsetBy(dh, dv);
}

void BView::MoveTo(BPoint where)
{
	fFrame.OffsetTo(where.x, where.y);
}

void BView::MoveTo(float x, float y)
{
	fFrame.OffsetTo(x, y);
}

void BView::ResizeBy(float dh, float dv)
{
	if (dh == 0 && dv == 0) {
		return;
	}
	fFrame.right += dh;
	fFrame.bottom += dv;
	// Children are laid out by the window, as the platform's app_server
	// does: a view outside a window changes its own frame only.
	if (fWindow == NULL) {
		return;
	}
	for (BView *child = fFirstChild; child != NULL;
		child = child->fNextSibling) {
		child->_ParentResizedBy(dh, dv);
	}
}

void BView::ResizeTo(float width, float height)
{
	ResizeBy(width - fFrame.Width(), height - fFrame.Height());
}

// How far an edge moves when its parent grows by delta, for the rule of
// that edge: the far edge (right, or bottom) moves with it, the centre by
// half, the near edge not at all.
static float EdgeOffset(uint32 rule, uint32 farEdge, float delta)
{
	if (rule == farEdge) {
		return delta;
	}
	if (rule == _VIEW_CENTER_) {
		return delta / 2;
	}
	return 0;
}

void BView::_ParentResizedBy(float dh, float dv)
{
	const uint32 mode = fResizingMode;
	const float left = EdgeOffset((mode >> 8) & 0xF, _VIEW_RIGHT_, dh);
	const float right = EdgeOffset(mode & 0xF, _VIEW_RIGHT_, dh);
	const float top = EdgeOffset((mode >> 12) & 0xF, _VIEW_BOTTOM_, dv);
	const float bottom = EdgeOffset((mode >> 4) & 0xF, _VIEW_BOTTOM_, dv);
	MoveBy(left, top);
	ResizeBy(right - left, bottom - top);
}

void BView::GetPreferredSize(float *width, float *height)
{
	if (width != NULL) {
		*width = fFrame.Width();
	}
	if (height != NULL) {
		*height = fFrame.Height();
	}
}

void BView::ResizeToPreferred()
{
	float width = fFrame.Width();
	float height = fFrame.Height();
	GetPreferredSize(&width, &height);
	ResizeTo(width, height);
}

void BView::SetResizingMode(uint32 mode)
{
	fResizingMode = mode;
}

uint32 BView::ResizingMode() const
{
	return fResizingMode;
}

void BView::SetFlags(uint32 flags)
{
	fFlags = flags;
}

uint32 BView::Flags() const
{
	return fFlags;
}

float BView::StringWidth(const char *string) const
{
	return be_plain_font->StringWidth(string);
}

void BView::GetFontHeight(font_height *height) const
{
	be_plain_font->GetHeight(height);
}
