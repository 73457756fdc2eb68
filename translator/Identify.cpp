// Identify: is the stream a Pilot image, or a bitmap stream we can turn
// into one?
#include <string.h>

#include <Autolock.h>
#include <TranslatorAddOn.h>
#include <TranslatorFormats.h>

#include "PilotSettings.h"
#include "PilotTranslate.h"
#include "TranslatorData.h"

static void FillInfo(translator_info *info, const translation_format &row)
{
	info->type = row.type;
	info->group = row.group;
	info->quality = row.quality;
	info->capability = row.capability;
	strcpy(info->name, row.name);
	strcpy(info->MIME, row.MIME);
}

_EXPORT status_t Identify(BPositionIO *inSource,
	const translation_format *inFormat, BMessage *ioExtension,
	translator_info *outInfo, uint32 outType)
{
	(void)inFormat;
	if (outType != 0 && outType != B_TRANSLATOR_BITMAP
		&& outType != PILOT_IMAGE_TYPE) {
		return B_NO_TRANSLATOR;
	}
	if (inSource == NULL || outInfo == NULL) {
		return B_BAD_VALUE;
	}

	gSettingsLock.Lock();
	PilotTranslate job(inSource, ioExtension, NULL);
	gSettingsLock.Unlock();

	if (job.IdentifyPilotImage() == B_OK) {
		FillInfo(outInfo, PilotFormat());
		return B_OK;
	}
	job.source->Seek(0, SEEK_SET);
	const status_t bitmap = job.IdentifyBitmapStream();
	if (bitmap != B_OK) {
		return bitmap;
	}
	FillInfo(outInfo, BitmapFormat());
	return B_OK;
}
