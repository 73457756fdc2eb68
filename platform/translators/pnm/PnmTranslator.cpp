// The PNM translator: PBM, PGM and PPM files, plain or binary, to bitmap
// streams, and bitmap streams to binary PBM, PGM or PPM. The entry points
// are the standard translators' own (EntryPoints.cpp).
#include <TranslatorAddOn.h>

#include "PnmHeader.h"
#include "PnmReader.h"
#include "PnmWriter.h"
#include "StandardImageInfo.h"
#include "StandardTranslator.h"
#include "TranslationError.h"

namespace {

const uint32 kPpmType = B_PPM_FORMAT;
const uint32 kPgmType = 'PGM ';
const uint32 kPbmType = 'PBM ';

// Which variant an output type asks for; 0 asks for the one that fits.
PnmVariant VariantFor(uint32 outType)
{
	switch (outType) {
		case kPpmType:
			return PnmVariant::Pixmap;
		case kPgmType:
			return PnmVariant::Graymap;
		case kPbmType:
			return PnmVariant::Bitmap;
	}
	return PnmVariant::Fitting;
}

// The bits that hold 0 to maxval, as Netpbm counts a sample's depth.
int32 BitsForMaxval(uint32 maxval)
{
	int32 bits = 1;
	while (bits < 16 && (maxval >> bits) != 0) {
		bits++;
	}
	return bits;
}

bool IdentifyPnm(BPositionIO *source, ImageFacts *facts)
{
	if (!LooksLikePnm(source)) {
		return false;
	}
	PnmHeader header;
	status_t status = Guarded(NULL, [&] {
		ByteSource bytes(source);
		header = ReadPnmHeader(bytes);
	});
	facts->width = header.width;
	facts->height = header.height;
	facts->kind = header.Kind();
	facts->bitsPerSample = BitsForMaxval(header.maxval);
	facts->colourKind = facts->kind == PixelKind::Rgb ? IMAGE_KIND_RGB
		: IMAGE_KIND_GREY;
	return status == B_OK;
}

void WritePnm(BPositionIO *source, BPositionIO *destination, uint32 outType,
	BMessage *extension)
{
	bool dither = true;
	if (extension != NULL) {
		extension->FindBool(PBM_DITHER_OPTION, &dither);
	}
	WriteBitmapAsPnm(source, destination, VariantFor(outType), dither);
}

// PGM takes no colour streams (a B_CMAP8 stream's pixels decide only when
// it is written); PBM makes black and white of any.
bool CanWritePnm(uint32 colors, uint32 outType)
{
	bool colour = colors == B_RGB24 || colors == B_RGB32
		|| colors == B_RGBA32;
	return !(outType == kPgmType && colour);
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

// A PNM file cut short is refused: nothing is ever missing.
const NativeFormat kNativeFormat = {kPpmType, IdentifyPnm,
	[](BPositionIO *source, BPositionIO *destination, ReadReport *) {
		ReadPnmToBitmap(source, destination);
	}, WritePnm, CanWritePnm, NULL};
