// The view tree: children follow their parent's resizing by their resizing
// mode, and the attach and detach hooks run once each, in the platform's
// order.
#include <string>
#include <vector>

#include <View.h>
#include <Window.h>

#include <gtest/gtest.h>

namespace {

struct FollowCase {
	const char *what;
	uint32 mode;
	BRect expected;
};

// Views are laid out in a window; outside one, children stay put.
class LayoutTest : public testing::Test {
protected:
	LayoutTest()
		: fWindow(new BWindow(BRect(0, 0, 399, 299), "Layout",
			B_TITLED_WINDOW, 0))
	{
	}
	~LayoutTest() override { fWindow->Quit(); }

	BView *Attached(BView *view)
	{
		fWindow->AddChild(view);
		return view;
	}

	BWindow *fWindow;
};

// The parent, 200 x 100, grows by 40 x 20; the child sits at
// (20, 10, 60, 30).
TEST_F(LayoutTest, ChildrenFollowTheirParentByTheirResizingMode)
{
	const FollowCase cases[] = {
		{"none", B_FOLLOW_NONE, BRect(20, 10, 60, 30)},
		{"left top", B_FOLLOW_LEFT | B_FOLLOW_TOP, BRect(20, 10, 60, 30)},
		{"all sides", B_FOLLOW_ALL_SIDES, BRect(20, 10, 100, 50)},
		{"left right", B_FOLLOW_LEFT_RIGHT, BRect(20, 10, 100, 30)},
		{"right bottom", B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM,
			BRect(60, 30, 100, 50)},
		{"centred", B_FOLLOW_H_CENTER | B_FOLLOW_V_CENTER,
			BRect(40, 20, 80, 40)},
		{"top bottom", B_FOLLOW_LEFT | B_FOLLOW_TOP_BOTTOM,
			BRect(20, 10, 60, 50)},
	};
	for (const FollowCase &c : cases) {
		BView *parent = Attached(new BView(BRect(0, 0, 200, 100), "parent",
			B_FOLLOW_NONE, 0));
		BView *child = new BView(BRect(20, 10, 60, 30), "child", c.mode, 0);
		parent->AddChild(child);
		parent->ResizeBy(40, 20);
		EXPECT_EQ(child->Frame(), c.expected) << c.what;
		EXPECT_EQ(parent->Bounds(), BRect(0, 0, 240, 120)) << c.what;
	}
}

TEST(View, OutsideAWindowChildrenStayPut)
{
	BView parent(BRect(0, 0, 200, 100), "parent", B_FOLLOW_NONE, 0);
	BView *child = new BView(BRect(20, 10, 60, 30), "child",
		B_FOLLOW_ALL_SIDES, 0);
	parent.AddChild(child);
	parent.ResizeTo(300, 150);
	EXPECT_EQ(parent.Frame(), BRect(0, 0, 300, 150));
	EXPECT_EQ(child->Frame(), BRect(20, 10, 60, 30));
}

TEST_F(LayoutTest, ResizingReachesGrandchildrenThroughAStretchedChild)
{
	BView &parent = *Attached(new BView(BRect(0, 0, 100, 50), "parent",
		B_FOLLOW_NONE, 0));
	BView *child = new BView(BRect(0, 0, 100, 20), "child",
		B_FOLLOW_LEFT_RIGHT, 0);
	BView *grandchild = new BView(BRect(50, 2, 98, 18), "grandchild",
		B_FOLLOW_RIGHT, 0);
	BView *fixed = new BView(BRect(0, 20, 10, 30), "fixed",
		B_FOLLOW_LEFT | B_FOLLOW_TOP, 0);
	parent.AddChild(child);
	parent.AddChild(fixed);
	child->AddChild(grandchild);

	parent.ResizeTo(150, 50);
	EXPECT_EQ(child->Frame(), BRect(0, 0, 150, 20));
	EXPECT_EQ(grandchild->Frame(), BRect(100, 2, 148, 18));
	EXPECT_EQ(fixed->Frame(), BRect(0, 20, 10, 30));

	// SetResizingMode takes effect at the next resize.
	fixed->SetResizingMode(B_FOLLOW_RIGHT);
	parent.ResizeBy(-50, 0);
	EXPECT_EQ(fixed->Frame(), BRect(-50, 20, -40, 30));
	EXPECT_EQ(child->Frame(), BRect(0, 0, 100, 20));
}

TEST(View, TreeNavigationAndOwnership)
{
	BView parent(BRect(0, 0, 10, 10), "parent", B_FOLLOW_NONE, 0);
	BView *first = new BView(BRect(), "first", B_FOLLOW_NONE, 0);
	BView *last = new BView(BRect(), "last", B_FOLLOW_NONE, 0);
	BView *middle = new BView(BRect(), "middle", B_FOLLOW_NONE, 0);
	BView *deep = new BView(BRect(), "last", B_FOLLOW_NONE, 0);
	parent.AddChild(first);
	parent.AddChild(last);
	parent.AddChild(middle, last);
	first->AddChild(deep);

	ASSERT_EQ(parent.CountChildren(), 3);
	EXPECT_EQ(parent.ChildAt(0), first);
	EXPECT_EQ(parent.ChildAt(1), middle);
	EXPECT_EQ(parent.ChildAt(2), last);
	EXPECT_EQ(parent.ChildAt(3), nullptr);
	EXPECT_EQ(middle->Parent(), &parent);
	// Depth first: the first child's subtree before the later children.
	EXPECT_EQ(parent.FindView("last"), deep);
	EXPECT_EQ(parent.FindView("parent"), &parent);
	EXPECT_EQ(parent.FindView("nowhere"), nullptr);

	// A view has one parent.
	parent.AddChild(deep);
	EXPECT_EQ(deep->Parent(), first);
	EXPECT_TRUE(parent.RemoveChild(middle));
	EXPECT_FALSE(parent.RemoveChild(middle));
	EXPECT_EQ(parent.ChildAt(1), last);
	delete middle;
	// The rest are deleted with parent (the leak checker watches).
}

// Records every hook as "<name> <hook>".
class HookView : public BView {
public:
	HookView(const char *name, std::vector<std::string> *events,
		bool addChildOnAttach = false)
		: BView(BRect(0, 0, 10, 10), name, B_FOLLOW_NONE, 0),
		  fEvents(events), fAddChildOnAttach(addChildOnAttach)
	{
	}

