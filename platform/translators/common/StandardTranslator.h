// What the standard translators share at their entry points: the bitmap
// format row, filling a translator_info, the facts about a file that
// Identify and Translate report, and a configuration view that describes
// the translator.
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

void FillInfo(translator_info *info, const translation_format &row);

// The row of a format table (ending with a row of type 0) for type; NULL
// when it lists none.
const translation_format *FindFormat(const translation_format *table,
	uint32 type);

// A file as stored, from its headers alone (StandardImageInfo.h says what
// each field means).
struct ImageFacts {
	uint32 width = 0;
	uint32 height = 0;
	// The kind of bitmap stream it becomes: Mono for B_GRAY1; Grey and Rgb
	// both give B_RGB32, Grey for what is stored as grey.
	PixelKind kind = PixelKind::Rgb;
	int32 bitsPerSample = 8;
	// 0: bitsPerSample times the samples a pixel of colourKind holds.
	int32 bitsPerPixel = 0;
	const char *colourKind = "";
	bool alpha = false;
	bool interlaced = false;
};

// Puts the facts into the extension message, when there is one.
void RecordFacts(BMessage *ioExtension, const ImageFacts &facts);

// What a reader could not give of a file that still decodes: the rows
// stored after the point where its data ends (the first of them perhaps
// in part), which it leaves white, and their pixels that never arrived.
struct ReadReport {
	uint32 missingRows = 0;
	uint32 missingPixels = 0;
	// The file stores its rows bottom up, so those are the top ones.
	bool missingAtTop = false;
};

// Puts the report into the extension message, when there is one.
void RecordReport(BMessage *ioExtension, const ReadReport &report);

// A view saying what the translator is: the standard translators have no
// options a view would change.
status_t MakeDescriptionView(BView **outView, BRect *outExtent);

// What a standard translator does with its own format. Each translator
// defines kNativeFormat; the entry points they share (EntryPoints.cpp)
// call through it.
struct NativeFormat {
	// The format's type in the tables.
	uint32 type;
	// Whether the stream holds this format, from its headers alone, and
	// what they say of the picture.
	bool (*identify)(BPositionIO *source, ImageFacts *facts);
	// The file to a bitmap stream, what it lacked in report; throws
	// TranslationError.
	void (*read)(BPositionIO *source, BPositionIO *destination,
		ReadReport *report);
	// A bitmap stream to outType (0 for the translator's choice); throws
	// TranslationError. NULL for a translator that only reads, which then
	// lists B_TRANSLATOR_BITMAP among its outputs alone.
	void (*write)(BPositionIO *source, BPositionIO *destination,
		uint32 outType, BMessage *ioExtension);
	// Whether a stream of that colour space can become outType, when its
	// header alone tells; NULL when every readable one can.
	bool (*canWrite)(uint32 colors, uint32 outType);
	// Puts the translator's options at their defaults into a message;
	// NULL when it has none.
	status_t (*defaultOptions)(BMessage *message);
};

extern const NativeFormat kNativeFormat;

#endif // QUORVEL_STANDARD_TRANSLATOR_H
