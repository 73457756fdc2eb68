// The PNG translator: PNG files to bitmap streams and back. The entry
// points are the standard translators' own (EntryPoints.cpp).
#include <png.h>

#include <TranslatorAddOn.h>

#include "PngReader.h"
#include "PngWriter.h"
#include "StandardImageInfo.h"
#include "StandardTranslator.h"

namespace {

const uint32 kPngType = B_PNG_FORMAT;

#define PNG_FORMAT_ROW \
	{kPngType, B_TRANSLATOR_BITMAP, 0.8f, 0.8f, "image/png", "PNG image"}

const char *ColourKindOf(uint8 colorType)
{
	switch (colorType) {
		case PNG_COLOR_TYPE_GRAY:
			return IMAGE_KIND_GREY;
		case PNG_COLOR_TYPE_GRAY_ALPHA:
			return IMAGE_KIND_GREY_ALPHA;
		case PNG_COLOR_TYPE_PALETTE:
			return IMAGE_KIND_PALETTE;
		case PNG_COLOR_TYPE_RGB_ALPHA:
			return IMAGE_KIND_RGBA;
	}
	return IMAGE_KIND_RGB;
}

bool IdentifyPng(BPositionIO *source, ImageFacts *facts)
{
	PngHeader header;
	if (!ReadPngHeader(source, &header)) {
		return false;
	}
	PngPalette palette;
	ReadPngPalette(source, &palette);
	facts->width = header.width;
	facts->height = header.height;
	facts->kind = PngKind(header.colorType, header.bitDepth, palette);
	facts->bitsPerSample = header.bitDepth;
	facts->colourKind = ColourKindOf(header.colorType);
	facts->alpha = (header.colorType & PNG_COLOR_MASK_ALPHA) != 0
		|| palette.hasTransparency;
	facts->interlaced = header.interlaced;
	return true;
}

void WritePng(BPositionIO *source, BPositionIO *destination, uint32,
	BMessage *)
{
	WriteBitmapAsPng(source, destination);
}

} // namespace

_EXPORT char translatorName[] = "PNG images";
_EXPORT char translatorInfo[] = "PNG images (every colour type, depth and "
	"interlacing) to and from bitmaps, through libpng " PNG_LIBPNG_VER_STRING;
_EXPORT int32 translatorVersion = 100;

_EXPORT translation_format inputFormats[] = {PNG_FORMAT_ROW,
	BITMAP_FORMAT_ROW, END_FORMAT_ROW};
_EXPORT translation_format outputFormats[] = {PNG_FORMAT_ROW,
	BITMAP_FORMAT_ROW, END_FORMAT_ROW};

const NativeFormat kNativeFormat = {kPngType, IdentifyPng, ReadPngToBitmap,
	WritePng, NULL, NULL};
