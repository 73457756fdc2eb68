// What the roster reads from the add-on before calling it: the name, a
// line about it, the version and the two format tables.
#include <TranslatorAddOn.h>
#include <TranslatorFormats.h>

#include "TranslatorData.h"

// The module is built with hidden visibility, and the kit's header declares
// the nine entry points without an export attribute, so each definition
// carries _EXPORT itself; without it the roster would find no translator.
_EXPORT char translatorName[] = "Quorvel";
_EXPORT char translatorInfo[] =
	"Quorvel: PalmPilot images (black and white, four or sixteen greys) to "
	"and from bitmaps";
_EXPORT int32 translatorVersion = 220;

// The quality and capability figures are the single-precision floats
// 0.1 / 0.8 for Pilot images and 0.4 / 0.6 for bitmaps.
#define PILOT_ROW \
	{PILOT_IMAGE_TYPE, B_TRANSLATOR_BITMAP, 0.1f, 0.8f, \
		"image/x-pilotimage", "PalmPilot image"}
#define BITMAP_ROW \
	{B_TRANSLATOR_BITMAP, B_TRANSLATOR_BITMAP, 0.4f, 0.6f, \
		"image/x-be-bitmap", "Be bitmap"}
#define END_ROW {0, 0, 0.0f, 0.0f, "", ""}

_EXPORT translation_format inputFormats[] = {PILOT_ROW, BITMAP_ROW, END_ROW};
_EXPORT translation_format outputFormats[] = {BITMAP_ROW, PILOT_ROW, END_ROW};
