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

// A view saying what the translator is: the standard translators have no
// options a view would change.
status_t MakeDescriptionView(BView **outView, BRect *outExtent);

// What a standard translator does with its own format. Each translator
// defines kNativeFormat; the entry points they share (EntryPoints.cpp)
// call through it.
struct NativeFormat {
	// The format's type in the tables.
	uint32 type;
	// Whether the stream holds this format, from its header alone, and the
	// kind of picture it stores.
	bool (*identify)(BPositionIO *source, PixelKind *kind);
	// The file to a bitmap stream; throws TranslationError.
	void (*read)(BPositionIO *source, BPositionIO *destination,
		PixelKind *kind);
	// A bitmap stream to outType (0 for the translator's choice); throws
	// TranslationError.
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
