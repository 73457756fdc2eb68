// The translators, loaded and called through the kit's roster as any
// application on the platform does. The host never links a translator's
// code: it reaches the Pilot image translator only through the roster.
#ifndef QUORVEL_HOST_TRANSLATOR_HOST_H
#define QUORVEL_HOST_TRANSLATOR_HOST_H

#include <string>

#include <DataIO.h>
#include <Message.h>
#include <StandardImageInfo.h>
#include <TranslatorRoster.h>

#include "FileFormats.h"

class TranslatorHost {
public:
	// Loads from folder when it is not empty, else from the search path
	// (see TranslatorSearchPath). Throws Failure when no translator loads.
	explicit TranslatorHost(const std::string &folder);

	BTranslatorRoster &Roster() { return *fRoster; }
	const std::string &LoadPath() const { return fLoadPath; }

	// What the roster recognises the stream as, its answer for wantType
	// (0 for any); false when no translator takes it.
	bool Identify(BPositionIO &source, uint32 wantType,
		translator_info *info, BMessage *extension = NULL);

	// The translator's name, as it calls itself.
	std::string TranslatorName(translator_id id);

	// The translator that writes Pilot images; throws Failure when none
	// of the loaded translators does.
	translator_id PilotTranslator();

private:
	BTranslatorRoster *fRoster;
	std::string fLoadPath;
};

// Why a translator's call failed: the reason it left in the extension
// message, else "out of memory" or what it refused to do and its status in
// words ("PNGTranslator refused it (illegal data)").
std::string RefusalReason(const BMessage &extension, status_t status,
	const std::string &refusal);

#endif // QUORVEL_HOST_TRANSLATOR_HOST_H
