// Translate: Pilot image to bitmap stream, or bitmap stream to Pilot image.
#include <TranslatorAddOn.h>
#include <TranslatorFormats.h>

#include "TranslatorData.h"
#include "PilotSettings.h"
#include "PilotTranslate.h"

_EXPORT status_t Translate(BPositionIO *inSource,
	const translator_info *inInfo, BMessage *ioExtension, uint32 outType,
	BPositionIO *outDestination)
{
	if (outType == 0) {
		outType = B_TRANSLATOR_BITMAP;
	}
	if (inSource == NULL || inInfo == NULL || outDestination == NULL) {
		return B_BAD_VALUE;
	}

	gSettingsLock.Lock();
	PilotTranslate job(inSource, ioExtension, outDestination);
	gSettingsLock.Unlock();

	if (inInfo->type == PILOT_IMAGE_TYPE && outType == B_TRANSLATOR_BITMAP) {
		return job.LoadPilotImage();
	}
	if (inInfo->type == B_TRANSLATOR_BITMAP && outType == PILOT_IMAGE_TYPE) {
		return job.SavePilotImage();
	}
	return B_NO_TRANSLATOR;
}
