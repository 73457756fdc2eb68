// One translation job: the streams and options of a single Identify or
// Translate call, and the codec operations that work on them. A job is
// built on the caller's stack, borrows its streams and message for the
// length of the call and owns nothing.
#ifndef QUORVEL_PILOT_TRANSLATE_H
#define QUORVEL_PILOT_TRANSLATE_H

#include <DataIO.h>
#include <Message.h>
#include <TranslatorFormats.h>

#include "PilotDatabase.h"
#include "RunLength.h"

class PilotTranslate {
public:
	// Copies the options from gSettings, then lets the extension message
	// override them for this job only. The caller holds gSettingsLock.
	PilotTranslate(BPositionIO *source, BMessage *extension,
		BPositionIO *destination);

	// Writes the Pilot image in source to destination as a bitmap stream:
	// B_GRAY1 for 1-bit images, B_CMAP8 for grey ones. Adds the image's
	// facts and how much of it was missing to extension (PilotFacts.h).
	// B_NO_TRANSLATOR, with nothing written, when CheckPilotImage refuses.
	status_t LoadPilotImage();
	// Writes the bitmap stream in source (from its current position) to
	// destination as a Pilot image. B_NO_TRANSLATOR, with nothing written,
	// when CheckBitmapHeader refuses.
	status_t SavePilotImage();

	// The job's packing operations are RunLength.h's PackRuns and
	// UnpackRuns.
	static uint32 compress(uint8 *destination, const uint8 *source,
		uint32 size)
	{
		return PackRuns(destination, source, size);
	}
	static void uncompress(const uint8 *&cursor, const uint8 *end,
		int32 remaining, uint8 *&destination)
	{
		UnpackRuns(cursor, end, remaining, destination);
	}

	BPositionIO *source;
	BMessage *extension;
	BPositionIO *destination;

	bool compression;
	bool dithering;
	bool highContrast;
	char databaseName[PILOT_DB_NAME_SIZE];

	PilotImageHeader imageHeader;
	TranslatorBitmap bitmapHeader;

private:
	// The two paths of SavePilotImage, once the size and name are settled:
	// each allocates, writes the headers, then converts the rows.
	status_t WriteMonochrome();
	status_t WriteFourGreys();
};

#endif // QUORVEL_PILOT_TRANSLATE_H
