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

// Each control is held by a unique_ptr until it is a child: if a later
// allocation throws, BView's destructor deletes the children, the
// unique_ptr the control not yet added, and the BAutolock frees the lock.
PilotConfigView::PilotConfigView()
	: BView(BRect(0, 0, 0, 0), "Config", B_FOLLOW_ALL_SIDES, B_WILL_DRAW),
	  fNameControl(NULL), fCompressionBox(NULL), fDitheringBox(NULL),
	  fContrastBox(NULL)
{
	BAutolock lock(gSettingsLock);

	std::unique_ptr<BTextControl> name(new BTextControl(BRect(0, 0, 0, 0),
		"Name", "Database name:", gSettings.databaseName,
		new BMessage(PILOT_NAME_CHANGED), kControlResizingMode,
		kControlFlags));
	name->TextView()->SetMaxBytes(kNameMaxBytes);
	name->ResizeToPreferred();
	// The field, and the text view in it, stretch with the view.
	name->SetResizingMode(B_FOLLOW_LEFT_RIGHT);
	name->TextView()->SetResizingMode(B_FOLLOW_LEFT_RIGHT);
	AddChild(name.get());
	fNameControl = name.release();

	fCompressionBox = AddCheckBox("Compression", "Compression",
		PILOT_COMPRESSION_CHANGED, gSettings.compression, fNameControl);
	fDitheringBox = AddCheckBox("Dithering", "Dithering",
		PILOT_DITHERING_CHANGED, gSettings.dithering, fCompressionBox);
	fContrastBox = AddCheckBox("Contrast", "High contrast",
		PILOT_CONTRAST_CHANGED, gSettings.highContrast, fDitheringBox);

	ResizeTo(fNameControl->Frame().right, fContrastBox->Frame().bottom);
}

// A box flush left, its top on the bottom of the control above it.
BCheckBox *PilotConfigView::AddCheckBox(const char *name, const char *label,
	uint32 what, bool on, const BView *above)
{
	std::unique_ptr<BCheckBox> box(new BCheckBox(
		BRect(0, above->Frame().bottom, 0, 0), name, label,
		new BMessage(what), kControlResizingMode, kControlFlags));
	if (on) {
		box->SetValue(B_CONTROL_ON);
	}
	box->ResizeToPreferred();
	AddChild(box.get());
	return box.release();
}

void PilotConfigView::AttachedToWindow()
{
	fNameControl->SetTarget(this);
	fCompressionBox->SetTarget(this);
	fDitheringBox->SetTarget(this);
	fContrastBox->SetTarget(this);
	BView::AttachedToWindow();
}

void PilotConfigView::MessageReceived(BMessage *message)
{
	switch (message->what) {
		case PILOT_COMPRESSION_CHANGED: {
			BAutolock lock(gSettingsLock);
			gSettings.compression = fCompressionBox->Value() == B_CONTROL_ON;
			break;
		}
		case PILOT_DITHERING_CHANGED: {
			BAutolock lock(gSettingsLock);
			gSettings.dithering = fDitheringBox->Value() == B_CONTROL_ON;
			break;
		}
		case PILOT_CONTRAST_CHANGED: {
			BAutolock lock(gSettingsLock);
			gSettings.highContrast = fContrastBox->Value() == B_CONTROL_ON;
			break;
		}
		case PILOT_NAME_CHANGED:
			CopyName();
			break;
		default:
			BView::MessageReceived(message);
			break;
	}
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
	CopyDatabaseName(gSettings.databaseName, fNameControl->Text());
}
