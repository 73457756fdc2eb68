// The Pilot image codec as its front ends call it: the translator add-on,
// and any other program that reads or writes Pilot images (a desktop
// image loader, say). It works on the kit's streams and a plain options
// structure, and knows nothing of where the options are stored or of the
// lock that guards them; several calls may run at once on different
// streams.
//
// Reading gives the kit's bitmap stream: B_GRAY1 rows for 1-bit images,
// B_CMAP8 rows of the main screen's palette for grey ones. Writing takes
// a B_GRAY1, B_CMAP8 or B_RGB32 bitmap stream.
#ifndef QUORVEL_PILOT_CODEC_H
#define QUORVEL_PILOT_CODEC_H

#include <DataIO.h>
#include <Message.h>
#include <PilotSettingTable.h>
#include <PilotTranslator.h>

// Each call may tell why it refused its source in a PilotRefusal, whose
// RefusalText is a line for a person.
#include "HeaderCheck.h"

// PilotOptions' depth when the caller names none: 1-bit images from B_GRAY1
// bitmaps, four greys from the others.
const int32 kDepthOfSource = -1;

// How a Pilot image is written; the defaults are the translator's.
struct PilotOptions {
	// Pack the pixel data in runs.
	bool compression = PILOT_SETTINGS[PILOT_COMPRESS_ROW].defaultOn;
	// Spread each pixel's rounding error over its neighbours.
	bool dithering = PILOT_SETTINGS[PILOT_DITHER_ROW].defaultOn;
	// Quantise with the stronger contrast (DepthConversion.h says what
	// that is at each depth).
	bool highContrast = PILOT_SETTINGS[PILOT_CONTRAST_ROW].defaultOn;
	// The bits a pixel: 1, 2, 4, PILOT_DEPTH_AUTO (1 for a picture of only
	// black and white, 2 otherwise) or kDepthOfSource.
	int32 depth = kDepthOfSource;
	// NUL-terminated, at most PILOT_DB_NAME_SIZE - 1 bytes; when empty the
	// name comes from where the picture came from (SavePilotImage).
	char databaseName[PILOT_DB_NAME_SIZE] = {};
};

// B_OK when the source holds a Pilot image; its facts (PilotTranslator.h)
// then go to facts, when not NULL, and the source stands at the first
// byte of its pixel data. Otherwise B_NO_TRANSLATOR. Only the headers are
// read: a picture of any size is recognised.
status_t IdentifyPilotImage(BPositionIO &source, BMessage *facts = NULL,
	PilotRefusal *refusal = NULL);

// B_OK when the source holds, from its current position, the header of a
// bitmap stream in a colour space SavePilotImage takes, whose dataSize
// agrees with its size; otherwise B_NO_TRANSLATOR.
status_t IdentifyBitmapStream(BPositionIO &source,
	PilotRefusal *refusal = NULL);

// Writes the Pilot image in source to destination as a bitmap stream and
// adds its facts, and how much of its pixel data never arrived, to facts
// when not NULL. A file cut short is no error: what is missing is white.
// B_NO_TRANSLATOR, with nothing written, for a source that is not a Pilot
// image or whose picture is empty or beyond the pixel cap; B_NO_MEMORY,
// with nothing written, when its buffers cannot be had; B_ERROR when the
// destination takes less than it is given.
status_t LoadPilotImage(BPositionIO &source, BPositionIO &destination,
	BMessage *facts = NULL, PilotRefusal *refusal = NULL);

// Writes the bitmap stream in source (from its current position) to
// destination as a Pilot image of at least the handheld's screen size.
// sourceName, when not NULL, tells where the picture came from, as the
// kit's B_TRANSLATOR_EXT_COMMENT does (typically a file name); it names
// the database when options.databaseName is empty (PilotNaming.h).
// B_BAD_VALUE, with nothing read or written, for a depth not listed above;
// B_NO_TRANSLATOR, with nothing written, when the header is refused;
// B_NO_MEMORY, with nothing written, when the buffers cannot be had;
// B_ERROR when the source ends early or the destination takes less than
// it is given.
status_t SavePilotImage(BPositionIO &source, BPositionIO &destination,
	const PilotOptions &options, const char *sourceName = NULL,
	PilotRefusal *refusal = NULL);

#endif // QUORVEL_PILOT_CODEC_H
