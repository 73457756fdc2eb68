// The translator's settings view: the database name field and the
// Compression, Dithering and High contrast boxes, in a column. It shows the
// option store when it is built and writes every change straight back into
// it, under gSettingsLock, so that every job built afterwards uses it; it
// keeps no options of its own.
//
// The controls are the rows of the options' table (PilotSettingTable.h),
// its labels and order. Each control reports to the view with its row's
// code ('chnm' from the name field when its text is committed with Enter,
// 'chcp', 'chdi' and 'chct' from the boxes), and the view copies that one
// control's state into the store. When the
// view leaves its window it copies the name field once more, so that a
// name typed but never committed is kept too.
//
// tests/config/PilotConfigViewTest.cpp drives it as a host does.
#ifndef QUORVEL_PILOT_CONFIG_VIEW_H
#define QUORVEL_PILOT_CONFIG_VIEW_H

#include <PilotSettingTable.h>
#include <View.h>

class BControl;
class BTextControl;

class PilotConfigView : public BView {
public:
	// Builds the controls from gSettings, holding gSettingsLock, and
	// sizes the view to them: as wide as the name field, as tall as the
	// column of four controls. If a control cannot be allocated, the
	// allocation's exception leaves the constructor with the lock freed.
	PilotConfigView();

	virtual void MessageReceived(BMessage *message);
	// Points the controls at this view.
	virtual void AttachedToWindow();
	// Keeps the name field's text.
	virtual void AllDetached();

private:
	BControl *AddControl(int row, const BView *above);
	BTextControl *NameControl() const;
	void CopyName();

	// One a row of the options' table, in its order: the name field, then
	// the Compression, Dithering and High contrast boxes.
	BControl *fControls[PILOT_SETTING_COUNT];
};

#endif // QUORVEL_PILOT_CONFIG_VIEW_H
