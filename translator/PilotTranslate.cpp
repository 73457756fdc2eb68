// Building a job, with the options as they stand in gSettings overridden
// by the call's extension message, and handing its streams to the codec.
#include "PilotTranslate.h"

#include <TranslatorFormats.h>

#include "PilotSettings.h"

PilotTranslate::PilotTranslate(BPositionIO *source, BMessage *extension,
	BPositionIO *destination)
	: source(source), extension(extension), destination(destination),
	  options(gSettings)
{
	MergeOptions(extension, options);
}

status_t PilotTranslate::IdentifyPilotImage()
{
	return ::IdentifyPilotImage(*source, extension);
}

status_t PilotTranslate::IdentifyBitmapStream()
{
	return ::IdentifyBitmapStream(*source);
}

status_t PilotTranslate::LoadPilotImage()
{
	return ::LoadPilotImage(*source, *destination, extension);
}

status_t PilotTranslate::SavePilotImage()
{
	const char *comment = NULL;
	if (extension != NULL && extension->FindString(B_TRANSLATOR_EXT_COMMENT,
			&comment) != B_OK) {
		comment = NULL;
	}
	return ::SavePilotImage(*source, *destination, options, comment);
}
