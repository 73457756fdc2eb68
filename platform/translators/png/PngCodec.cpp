// The PNG translator's codec module: everything that calls libpng, loaded
// by the add-on (PngTranslator.cpp) when a PNG or a stream to write as one
// arrives.
#include <png.h>

#include "CodecModule.h"
#include "PngChunks.h"
#include "PngReader.h"
#include "PngWriter.h"
#include "StandardImageInfo.h"

namespace {

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

bool ReadPng(BPositionIO *source, BPositionIO *destination,
	TranslationError *error)
{
	return Caught(error, [&] { ReadPngToBitmap(source, destination); });
}

bool WritePng(BPositionIO *source, BPositionIO *destination, uint32,
	BMessage *, TranslationError *error)
{
	return Caught(error, [&] { WriteBitmapAsPng(source, destination); });
}

} // namespace

extern "C" _EXPORT const CodecSteps codecSteps = {IdentifyPng, ReadPng,
	WritePng};
