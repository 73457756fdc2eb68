// The JPEG translator's entry points: JPEG files to bitmap streams and
// back.
#include <Message.h>
#include <TranslatorAddOn.h>

#include "JpegReader.h"
#include "JpegWriter.h"
#include "StandardTranslator.h"
#include "TranslationError.h"

namespace {

const uint32 kJpegType = 'JPEG';

#define JPEG_FORMAT_ROW \
	{kJpegType, B_TRANSLATOR_BITMAP, 0.6f, 0.8f, "image/jpeg", "JPEG image"}

int QualityOf(const BMessage *ioExtension)
{
	int32 quality;
	if (ioExtension != NULL
		&& ioExtension->FindInt32(kJpegQualityKey, &quality) == B_OK) {
		return quality;
	}
	return kDefaultJpegQuality;
}

} // namespace

_EXPORT char translatorName[] = "JPEG images";
_EXPORT char translatorInfo[] = "JPEG images (baseline and progressive, "
	"Huffman and arithmetic coding, grey and colour) to and from bitmaps, "
	"through libjpeg-turbo";
_EXPORT int32 translatorVersion = 100;

_EXPORT translation_format inputFormats[] = {JPEG_FORMAT_ROW,
	BITMAP_FORMAT_ROW, END_FORMAT_ROW};
_EXPORT translation_format outputFormats[] = {JPEG_FORMAT_ROW,
	BITMAP_FORMAT_ROW, END_FORMAT_ROW};

_EXPORT status_t Identify(BPositionIO *inSource,
	const translation_format *inFormat, BMessage *ioExtension,
	translator_info *outInfo, uint32 outType)
{
	(void)inFormat;
	if (inSource == NULL || outInfo == NULL) {
		return B_BAD_VALUE;
	}
	PixelKind kind;
	if (!IdentifyJpeg(inSource, &kind)) {
		return IdentifyBitmapInput(inSource, outType, outInfo);
	}
	if (outType != 0 && outType != B_TRANSLATOR_BITMAP) {
		return B_NO_TRANSLATOR;
	}
	RecordDepth(ioExtension, kind);
	FillInfo(outInfo, *FindFormat(inputFormats, kJpegType));
	return B_OK;
}

_EXPORT status_t Translate(BPositionIO *inSource,
	const translator_info *inInfo, BMessage *ioExtension, uint32 outType,
	BPositionIO *outDestination)
{
	if (inSource == NULL || inInfo == NULL || outDestination == NULL) {
		return B_BAD_VALUE;
	}
	if (inInfo->type == kJpegType) {
		if (outType != 0 && outType != B_TRANSLATOR_BITMAP) {
			return B_NO_TRANSLATOR;
		}
		return Guarded(ioExtension, [&] {
			PixelKind kind;
			ReadJpegToBitmap(inSource, outDestination, &kind);
			RecordDepth(ioExtension, kind);
		});
	}
	if (inInfo->type == B_TRANSLATOR_BITMAP) {
		if (outType != 0 && outType != kJpegType) {
			return B_NO_TRANSLATOR;
		}
		return Guarded(ioExtension, [&] {
			WriteBitmapAsJpeg(inSource, outDestination,
				QualityOf(ioExtension));
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

// The one option, at its default.
_EXPORT status_t GetConfigMessage(BMessage *ioExtension)
{
	if (ioExtension == NULL) {
		return B_BAD_VALUE;
	}
	ioExtension->RemoveName(kJpegQualityKey);
	return ioExtension->AddInt32(kJpegQualityKey, kDefaultJpegQuality);
}
