// The kit's standard formats, and the bitmap stream: a 32-byte
// big-endian TranslatorBitmap header followed by the pixel rows.
#ifndef _TRANSLATOR_FORMATS_H
#define _TRANSLATOR_FORMATS_H

#include <GraphicsDefs.h>
#include <Rect.h>
#include <TranslationDefs.h>

enum TranslatorGroups {
	B_TRANSLATOR_BITMAP = 'bits',
	B_TRANSLATOR_PICTURE = 'pict',
	B_TRANSLATOR_SOUND = 'nois',
	B_TRANSLATOR_TEXT = 'TEXT',
	B_TRANSLATOR_MIDI = 'midi',
	B_TRANSLATOR_MEDIA = 'mhi!',
	B_TRANSLATOR_NONE = 'none',
	B_TRANSLATOR_ANY_TYPE = 0
};

struct TranslatorBitmap {
	uint32 magic;       // B_TRANSLATOR_BITMAP
	BRect bounds;       // spans right - left + 1 by bottom - top + 1 pixels
	uint32 rowBytes;
	color_space colors;
	uint32 dataSize;    // rowBytes x rows
};

// Keys of the extension message that travels with a translation.
#define B_TRANSLATOR_EXT_HEADER_ONLY "/headerOnly"
#define B_TRANSLATOR_EXT_DATA_ONLY "/dataOnly"
#define B_TRANSLATOR_EXT_COMMENT "/comment"
#define B_TRANSLATOR_EXT_TIME "/time"
#define B_TRANSLATOR_EXT_FRAME "/frame"
#define B_TRANSLATOR_EXT_BITMAP_RECT "bits/Rect"
#define B_TRANSLATOR_EXT_BITMAP_COLOR_SPACE "bits/space"
#define B_TRANSLATOR_EXT_BITMAP_PALETTE "bits/palette"

#endif // _TRANSLATOR_FORMATS_H
