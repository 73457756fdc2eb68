// The configuration view's entry point.
#include <new>

#include <Autolock.h>
#include <TranslatorAddOn.h>

#include "PilotConfigView.h"
#include "PilotSettings.h"

// The extension message's options are merged into the store for good:
// every later job sees them, not only the view.
_EXPORT status_t MakeConfig(BMessage *ioExtension, BView **outView,
	BRect *outExtent)
{
	if (outView == NULL || outExtent == NULL) {
		return B_BAD_VALUE;
	}
	{
		BAutolock lock(gSettingsLock);
		gSettings.GetSettings(ioExtension);
	}
	// An exception must not cross the add-on's C entry point.
	try {
		PilotConfigView *view = new PilotConfigView;
		*outView = view;
		*outExtent = view->Bounds();
	} catch (const std::bad_alloc &) {
		*outView = NULL;
		return B_NO_MEMORY;
	}
	return B_OK;
}
