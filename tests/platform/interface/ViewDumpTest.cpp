// The text picture of a view tree: one line per view, indented by depth,
// with each kind's state, and texts quoted so that a line never breaks.
#include <CheckBox.h>
#include <TextControl.h>
#include <ViewDump.h>

#include <gtest/gtest.h>

namespace {

TEST(ViewDump, OneLinePerViewIndentedByDepth)
{
	BView root(BRect(0, 0, 300, 100), "root", B_FOLLOW_ALL_SIDES, 0);
	BTextControl *text = new BTextControl(BRect(0, 0, 0, 0), "Name",
		"Say \"hi\":", "line\none\t\\", NULL);
	text->ResizeToPreferred();
	text->SetEnabled(false);
	root.AddChild(text);
	BCheckBox *box = new BCheckBox(BRect(0, 23.5, 50, 41.5), "Box", "Box",
		NULL);
	box->SetValue(B_CONTROL_ON);
	root.AddChild(box);

	EXPECT_EQ(BPrivate::DumpViewTree(&root),
		"BView \"root\" (0, 0, 300, 100)\n"
		"  BTextControl \"Name\" (0, 0, 189, 23) label \"Say \\\"hi\\\":\""
		" text \"line\\none\\t\\\\\" disabled\n"
		"    BTextView \"_input_\" (73, 4, 185, 19)"
		" text \"line\\none\\t\\\\\"\n"
		"  BCheckBox \"Box\" (0, 23.5, 50, 41.5) label \"Box\" value 1"
		" enabled\n");
	EXPECT_EQ(BPrivate::DumpViewTree(NULL), "");
}

} // namespace
