// The BMP translator: BMP files to bitmap streams and back. The entry
// points are the standard translators' own (EntryPoints.cpp).
#include <TranslatorAddOn.h>

#include "BmpReader.h"
#include "BmpWriter.h"
#include "StandardTranslator.h"

namespace {

const uint32 kBmpType = B_BMP_FORMAT;

#define BMP_FORMAT_ROW \
	{kBmpType, B_TRANSLATOR_BITMAP, 0.6f, 0.8f, "image/bmp", "BMP image"}

void WriteBmp(BPositionIO *source, BPositionIO *destination, uint32,
	BMessage *)
{
	WriteBitmapAsBmp(source, destination);
}

} // namespace

_EXPORT char translatorName[] = "BMP images";
_EXPORT char translatorInfo[] = "Windows and OS/2 bitmaps (1 to 32 bits a "
	"pixel, uncompressed, RLE4, RLE8 and bit fields) to bitmaps, and "
	"bitmaps to uncompressed BMP";
_EXPORT int32 translatorVersion = 100;

_EXPORT translation_format inputFormats[] = {BMP_FORMAT_ROW,
	BITMAP_FORMAT_ROW, END_FORMAT_ROW};
_EXPORT translation_format outputFormats[] = {BMP_FORMAT_ROW,
	BITMAP_FORMAT_ROW, END_FORMAT_ROW};

const NativeFormat kNativeFormat = {kBmpType, IdentifyBmp, ReadBmpToBitmap,
	WriteBmp, NULL, NULL};
