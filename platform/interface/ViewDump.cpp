#include <ViewDump.h>

#include <stdio.h>

#include <CheckBox.h>
#include <TextControl.h>
#include <TextView.h>

namespace {

void AppendQuoted(std::string &line, const char *text)
{
	line += '"';
	for (const char *c = text != NULL ? text : ""; *c != '\0'; c++) {
		const unsigned char byte = (unsigned char)*c;
		if (byte == '"' || byte == '\\') {
			line += '\\';
			line += *c;
		} else if (byte == '\n') {
			line += "\\n";
		} else if (byte == '\t') {
			line += "\\t";
		} else if (byte < 0x20 || byte == 0x7f) {
			char escape[8];
			snprintf(escape, sizeof(escape), "\\x%02x", byte);
			line += escape;
		} else {
			line += *c;
		}
	}
	line += '"';
}

const char *KindOf(const BView *view)
{
	if (dynamic_cast<const BTextControl *>(view) != NULL) {
		return "BTextControl";
	}
	if (dynamic_cast<const BCheckBox *>(view) != NULL) {
		return "BCheckBox";
	}
	if (dynamic_cast<const BControl *>(view) != NULL) {
		return "BControl";
	}
	if (dynamic_cast<const BTextView *>(view) != NULL) {
		return "BTextView";
	}
	return "BView";
}

void AppendFrame(std::string &line, BRect frame)
{
	char text[128];
	snprintf(text, sizeof(text), "(%g, %g, %g, %g)", frame.left, frame.top,
		frame.right, frame.bottom);
	line += text;
}

void AppendState(std::string &line, const BView *view)
{
	if (const BControl *control = dynamic_cast<const BControl *>(view)) {
		line += " label ";
		AppendQuoted(line, control->Label());
		if (const BTextControl *text
			= dynamic_cast<const BTextControl *>(view)) {
			line += " text ";
			AppendQuoted(line, text->Text());
		} else {
			line += " value " + std::to_string(control->Value());
		}
		line += control->IsEnabled() ? " enabled" : " disabled";
	} else if (const BTextView *text
		= dynamic_cast<const BTextView *>(view)) {
		line += " text ";
		AppendQuoted(line, text->Text());
	}
}

void DumpView(std::string &out, const BView *view, int depth)
{
	out.append(2 * depth, ' ');
	out += KindOf(view);
	out += ' ';
	AppendQuoted(out, view->Name());
	out += ' ';
	AppendFrame(out, view->Frame());
	AppendState(out, view);
	out += '\n';
	for (const BView *child = view->ChildAt(0); child != NULL;
		child = child->NextSibling()) {
		DumpView(out, child, depth + 1);
	}
}

} // namespace

namespace BPrivate {

std::string DumpViewTree(const BView *root)
{
	std::string out;
	if (root != NULL) {
		DumpView(out, root, 0);
	}
	return out;
}

} // namespace BPrivate
