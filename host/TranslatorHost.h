// The translators, loaded and called through the kit's roster as any
// application on the platform does. The host never links a translator's
// code: it reaches the Pilot image translator only through the roster.
#ifndef QUORVEL_HOST_TRANSLATOR_HOST_H
#define QUORVEL_HOST_TRANSLATOR_HOST_H

#include <string>

#include <Message.h>
#include <TranslatorRoster.h>

#include "Image.h"

// The Pilot image format's type code.
const uint32 kPilotImageType = 'PPiv';

class TranslatorHost {
public:
	// Loads from folder when it is not empty, else from TRANSLATORS_PATH
	// when that is set, else from the build tree the program belongs to
	// (<build>/translators beside <build>/host/quorvel). Throws Failure
	// when no translator loads.
	explicit TranslatorHost(const std::string &folder);

	BTranslatorRoster &Roster() { return fRoster; }
	const std::string &LoadPath() const { return fLoadPath; }

	// What the roster recognises the bytes as, its answer for wantType
	// (0 for any); false when no translator takes them.
	bool Identify(const ByteVector &bytes, uint32 wantType,
		translator_info *info);

	// The translator's output of type outType for the bytes as identified
	// by info. Throws Failure with the translator's status.
	ByteVector Translate(const ByteVector &bytes,
		const translator_info &info, BMessage *extension, uint32 outType);
	// The same, into destination.
	void Translate(const ByteVector &bytes, const translator_info &info,
		BMessage *extension, uint32 outType, BPositionIO *destination);

	// The translator that writes Pilot images; throws Failure when none
	// of the loaded translators does.
	translator_id PilotTranslator();

private:
	BTranslatorRoster fRoster;
	std::string fLoadPath;
};

// The folder of the running program, from /proc/self/exe.
std::string ProgramFolder();

// "B_NO_TRANSLATOR" and the like, for messages.
std::string StatusName(status_t status);

#endif // QUORVEL_HOST_TRANSLATOR_HOST_H
