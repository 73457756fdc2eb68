// The settings view, made through the roster: what it shows, how it is
// laid out, and how its controls, driven as a host drives them in a
// window's thread, change the options of later jobs.
#include <string>
#include <thread>
#include <vector>

#include <ViewDump.h>

#include "ConfigViewSupport.h"
#include "../platform/interface/LooperSync.h"

namespace {

BWindow *NewWindow(BRect frame)
{
	return new BWindow(frame, "Settings", B_TITLED_WINDOW, 0);
}

void Type(BTextControl *control, const std::string &text)
{
	for (char c : text) {
		control->TextView()->KeyDown(&c, 1);
	}
}

TEST_F(ConfigViewTest, DefaultViewShowsTheDefaultOptions)
{
	BView *view = MakeView();
	ASSERT_NE(view, nullptr);
	Controls controls(view);
	ASSERT_TRUE(controls.Complete());
	EXPECT_STREQ(controls.name->Text(), "");
	EXPECT_EQ(controls.compression->Value(), B_CONTROL_ON);
	EXPECT_EQ(controls.dithering->Value(), B_CONTROL_ON);
	EXPECT_EQ(controls.contrast->Value(), B_CONTROL_OFF);

	// The whole layout, in the kit's fixed font metrics.
	EXPECT_EQ(BPrivate::DumpViewTree(view),
		"BView \"Config\" (0, 0, 224, 77)\n"
		"  BTextControl \"Name\" (0, 0, 224, 23) label \"Database name:\""
		" text \"\" enabled\n"
		"    BTextView \"_input_\" (108, 4, 220, 19) text \"\"\n"
		"  BCheckBox \"Compression\" (0, 23, 97, 41) label \"Compression\""
		" value 1 enabled\n"
		"  BCheckBox \"Dithering\" (0, 41, 83, 59) label \"Dithering\""
		" value 1 enabled\n"
		"  BCheckBox \"Contrast\" (0, 59, 111, 77) label \"High contrast\""
		" value 0 enabled\n");
	delete view;
}

TEST_F(ConfigViewTest, ControlsCarryTheirCodesModesAndFlags)
{
	BView *view = MakeView();
	ASSERT_NE(view, nullptr);
	EXPECT_STREQ(view->Name(), "Config");
	EXPECT_EQ(view->ResizingMode(), 0x1234u);
	EXPECT_EQ(view->Flags(), 0x20000000u);

	Controls controls(view);
	ASSERT_TRUE(controls.Complete());
	struct Row {
		BControl *control;
		uint32 what;
		uint32 mode;
	};
	const Row rows[] = {
		{controls.name, 'chnm', 0x0204},
		{controls.compression, 'chcp', 0x1212},
		{controls.dithering, 'chdi', 0x1212},
		{controls.contrast, 'chct', 0x1212},
	};
	ASSERT_EQ(view->CountChildren(), 4);
	for (int i = 0; i < 4; i++) {
		SCOPED_TRACE(rows[i].control->Name());
		EXPECT_EQ(view->ChildAt(i), rows[i].control);
		EXPECT_EQ(rows[i].control->Command(), rows[i].what);
		EXPECT_TRUE(rows[i].control->Message()->IsEmpty());
		EXPECT_EQ(rows[i].control->ResizingMode(), rows[i].mode);
		EXPECT_EQ(rows[i].control->Flags(), 0x22000000u);
	}
	EXPECT_EQ(controls.name->TextView()->ResizingMode(), 0x0204u);
	EXPECT_EQ(controls.name->TextView()->MaxBytes(), 31);
	delete view;
}

TEST_F(ConfigViewTest, ExtentIsTheColumnOfControls)
{
	BRect extent;
	BView *view = MakeView(NULL, &extent);
	ASSERT_NE(view, nullptr);
	Controls controls(view);
	ASSERT_TRUE(controls.Complete());
	EXPECT_EQ(extent, BRect(0, 0, controls.name->Frame().right,
		controls.contrast->Frame().bottom));
	EXPECT_EQ(extent, view->Bounds());

	// Flush left, each top on the bottom of the control above: no gaps.
	const BControl *column[] = {controls.name, controls.compression,
		controls.dithering, controls.contrast};
	EXPECT_EQ(column[0]->Frame().LeftTop(), BPoint(0, 0));
	for (int i = 1; i < 4; i++) {
		EXPECT_EQ(column[i]->Frame().left, 0);
		EXPECT_EQ(column[i]->Frame().top, column[i - 1]->Frame().bottom);
	}
	delete view;
}

TEST_F(ConfigViewTest, MakeConfigMergesItsMessageForLaterJobs)
{
	const Bytes dithered = NamedPilot();
	const Bytes flat = NamedPilot(PILOT_DITHER_SETTING, false);
	ASSERT_NE(dithered, flat);

	BMessage extension;
	extension.AddBool(PILOT_DITHER_SETTING, false);
	extension.AddInt32(PILOT_COMPRESS_SETTING, 0);  // wrong type: skipped
	extension.AddString(PILOT_DB_NAME_SETTING, std::string(40, 'd').c_str());
	BView *view = MakeView(&extension);
	ASSERT_NE(view, nullptr);
	Controls controls(view);
	ASSERT_TRUE(controls.Complete());
	EXPECT_EQ(controls.dithering->Value(), B_CONTROL_OFF);
	EXPECT_EQ(controls.compression->Value(), B_CONTROL_ON);
	EXPECT_EQ(std::string(controls.name->Text()), std::string(31, 'd'));
	delete view;

	// The merge lasts: the store and a job that never saw the message.
	BMessage options = Options();
	EXPECT_FALSE(options.GetBool(PILOT_DITHER_SETTING, true));
	EXPECT_TRUE(options.GetBool(PILOT_COMPRESS_SETTING, false));
	EXPECT_EQ(std::string(options.GetString(PILOT_DB_NAME_SETTING, "")),
		std::string(31, 'd'));
	EXPECT_BYTES(NamedPilot(), flat);

	// A view made without a message shows the store as it is now.
	view = MakeView(NULL);
	ASSERT_NE(view, nullptr);
	EXPECT_EQ(Controls(view).dithering->Value(), B_CONTROL_OFF);
	delete view;
}

// Exactly what the command-line host does to change settings.
TEST_F(ConfigViewTest, HostChangesOptionsThroughTheWindowThread)
{
	const Bytes packed = NamedPilot();
	const Bytes unpacked = NamedPilot(PILOT_COMPRESS_SETTING, false);
	ASSERT_NE(packed, unpacked);

	BRect extent;
	BView *view = MakeView(NULL, &extent);
	ASSERT_NE(view, nullptr);
	BWindow *window = NewWindow(extent);
	window->AddChild(view);
	window->Show();

	window->Lock();
	BCheckBox *box = dynamic_cast<BCheckBox *>(window->FindView("Compression"));
	ASSERT_NE(box, nullptr);
	box->SetValue(B_CONTROL_OFF);
	EXPECT_EQ(box->Invoke(), B_OK);
	window->Unlock();
	WaitUntilHandled(window);
	// The next job sees it while the view is still open.
	EXPECT_BYTES(NamedPilot(), unpacked);

	window->Lock();
	BTextControl *name = dynamic_cast<BTextControl *>(window->FindView("Name"));
	ASSERT_NE(name, nullptr);
	name->SetText("Holiday");
	EXPECT_EQ(name->Invoke(), B_OK);
	box = dynamic_cast<BCheckBox *>(window->FindView("Contrast"));
	ASSERT_NE(box, nullptr);
	box->SetValue(B_CONTROL_ON);
	EXPECT_EQ(box->Invoke(), B_OK);
	window->Quit();

	BMessage options = Options();
	EXPECT_FALSE(options.GetBool(PILOT_COMPRESS_SETTING, true));
	EXPECT_TRUE(options.GetBool(PILOT_CONTRAST_SETTING, false));
	EXPECT_STREQ(options.GetString(PILOT_DB_NAME_SETTING, ""), "Holiday");
	// The database name is the first field of the image's header.
	const Bytes image = ToPilot(NULL);
	ASSERT_GE(image.size(), 32u);
	EXPECT_STREQ((const char *)image.data(), "Holiday");
}

TEST_F(ConfigViewTest, TypedNameIsKeptWhenTheViewLeavesItsWindow)
{
	BRect extent;
	BView *view = MakeView(NULL, &extent);
	ASSERT_NE(view, nullptr);
	BWindow *window = NewWindow(extent);
	window->AddChild(view);
	window->Show();
	window->Lock();
	Type(Controls(view).name, "Trip");
	window->Unlock();
	WaitUntilHandled(window);
	EXPECT_EQ(StoredName(), "");  // typing alone commits nothing
	window->Lock();
	window->Quit();
	EXPECT_EQ(StoredName(), "Trip");

	// Enter commits at once; removing the view keeps the name too.
	view = MakeView(NULL, &extent);
	ASSERT_NE(view, nullptr);
	window = NewWindow(extent);
	window->AddChild(view);
	window->Show();
	window->Lock();
	BTextControl *name = Controls(view).name;
	EXPECT_STREQ(name->Text(), "Trip");
	Type(name, "\b\b\b\bWalk\n");
	window->Unlock();
	WaitUntilHandled(window);
	EXPECT_EQ(StoredName(), "Walk");
	window->Lock();
	Type(name, "s");
	EXPECT_TRUE(window->RemoveChild(view));
	EXPECT_EQ(StoredName(), "Walks");
	window->Quit();
	delete view;
}

TEST_F(ConfigViewTest, NameFieldRefusesA32ndByte)
{
	BView *view = MakeView();
	ASSERT_NE(view, nullptr);
	BTextControl *name = Controls(view).name;
	Type(name, std::string(31, 'n'));
	EXPECT_EQ(name->TextView()->TextLength(), 31);
	Type(name, "x");
	EXPECT_EQ(std::string(name->Text()), std::string(31, 'n'));

	name->SetText(std::string(40, 'm').c_str());
	EXPECT_EQ(std::string(name->Text()), std::string(31, 'm'));
	// 30 bytes and a two-byte character: the character does not fit.
	name->SetText((std::string(30, 'u') + "\xC3\xBC").c_str());
	EXPECT_EQ(std::string(name->Text()), std::string(30, 'u'));

	BMessage commit('chnm');
	view->MessageReceived(&commit);
	EXPECT_EQ(StoredName(), std::string(30, 'u'));
	delete view;
}

TEST_F(ConfigViewTest, WideningStretchesTheNameFieldOnly)
{
	BRect extent;
	BView *view = MakeView(NULL, &extent);
	ASSERT_NE(view, nullptr);
	Controls controls(view);
	ASSERT_TRUE(controls.Complete());
	const BRect name = controls.name->Frame();
	const BRect field = controls.name->TextView()->Frame();
	const BRect boxes[] = {controls.compression->Frame(),
		controls.dithering->Frame(), controls.contrast->Frame()};

	// The view follows all sides of its window.
	BWindow *window = NewWindow(extent);
	window->AddChild(view);
	window->ResizeBy(100, 0);
	EXPECT_EQ(view->Frame(), BRect(0, 0, extent.right + 100, extent.bottom));
	EXPECT_EQ(controls.name->Frame(), BRect(name.left, name.top,
		name.right + 100, name.bottom));
	EXPECT_EQ(controls.name->TextView()->Frame(), BRect(field.left,
		field.top, field.right + 100, field.bottom));
	EXPECT_EQ(controls.compression->Frame(), boxes[0]);
	EXPECT_EQ(controls.dithering->Frame(), boxes[1]);
	EXPECT_EQ(controls.contrast->Frame(), boxes[2]);
	window->Quit();
}

TEST_F(ConfigViewTest, NameMessageFromAnyoneCopiesTheFieldText)
{
	BRect extent;
	BView *view = MakeView(NULL, &extent);
	ASSERT_NE(view, nullptr);
	BTextControl *name = Controls(view).name;
	name->SetText("Direct");
	EXPECT_EQ(StoredName(), "");
	// Whatever the message holds, the field's text is what counts.
	BMessage message('chnm');
	message.AddString(PILOT_DB_NAME_SETTING, "Ignored");
	view->MessageReceived(&message);
	EXPECT_EQ(StoredName(), "Direct");

	// Posted from another thread to the view in its window.
	BWindow *window = NewWindow(extent);
	window->AddChild(view);
	name->SetText("Posted");
	window->Show();
	std::thread([&] {
		EXPECT_EQ(window->PostMessage(&message, view), B_OK);
	}).join();
	WaitUntilHandled(window);
	EXPECT_EQ(StoredName(), "Posted");
	window->Lock();
	window->Quit();
}

class RecordingWindow : public BWindow {
public:
	explicit RecordingWindow(BRect frame)
		: BWindow(frame, "Settings", B_TITLED_WINDOW, 0)
	{
	}
	void MessageReceived(BMessage *message) override
	{
		codes.push_back(message->what);
		BWindow::MessageReceived(message);
	}
	std::vector<uint32> codes;
};

TEST_F(ConfigViewTest, UnknownMessagesPassToBView)
{
	BRect extent;
	BView *view = MakeView(NULL, &extent);
	ASSERT_NE(view, nullptr);
	RecordingWindow *window = new RecordingWindow(extent);
	window->AddChild(view);
	window->Show();
	// BView hands what it does not know up the chain: the top view, then
	// the window.
	BMessage unknown('chcq');
	unknown.AddBool(PILOT_COMPRESS_SETTING, false);
	ASSERT_EQ(window->PostMessage(&unknown, view), B_OK);
	WaitUntilHandled(window);
	EXPECT_EQ(window->codes, std::vector<uint32>{'chcq'});
	EXPECT_TRUE(Options().GetBool(PILOT_COMPRESS_SETTING, false));
	window->Lock();
	window->Quit();
}

} // namespace
