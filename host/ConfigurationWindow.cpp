#include "ConfigurationWindow.h"

#include <CheckBox.h>
#include <TextControl.h>
#include <View.h>
#include <ViewDump.h>
#include <Window.h>

#include "Failure.h"
#include "StatusText.h"
#include "TranslatorHost.h"

ConfigurationWindow::ConfigurationWindow(BTranslatorRoster &roster,
	translator_id id)
{
	BRect extent;
	status_t status = roster.MakeConfigurationView(id, NULL, &fView,
		&extent);
	if (status != B_OK || fView == NULL) {
		throw Failure("the translator offers no configuration view ("
			+ DescribeStatus(status) + ")");
	}
	BRect frame(100, 100, 100 + extent.Width(), 100 + extent.Height());
	fWindow = new BWindow(frame, "Quorvel settings", B_TITLED_WINDOW,
		B_NOT_RESIZABLE | B_NOT_ZOOMABLE);
	fWindow->AddChild(fView);
	fWindow->Show();
}

ConfigurationWindow::~ConfigurationWindow()
{
	Close();
}

bool ConfigurationWindow::EnterText(const char *controlName, const char *text)
{
	fWindow->Lock();
	BTextControl *control = dynamic_cast<BTextControl *>(
		fWindow->FindView(controlName));
	if (control != NULL) {
		control->SetText(text);
		control->Invoke();
	}
	fWindow->Unlock();
	return control != NULL;
}

bool ConfigurationWindow::SetCheckBox(const char *controlName, bool on)
{
	fWindow->Lock();
	BCheckBox *box = dynamic_cast<BCheckBox *>(
		fWindow->FindView(controlName));
	if (box != NULL) {
		box->SetValue(on ? B_CONTROL_ON : B_CONTROL_OFF);
		box->Invoke();
	}
	fWindow->Unlock();
	return box != NULL;
}

std::string ConfigurationWindow::Dump()
{
	fWindow->Lock();
	std::string text = BPrivate::DumpViewTree(fView);
	fWindow->Unlock();
	return text;
}

void ConfigurationWindow::Close()
{
	if (fWindow == NULL) {
		return;
	}
	// Quit lets the window's thread handle the messages posted so far,
	// then detaches and deletes the view with the window.
	fWindow->Lock();
	fWindow->Quit();
	fWindow = NULL;
	fView = NULL;
}
