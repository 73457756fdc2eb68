// One translation job: the streams and options of a single Identify or
// Translate call. A job is built on the caller's stack, borrows its
// streams and message for the length of the call and owns nothing. Its
// options are a copy, so the codec (PilotCodec.h) runs without the lock.
#ifndef QUORVEL_PILOT_TRANSLATE_H
#define QUORVEL_PILOT_TRANSLATE_H

#include <DataIO.h>
#include <Message.h>

#include "PilotCodec.h"

class PilotTranslate {
public:
	// Copies the options from gSettings, then lets the extension message
	// override them for this job only. The caller holds gSettingsLock.
	PilotTranslate(BPositionIO *source, BMessage *extension,
		BPositionIO *destination);

	// The codec's operations on the job's streams; the Pilot image's facts
	// go to the extension message, and so does, in words, why Load or Save
	// refused its source (TRANSLATOR_FAILURE_INFO).
	status_t IdentifyPilotImage();
	status_t IdentifyBitmapStream();
	status_t LoadPilotImage();
	// The kit's comment in the extension message, the note of where the
	// picture came from, names the database when no name is set.
	status_t SavePilotImage();

	BPositionIO *source;
	BMessage *extension;
	BPositionIO *destination;
	PilotOptions options;

private:
	status_t Reported(status_t status, const PilotRefusal &refusal) const;
};

#endif // QUORVEL_PILOT_TRANSLATE_H
