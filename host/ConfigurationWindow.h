// A translator's configuration view in a window, as the platform's
// Translation preferences show it: the view comes from the roster's
// MakeConfigurationView, the window's thread delivers the controls'
// messages to it, and quitting the window detaches it, which is when a
// view saves what it still holds.
#ifndef QUORVEL_HOST_CONFIGURATION_WINDOW_H
#define QUORVEL_HOST_CONFIGURATION_WINDOW_H

#include <string>

#include <TranslatorRoster.h>

class BWindow;

class ConfigurationWindow {
public:
	// Throws Failure when the translator offers no view.
	ConfigurationWindow(BTranslatorRoster &roster, translator_id id);
	// Quits the window if Close was not called.
	~ConfigurationWindow();

	// As a user would: types the text into the text control of that name
	// and commits it. False when there is no such control.
	bool EnterText(const char *controlName, const char *text);
	// Sets the check box of that name on or off, as a click would. False
	// when there is no such control.
	bool SetCheckBox(const char *controlName, bool on);

	// The view tree as text (DumpViewTree).
	std::string Dump();

	// Quits the window once every message sent to the view is handled.
	void Close();

private:
	ConfigurationWindow(const ConfigurationWindow &);
	ConfigurationWindow &operator=(const ConfigurationWindow &);

	BWindow *fWindow = NULL;
	class BView *fView = NULL;
};

#endif // QUORVEL_HOST_CONFIGURATION_WINDOW_H
