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

// The type codes of the kit's standard formats.
enum {
	// Bitmap formats
	B_GIF_FORMAT = 'GIF ',
	B_JPEG_FORMAT = 'JPEG',
	B_PNG_FORMAT = 'PNG ',
	B_PPM_FORMAT = 'PPM ',
	B_TGA_FORMAT = 'TGA ',
	B_BMP_FORMAT = 'BMP ',
	B_TIFF_FORMAT = 'TIFF',
	B_WEBP_FORMAT = 'WebP',

	// Picture formats
	B_DXF_FORMAT = 'DXF ',
	B_EPS_FORMAT = 'EPS ',
	B_PICT_FORMAT = 'PICT',

	// Sound formats
	B_WAV_FORMAT = 'WAV ',
	B_AIFF_FORMAT = 'AIFF',
	B_CD_FORMAT = 'CD  ',
	B_AU_FORMAT = 'AU  ',

	// Text formats
	B_STYLED_TEXT_FORMAT = 'STXT'
};

struct TranslatorBitmap {
	uint32 magic;       // B_TRANSLATOR_BITMAP
	BRect bounds;       // spans right - left + 1 by bottom - top + 1 pixels
	uint32 rowBytes;
	color_space colors;
	uint32 dataSize;    // rowBytes x rows
};

// Keys of the extension message that travels with a translation. They are
// variables of libtranslation, as in the platform's kit, not literals: they
// cannot be pasted to other strings or used where a constant is needed.
extern char B_TRANSLATOR_EXT_HEADER_ONLY[];
extern char B_TRANSLATOR_EXT_DATA_ONLY[];
extern char B_TRANSLATOR_EXT_COMMENT[];
extern char B_TRANSLATOR_EXT_TIME[];
extern char B_TRANSLATOR_EXT_FRAME[];
extern char B_TRANSLATOR_EXT_BITMAP_RECT[];
extern char B_TRANSLATOR_EXT_BITMAP_COLOR_SPACE[];
extern char B_TRANSLATOR_EXT_BITMAP_PALETTE[];

#endif // _TRANSLATOR_FORMATS_H
