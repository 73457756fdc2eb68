// The PNM translator's entry points: PBM, PGM and PPM files, plain or
// binary, to bitmap streams, and bitmap streams to binary PBM, PGM or PPM.
#include <TranslatorAddOn.h>

#include "PnmHeader.h"
#include "PnmReader.h"
#include "PnmWriter.h"
#include "StandardTranslator.h"
#include "TranslationError.h"

namespace {

const uint32 kPpmType = 'PPM ';
const uint32 kPgmType = 'PGM ';
const uint32 kPbmType = 'PBM ';

// Which variant an output type asks for; 0 asks for the one that fits.
bool VariantFor(uint32 outType, PnmVariant *variant)
{
	switch (outType) {
		case 0:
			*variant = PnmVariant::Fitting;
			return true;
		case kPpmType:
			*variant = PnmVariant::Pixmap;
			return true;
		case kPgmType:
			*variant = PnmVariant::Graymap;
			return true;
		case kPbmType:
			*variant = PnmVariant::Bitmap;
			return true;
	}
	return false;
}

} // namespace

_EXPORT char translatorName[] = "PPM images";
_EXPORT char translatorInfo[] = "Netpbm images (PBM, PGM and PPM, plain or "
	"binary, maxval up to 65535) to and from bitmaps";
_EXPORT int32 translatorVersion = 100;

_EXPORT translation_format inputFormats[] = {
	{kPpmType, B_TRANSLATOR_BITMAP, 0.6f, 0.8f, "image/x-portable-anymap",
		"PNM image"},
	BITMAP_FORMAT_ROW,
	END_FORMAT_ROW
};
_EXPORT translation_format outputFormats[] = {
	{kPpmType, B_TRANSLATOR_BITMAP, 0.6f, 0.8f, "image/x-portable-pixmap",
		"PPM image"},
	{kPgmType, B_TRANSLATOR_BITMAP, 0.6f, 0.8f, "image/x-portable-graymap",
		"PGM image"},
	{kPbmType, B_TRANSLATOR_BITMAP, 0.6f, 0.8f, "image/x-portable-bitmap",
		"PBM image"},
	BITMAP_FORMAT_ROW,
	END_FORMAT_ROW
};

_EXPORT status_t Identify(BPositionIO *inSource,
	const translation_format *inFormat, BMessage *ioExtension,
	translator_info *outInfo, uint32 outType)
{
	(void)inFormat;
	if (inSource == NULL || outInfo == NULL) {
		return B_BAD_VALUE;
	}
	if (!LooksLikePnm(inSource)) {
		// PBM takes only 1-bit streams, PGM no colour ones; a B_CMAP8
		// stream's pixels decide only when it is written.
		uint32 colors;
		status_t status = IdentifyBitmapInput(inSource, outType, outInfo,
			&colors);
		bool colour = colors == B_RGB24 || colors == B_RGB32
			|| colors == B_RGBA32;
		if (status == B_OK && ((outType == kPbmType && colors != B_GRAY1)
				|| (outType == kPgmType && colour))) {
			return B_NO_TRANSLATOR;
		}
		return status;
	}
	if (outType != 0 && outType != B_TRANSLATOR_BITMAP) {
		return B_NO_TRANSLATOR;
	}
	PnmHeader header;
	status_t status = Guarded(NULL, [&] {
		ByteSource source(inSource);
		header = ReadPnmHeader(source);
	});
	if (status != B_OK) {
		return B_NO_TRANSLATOR;
	}
	RecordDepth(ioExtension, header.Kind());
	FillInfo(outInfo, *FindFormat(inputFormats, kPpmType));
	return B_OK;
}

_EXPORT status_t Translate(BPositionIO *inSource,
	const translator_info *inInfo, BMessage *ioExtension, uint32 outType,
	BPositionIO *outDestination)
{
	if (inSource == NULL || inInfo == NULL || outDestination == NULL) {
		return B_BAD_VALUE;
	}
	if (inInfo->type == kPpmType) {
		if (outType != 0 && outType != B_TRANSLATOR_BITMAP) {
			return B_NO_TRANSLATOR;
		}
		return Guarded(ioExtension, [&] {
			PixelKind kind;
			ReadPnmToBitmap(inSource, outDestination, &kind);
			RecordDepth(ioExtension, kind);
		});
	}
	PnmVariant variant;
	if (inInfo->type != B_TRANSLATOR_BITMAP || !VariantFor(outType, &variant)) {
		return B_NO_TRANSLATOR;
	}
	return Guarded(ioExtension, [&] {
		WriteBitmapAsPnm(inSource, outDestination, variant);
	});
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
