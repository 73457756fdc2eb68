// Controls: what Invoke sends and where, keyboard toggling and committing,
// and the preferred sizes from the fixed font metrics.
#include <string.h>

#include <vector>

#include <CheckBox.h>
#include <Message.h>
#include <TextControl.h>
#include <TextView.h>
#include <Window.h>

#include <gtest/gtest.h>

#include "LooperSync.h"

namespace {

class Recorder : public BHandler {
public:
	void MessageReceived(BMessage *message) override
	{
		messages.push_back(*message);
	}
	std::vector<BMessage> messages;
};

BCheckBox *NewBox(const char *label = "Box")
{
	return new BCheckBox(BRect(0, 0, 0, 0), "box", label, new BMessage('boxx'));
}

TEST(Control, InvokeWithoutALooperHandsTheMessageToTheTarget)
{
	BCheckBox *box = NewBox();
	EXPECT_EQ(box->Invoke(), B_BAD_HANDLER);
	Recorder target;
	ASSERT_EQ(box->SetTarget(&target), B_OK);
	box->SetValue(B_CONTROL_ON);
	ASSERT_EQ(box->Invoke(), B_OK);

	ASSERT_EQ(target.messages.size(), 1u);
	const BMessage &sent = target.messages[0];
	EXPECT_EQ(sent.what, (uint32)'boxx');
	EXPECT_EQ(sent.GetInt32("be:value", -1), B_CONTROL_ON);
	void *source = NULL;
	EXPECT_EQ(sent.FindPointer("source", &source), B_OK);
	EXPECT_EQ(source, box);
	int64 when = 0;
	EXPECT_EQ(sent.FindInt64("when", &when), B_OK);
	// The control's own message is sent as a copy, untouched.
	EXPECT_FALSE(box->Message()->HasInt32("be:value"));

	BMessage other('othr');
	EXPECT_EQ(box->Invoke(&other), B_OK);
	EXPECT_EQ(target.messages.back().what, (uint32)'othr');
	box->SetMessage(NULL);
	EXPECT_EQ(box->Invoke(), B_BAD_VALUE);
	delete box;
}

TEST(Control, InAWindowItPostsToTheTargetsLooper)
{
	BWindow *window = new BWindow(BRect(0, 0, 99, 99), "Controls",
		B_TITLED_WINDOW, 0);
	Recorder recorder;
	window->AddHandler(&recorder);
	BCheckBox *untargeted = NewBox();
	BCheckBox *targeted = NewBox();
	targeted->SetTarget(&recorder);
	window->AddChild(untargeted);
	window->AddChild(targeted);

	// Without a target of its own a control reports to its window.
	BLooper *looper = NULL;
	EXPECT_EQ(untargeted->Target(&looper), window);
	EXPECT_EQ(looper, window);
	EXPECT_EQ(targeted->SetTarget(&recorder, targeted->Looper()), B_OK);
	BWindow *otherWindow = new BWindow(BRect(0, 0, 9, 9), "Other",
		B_TITLED_WINDOW, 0);
	EXPECT_EQ(targeted->SetTarget(&recorder, otherWindow), B_MISMATCHED_VALUES);
	otherWindow->Quit();

	window->Show();
	window->Lock();
	// Posted, not called: nothing arrives while this thread holds the lock.
	ASSERT_EQ(targeted->Invoke(), B_OK);
	EXPECT_TRUE(recorder.messages.empty());
	window->Unlock();
	WaitUntilHandled(window);
	ASSERT_EQ(recorder.messages.size(), 1u);
	EXPECT_EQ(recorder.messages[0].what, (uint32)'boxx');

	window->Lock();
	window->RemoveHandler(&recorder);
	window->Quit();
}

TEST(Control, KeysToggleABoxAndEnterCommitsATextControl)
{
	Recorder target;
	BCheckBox *box = NewBox();
	box->SetTarget(&target);
	box->KeyDown(" ", 1);
	EXPECT_EQ(box->Value(), B_CONTROL_ON);
	box->SetEnabled(false);
	box->KeyDown(" ", 1);
	EXPECT_EQ(box->Value(), B_CONTROL_ON);
	EXPECT_EQ(target.messages.size(), 1u);
	delete box;

	BTextControl text(BRect(0, 0, 0, 0), "text", "Label:", "start",
		new BMessage('text'));
	text.SetTarget(&target);
	text.TextView()->KeyDown("x", 1);
	EXPECT_STREQ(text.Text(), "startx");
	EXPECT_EQ(target.messages.size(), 1u);
	const char enter = B_ENTER;
	text.TextView()->KeyDown(&enter, 1);
	ASSERT_EQ(target.messages.size(), 2u);
	EXPECT_EQ(target.messages[1].what, (uint32)'text');
	EXPECT_STREQ(text.Text(), "startx");

	text.SetEnabled(false);
	text.TextView()->KeyDown("y", 1);
	text.TextView()->KeyDown(&enter, 1);
	EXPECT_STREQ(text.Text(), "startx");
	EXPECT_EQ(target.messages.size(), 2u);
}

TEST(Control, PreferredSizesComeFromTheFixedFontMetrics)
{
	BCheckBox *box = NewBox("Compression");
	box->ResizeToPreferred();
	EXPECT_EQ(box->Frame(), BRect(0, 0, 20 + 11 * 7, 18));
	delete box;

	BTextControl text(BRect(10, 5, 10, 5), "text", "Database name:", "",
		NULL);
	EXPECT_EQ(text.Divider(), 14 * 7 + 6);
	text.ResizeToPreferred();
	EXPECT_EQ(text.Frame(), BRect(10, 5, 10 + 104 + 120, 5 + 23));
	EXPECT_EQ(text.TextView()->Frame(), BRect(108, 4, 220, 19));
	text.SetDivider(50);
	EXPECT_EQ(text.TextView()->Frame(), BRect(54, 4, 220, 19));


	// In a window, other resizes move the field by its own mode only.
	BWindow *window = new BWindow(BRect(0, 0, 399, 99), "Text",
		B_TITLED_WINDOW, 0);
	BTextControl *attached = new BTextControl(BRect(0, 0, 0, 0), "text",
		"Database name:", "", NULL);
	attached->ResizeToPreferred();
	window->AddChild(attached);
	attached->ResizeBy(30, 0);
	EXPECT_EQ(attached->TextView()->Frame(), BRect(108, 4, 220, 19));
	attached->TextView()->SetResizingMode(B_FOLLOW_LEFT_RIGHT);
	attached->ResizeBy(30, 0);
	EXPECT_EQ(attached->TextView()->Frame(), BRect(108, 4, 250, 19));
	window->Quit();
}

} // namespace
