#include "PilotConfigView.h"

#include <memory>

#include <Autolock.h>
#include <CheckBox.h>
#include <Message.h>
#include <TextControl.h>
#include <TextView.h>

#include "PilotSettings.h"

static const uint32 kControlResizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP;
static const uint32 kControlFlags = B_WILL_DRAW | B_NAVIGABLE;
// The field refuses what would not fit the store's name with its NUL.
static const int32 kNameMaxBytes = PILOT_DB_NAME_SIZE - 1;

PilotConfigView::PilotConfigView()
	: BView(BRect(0, 0, 0, 0), "Config", B_FOLLOW_ALL_SIDES, B_WILL_DRAW),
	  fControls()
{
	BAutolock lock(gSettingsLock);
	const BView *above = NULL;
	for (int row = 0; row < PILOT_SETTING_COUNT; row++) {
		fControls[row] = AddControl(row, above);
		above = fControls[row];
	}
	ResizeTo(NameControl()->Frame().right, above->Frame().bottom);
}

// The row's control, flush left, its top on the bottom of the control
// above it (none for the first), showing the row's option in gSettings.
// Each control is held by a unique_ptr until it is a child: if a later
// allocation throws, BView's destructor deletes the children, the
// unique_ptr the control not yet added, and the caller's BAutolock frees
// the lock.
BControl *PilotConfigView::AddControl(int row, const BView *above)
{
	const PilotSettingRow &setting = PILOT_SETTINGS[row];
	const BRect frame(0, above != NULL ? above->Frame().bottom : 0, 0, 0);
	std::unique_ptr<BControl> control;
	if (setting.type == B_STRING_TYPE) {
		BTextControl *name = new BTextControl(frame, setting.control,
			setting.label, gSettings.databaseName,
			new BMessage(setting.changedCode), kControlResizingMode,
			kControlFlags);
		control.reset(name);
		name->TextView()->SetMaxBytes(kNameMaxBytes);
		name->ResizeToPreferred();
		// The field, and the text view in it, stretch with the view.
		name->SetResizingMode(B_FOLLOW_LEFT_RIGHT);
		name->TextView()->SetResizingMode(B_FOLLOW_LEFT_RIGHT);
	} else {
		control.reset(new BCheckBox(frame, setting.control, setting.label,
			new BMessage(setting.changedCode), kControlResizingMode,
			kControlFlags));
		if (SwitchField(gSettings, row)) {
			control->SetValue(B_CONTROL_ON);
		}
		control->ResizeToPreferred();
	}
	AddChild(control.get());
	return control.release();
}

BTextControl *PilotConfigView::NameControl() const
{
	return static_cast<BTextControl *>(fControls[PILOT_NAME_ROW]);
}

void PilotConfigView::AttachedToWindow()
{
	for (BControl *control : fControls) {
		control->SetTarget(this);
	}
	BView::AttachedToWindow();
}

void PilotConfigView::MessageReceived(BMessage *message)
{
	for (int row = 0; row < PILOT_SETTING_COUNT; row++) {
		if (message->what != PILOT_SETTINGS[row].changedCode) {
			continue;
		}
		if (PILOT_SETTINGS[row].type == B_STRING_TYPE) {
			CopyName();
		} else {
			BAutolock lock(gSettingsLock);
			SwitchField(gSettings, row)
				= fControls[row]->Value() == B_CONTROL_ON;
		}
		return;
	}
	BView::MessageReceived(message);
}

void PilotConfigView::AllDetached()
{
	CopyName();
	BView::AllDetached();
}

// The field holds at most 31 bytes; the copy is cut to the store's size
// all the same.
void PilotConfigView::CopyName()
{
	BAutolock lock(gSettingsLock);
	CopyDatabaseName(gSettings.databaseName, NameControl()->Text());
}
