// What a translator add-on exports. The roster finds these by name.
//
// As in the platform's own header, nothing here asks for the symbols to be
// exported: an add-on built with hidden visibility marks its definitions
// _EXPORT itself. The data keeps C++ linkage, which leaves the names of
// global variables as they are.
#ifndef _TRANSLATOR_ADD_ON_H
#define _TRANSLATOR_ADD_ON_H

#include <TranslationDefs.h>

class BMessage;
class BView;
class BRect;
class BPositionIO;

extern char translatorName[];
extern char translatorInfo[];
extern int32 translatorVersion;

// Each table ends with a row whose type is 0.
extern translation_format inputFormats[];
extern translation_format outputFormats[];

extern "C" {

extern status_t Identify(BPositionIO *inSource,
	const translation_format *inFormat, BMessage *ioExtension,
	translator_info *outInfo, uint32 outType);

extern status_t Translate(BPositionIO *inSource,
	const translator_info *inInfo, BMessage *ioExtension, uint32 outType,
	BPositionIO *outDestination);

extern status_t MakeConfig(BMessage *ioExtension, BView **outView,
	BRect *outExtent);

extern status_t GetConfigMessage(BMessage *ioExtension);

}

#endif // _TRANSLATOR_ADD_ON_H
