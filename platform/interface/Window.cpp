#include <Window.h>

#include <stdlib.h>
#include <string.h>

#include <View.h>

BWindow::BWindow(BRect frame, const char *title, window_type type,
	uint32 flags, uint32 workspace)
	: BLooper(title), fFrame(frame), fTitle(NULL), fType(type),
	  fFlags(flags), fShowLevel(1), fShownOnce(false), fTopView(NULL)
{
	(void)workspace;
	SetTitle(title);
	fTopView = new BView(Bounds(), "top view", B_FOLLOW_ALL_SIDES, 0);
	fTopView->_Attach(this);
}

// Runs with the window locked, in the window's thread once it has one.
BWindow::~BWindow()
{
	fTopView->_Detach();
	fTopView->_AllDetached();
	fTopView->_ClearOwner();
	delete fTopView;
	free(fTitle);
}

void BWindow::Quit()
{
	Hide();
	BLooper::Quit();
}

void BWindow::Show()
{
	fShowLevel--;
	if (!fShownOnce) {
		fShownOnce = true;
		Run();
	}
}

void BWindow::Hide()
{
	fShowLevel++;
}

bool BWindow::IsHidden() const
{
	return fShowLevel > 0;
}

void BWindow::AddChild(BView *child, BView *before)
{
	fTopView->AddChild(child, before);
}

bool BWindow::RemoveChild(BView *child)
{
	return fTopView->RemoveChild(child);
}

int32 BWindow::CountChildren() const
{
	return fTopView->CountChildren();
}

BView *BWindow::ChildAt(int32 index) const
{
	return fTopView->ChildAt(index);
}

BView *BWindow::FindView(const char *name) const
{
	return fTopView->FindView(name);
}

BRect BWindow::Frame() const
{
	return fFrame;
}

BRect BWindow::Bounds() const
{
	return BRect(0, 0, fFrame.Width(), fFrame.Height());
}

void BWindow::MoveTo(BPoint where)
{
	fFrame.OffsetTo(where.x, where.y);
}

void BWindow::MoveTo(float x, float y)
{
	fFrame.OffsetTo(x, y);
}

void BWindow::ResizeBy(float dh, float dv)
{
	fFrame.right += dh;
	fFrame.bottom += dv;
	fTopView->ResizeBy(dh, dv);
}

void BWindow::ResizeTo(float width, float height)
{
	ResizeBy(width - fFrame.Width(), height - fFrame.Height());
}

const char *BWindow::Title() const
{
	return fTitle;
}

void BWindow::SetTitle(const char *title)
{
	free(fTitle);
	fTitle = strdup(title != NULL ? title : "");
	SetName(title);
}

window_type BWindow::Type() const
{
	return fType;
}

uint32 BWindow::Flags() const
{
	return fFlags;
}
