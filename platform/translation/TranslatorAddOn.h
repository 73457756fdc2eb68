// What a translator add-on exports. The roster finds these by name.
#ifndef _TRANSLATOR_ADD_ON_H
#define _TRANSLATOR_ADD_ON_H

#include <TranslationDefs.h>

class BMessage;
class BView;
class BRect;
class BPositionIO;

extern "C" {

extern _EXPORT char translatorName[];
extern _EXPORT char translatorInfo[];
extern _EXPORT int32 translatorVersion;

// Each table ends with a row whose type is 0.
extern _EXPORT translation_format inputFormats[];
extern _EXPORT translation_format outputFormats[];

_EXPORT status_t Identify(BPositionIO *inSource,
	const translation_format *inFormat, BMessage *ioExtension,
	translator_info *outInfo, uint32 outType);

_EXPORT status_t Translate(BPositionIO *inSource,
	const translator_info *inInfo, BMessage *ioExtension, uint32 outType,
	BPositionIO *outDestination);

_EXPORT status_t MakeConfig(BMessage *ioExtension, BView **outView,
	BRect *outExtent);

_EXPORT status_t GetConfigMessage(BMessage *ioExtension);

}

#endif // _TRANSLATOR_ADD_ON_H