	void AttachedToWindow() override
	{
		Record("attached");
		if (fAddChildOnAttach) {
			fAddChildOnAttach = false;
			AddChild(new HookView("late", fEvents));
		}
	}
	void AllAttached() override { Record("all attached"); }
	void DetachedFromWindow() override { Record("detached"); }
	void AllDetached() override { Record("all detached"); }

private:
	void Record(const char *hook)
	{
		fEvents->push_back(std::string(Name()) + " " + hook
			+ (Window() == NULL ? " (no window)" : ""));
	}

	std::vector<std::string> *fEvents;
	bool fAddChildOnAttach;
};

TEST(View, HooksRunOnceEachParentsFirstThenChildrenFirst)
{
	std::vector<std::string> events;
	HookView *top = new HookView("top", &events, true);
	top->AddChild(new HookView("child", &events));
	BWindow *window = new BWindow(BRect(0, 0, 99, 99), "Hooks",
		B_TITLED_WINDOW, 0);

	window->AddChild(top);
	EXPECT_EQ(events, (std::vector<std::string>{"top attached",
		"child attached", "late attached", "child all attached",
		"late all attached", "top all attached"}));
	EXPECT_EQ(top->FindView("late")->Window(), window);
	EXPECT_EQ(top->NextHandler(), window->ChildAt(0)->Parent());

	events.clear();
	EXPECT_TRUE(window->RemoveChild(top));
	EXPECT_EQ(events, (std::vector<std::string>{"top detached",
		"child detached", "late detached", "child all detached",
		"late all detached", "top all detached"}));
	EXPECT_EQ(top->FindView("child")->Window(), nullptr);

	// Attached again, it gets the hooks again.
	events.clear();
	window->AddChild(top);
	EXPECT_EQ(events.size(), 6u);
	window->Quit();
}

} // namespace
