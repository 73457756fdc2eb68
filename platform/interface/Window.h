// A window: a looper whose thread handles the messages of the views in it.
// The thread starts with the first Show. Views are added with AddChild to
// the window's top view, which always covers the window's bounds and
// follows all its sides.
//
// Like every looper, a new window is locked by the thread that built it
// until the first Show. Quit (with the window locked) detaches every view
// (DetachedFromWindow and AllDetached, as RemoveChild does) and deletes
// the window and, with it, the views still in it; remove a view first to
// keep it. See Looper.h for Quit from another thread than the window's.
//
// Driving a view from another thread, as a user would through the window
// (a translator's settings view, for instance):
//
//	BWindow *window = new BWindow(extent, "Settings", B_TITLED_WINDOW, 0);
//	window->AddChild(view);		// the window owns the view from now on
//	window->Show();				// the window's thread starts
//	window->Lock();
//	BCheckBox *box = dynamic_cast<BCheckBox *>(window->FindView("Box"));
//	box->SetValue(B_CONTROL_OFF);
//	box->Invoke();				// queued for the box's target
//	BTextControl *text
//		= dynamic_cast<BTextControl *>(window->FindView("Text"));
//	text->SetText("new text");
//	text->Invoke();
//	printf("%s", BPrivate::DumpViewTree(view).c_str());	// ViewDump.h
//	window->Quit();				// handles the queued messages, detaches
//								// and deletes the views, deletes the
//								// window; do not delete the view again
//
// The view's targets handle the invoked messages in the window's thread,
// after Unlock or Quit; Quit returns only once they have been handled.
#ifndef _WINDOW_H
#define _WINDOW_H

#include <Looper.h>
#include <Rect.h>

class BView;

enum window_type {
	B_UNTYPED_WINDOW = 0,
	B_TITLED_WINDOW = 1,
	B_MODAL_WINDOW = 3,
	B_DOCUMENT_WINDOW = 11,
	B_BORDERED_WINDOW = 20,
	B_FLOATING_WINDOW = 21
};

// Window flags.
enum {
	B_NOT_MOVABLE = 0x00000001,
	B_NOT_RESIZABLE = 0x00000002,
	B_NOT_H_RESIZABLE = 0x00000004,
	B_NOT_V_RESIZABLE = 0x00000008,
	B_WILL_ACCEPT_FIRST_CLICK = 0x00000010,
	B_NOT_CLOSABLE = 0x00000020,
	B_NOT_ZOOMABLE = 0x00000040,
	B_AVOID_FRONT = 0x00000080,
	B_NO_WORKSPACE_ACTIVATION = 0x00000100,
	B_OUTLINE_RESIZE = 0x00001000,
	B_AVOID_FOCUS = 0x00002000,
	B_NOT_MINIMIZABLE = 0x00004000,
	B_NOT_ANCHORED_ON_ACTIVATE = 0x00020000,
	B_ASYNCHRONOUS_CONTROLS = 0x00080000,
	B_QUIT_ON_WINDOW_CLOSE = 0x00100000
};

#define B_CURRENT_WORKSPACE 0
#define B_ALL_WORKSPACES 0xffffffff

class BWindow : public BLooper {
public:
	// frame is the content area in screen coordinates.
	BWindow(BRect frame, const char *title, window_type type, uint32 flags,
		uint32 workspace = B_CURRENT_WORKSPACE);
	virtual ~BWindow();

	virtual void Quit();

	// The first Show starts the window's thread (see Run).
	virtual void Show();
	virtual void Hide();
	bool IsHidden() const;

	void AddChild(BView *child, BView *before = NULL);
	bool RemoveChild(BView *child);
	int32 CountChildren() const;
	BView *ChildAt(int32 index) const;
	// The first view of that name in the window, depth first.
	BView *FindView(const char *name) const;

	BRect Frame() const;
	BRect Bounds() const;
	void MoveTo(BPoint where);
	void MoveTo(float x, float y);
	void ResizeBy(float dh, float dv);
	void ResizeTo(float width, float height);

	const char *Title() const;
	void SetTitle(const char *title);
	window_type Type() const;
	uint32 Flags() const;

private:
	BWindow(const BWindow &);
	BWindow &operator=(const BWindow &);

	BRect fFrame;
	char *fTitle;
	window_type fType;
	uint32 fFlags;
	int32 fShowLevel;
	bool fShownOnce;
	BView *fTopView;
};

#endif // _WINDOW_H
