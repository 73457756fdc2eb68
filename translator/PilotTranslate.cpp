// Building a job, with the options as they stand in gSettings overridden
// by the call's extension message, and handing its streams to the codec.
#include "PilotTranslate.h"

#include <TranslatorFailure.h>
#include <TranslatorFormats.h>

#include "PilotSettings.h"

PilotTranslate::PilotTranslate(BPositionIO *source, BMessage *extension,
	BPositionIO *destination)
	: source(source), extension(extension), destination(destination),
	  options(gSettings)
{
	MergeOptions(extension, options);
	// The depth is chosen per call and never stored; a value the codec
	// does not know fails the call.
	int32 depth;
	if (extension != NULL
		&& extension->FindInt32(PILOT_DEPTH_OPTION, &depth) == B_OK) {
		options.depth = depth;
	}
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
	PilotRefusal refusal;
	return Reported(::LoadPilotImage(*source, *destination, extension,
		&refusal), refusal);
}

status_t PilotTranslate::SavePilotImage()
{
	const char *comment = NULL;
	if (extension != NULL && extension->FindString(B_TRANSLATOR_EXT_COMMENT,
			&comment) != B_OK) {
		comment = NULL;
	}
	PilotRefusal refusal;
	return Reported(::SavePilotImage(*source, *destination, options, comment,
		&refusal), refusal);
}

// As every translator does, so that a host can say why.
status_t PilotTranslate::Reported(status_t status,
	const PilotRefusal &refusal) const
{
	if (refusal.check != kHeaderAccepted) {
		ReportTranslatorFailure(extension, RefusalText(refusal).c_str());
	}
	return status;
}
