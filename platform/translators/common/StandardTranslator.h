// What the three standard translators share at their entry points: the
// bitmap format row, filling a translator_info, the "depth" a reader
// reports, and a configuration view that describes the translator.
#ifndef QUORVEL_STANDARD_TRANSLATOR_H
#define QUORVEL_STANDARD_TRANSLATOR_H

#include <TranslatorAddOn.h>
#include <TranslatorFormats.h>

#include "PixelRows.h"

// The kit's bitmap format, which every translator reads and writes; the
// quality and capability figures are the kit's usual ones for it.
#define BITMAP_FORMAT_ROW \
	{B_TRANSLATOR_BITMAP, B_TRANSLATOR_BITMAP, 0.4f, 0.6f, \
		"image/x-be-bitmap", "Be bitmap"}
#define END_FORMAT_ROW {0, 0, 0.0f, 0.0f, "", ""}

// The extension message's field in which a reader names the picture as
// its file stores it, in DescribeKind's words.
extern const char *const kDepthKey;

void FillInfo(translator_info *info, const translation_format &row);

// The row of a format table (ending with a row of type 0) for type; NULL
// when it lists none.
const translation_format *FindFormat(const translation_format *table,
	uint32 type);

void RecordDepth(BMessage *ioExtension, PixelKind kind);

// Identify for a bitmap stream that a writer is asked to turn into
// outType (0 for its first output format): B_OK with the bitmap row in
// outInfo and the stream's colour space in *colors, or B_NO_TRANSLATOR.
status_t IdentifyBitmapInput(BPositionIO *source, uint32 outType,
	translator_info *outInfo, uint32 *colors = NULL);

// A view saying what the translator is: the standard translators have no
// options a view would change.
status_t MakeDescriptionView(BView **outView, BRect *outExtent);

#endif // QUORVEL_STANDARD_TRANSLATOR_H
