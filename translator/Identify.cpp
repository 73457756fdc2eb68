// Identify: is the stream a Pilot image, or a bitmap stream we can turn
// into one?
#include <string.h>

#include <Autolock.h>
#include <TranslatorAddOn.h>

#include "BitmapHeader.h"
#include "TranslatorData.h"
#include "PilotFacts.h"
#include "PilotSettings.h"
#include "PilotTranslate.h"

static void FillInfo(translator_info *info, const translation_format &row)
{
	info->type = row.type;
	info->group = row.group;
	info->quality = row.quality;
	info->capability = row.capability;
	strcpy(info->name, row.name);
	strcpy(info->MIME, row.MIME);
}

// A bitmap stream we accept: the magic, ordered bounds, a colour space we
// convert, and a dataSize equal to rows x rowBytes. The rows come from the
// float bounds, so the product is formed in double precision and must
// match exactly.
static bool IsUsableBitmapStream(BPositionIO *source)
{
	source->Seek(0, SEEK_SET);
	TranslatorBitmap header;
	if (ReadBitmapHeader(source, &header) != B_OK) {
		return false;
	}
	if (header.magic != B_TRANSLATOR_BITMAP
		|| !HasOrderedBounds(header.bounds)
		|| !IsPilotSourceColorSpace(ColorSpaceCode(header))) {
		return false;
	}
	const double rows = (double)header.bounds.bottom
		- (double)header.bounds.top + 1.0;
	return rows * (double)header.rowBytes == (double)header.dataSize;
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
		ReportImageFacts(ioExtension, job.imageHeader);
		FillInfo(outInfo, PilotFormat());
		return B_OK;
	}
	if (!IsUsableBitmapStream(inSource)) {
		return B_NO_TRANSLATOR;
	}
	FillInfo(outInfo, BitmapFormat());
	return B_OK;
}
