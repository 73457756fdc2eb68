// The PNG translator's entry points: PNG files to bitmap streams and back.
#include <png.h>

#include <TranslatorAddOn.h>

#include "PngReader.h"
#include "PngWriter.h"
#include "StandardTranslator.h"
#include "TranslationError.h"

namespace {

const uint32 kPngType = 'PNG ';

#define PNG_FORMAT_ROW \
	{kPngType, B_TRANSLATOR_BITMAP, 0.8f, 0.8f, "image/png", "PNG image"}

bool IsPngFormat(const translator_info *info)
{
	return info->type == kPngType;
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

_EXPORT status_t Identify(BPositionIO *inSource,
	const translation_format *inFormat, BMessage *ioExtension,
	translator_info *outInfo, uint32 outType)
{
	(void)inFormat;
	if (inSource == NULL || outInfo == NULL) {
		return B_BAD_VALUE;
	}
	PngHeader header;
	if (!ReadPngHeader(inSource, &header)) {
		return IdentifyBitmapInput(inSource, outType, outInfo);
	}
	if (outType != 0 && outType != B_TRANSLATOR_BITMAP) {
		return B_NO_TRANSLATOR;
	}
	PngPalette palette;
	ReadPngPalette(inSource, &palette);
	RecordDepth(ioExtension, PngKind(header.colorType, header.bitDepth,
		palette));
	FillInfo(outInfo, *FindFormat(inputFormats, kPngType));
	return B_OK;
}

_EXPORT status_t Translate(BPositionIO *inSource,
	const translator_info *inInfo, BMessage *ioExtension, uint32 outType,
	BPositionIO *outDestination)
{
	if (inSource == NULL || inInfo == NULL || outDestination == NULL) {
		return B_BAD_VALUE;
	}
	if (IsPngFormat(inInfo)) {
		if (outType != 0 && outType != B_TRANSLATOR_BITMAP) {
			return B_NO_TRANSLATOR;
		}
		return Guarded(ioExtension, [&] {
			PixelKind kind;
			ReadPngToBitmap(inSource, outDestination, &kind);
			RecordDepth(ioExtension, kind);
		});
	}
	if (inInfo->type == B_TRANSLATOR_BITMAP) {
		if (outType != 0 && outType != kPngType) {
			return B_NO_TRANSLATOR;
		}
		return Guarded(ioExtension, [&] {
			WriteBitmapAsPng(inSource, outDestination);
		});
	}
	return B_NO_TRANSLATOR;
}

_EXPORT status_t MakeConfig(BMessage *ioExtension, BView **outView,
	BRect *outExtent)
{
	(void)ioExtension;
	return MakeDescriptionView(outView, outExtent);
}

_EXPORT status_t GetConfigMessage(BMessage *ioExtension)
{
	return ioExtension == NULL ? B_BAD_VALUE : B_OK;
}
