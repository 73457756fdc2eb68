// Building a job: the options as they stand in gSettings, overridden by
// the call's extension message.
#include "PilotTranslate.h"

#include <string.h>

#include "PilotSettings.h"

PilotTranslate::PilotTranslate(BPositionIO *source, BMessage *extension,
	BPositionIO *destination)
	: source(source), extension(extension), destination(destination),
	  compression(gSettings.compression), dithering(gSettings.dithering),
	  highContrast(gSettings.highContrast)
{
	strcpy(databaseName, gSettings.databaseName);
	bitmapHeader.bounds = BRect(0, 0, -1, -1);
	MergeOptions(extension, compression, dithering, highContrast,
		databaseName);
}
