// The PNG translator: PNG files to bitmap streams and back. The entry
// points are the standard translators' own (EntryPoints.cpp); libpng is
// called from the codec module (PngCodec.cpp), loaded when a PNG arrives.
#include <png.h>

#include <TranslatorAddOn.h>

#include "CodecModule.h"
#include "StandardTranslator.h"

namespace {

const uint32 kPngType = B_PNG_FORMAT;

#define PNG_FORMAT_ROW \
	{kPngType, B_TRANSLATOR_BITMAP, 0.8f, 0.8f, "image/png", "PNG image"}

const CodecInfo kPngCodec = {"PNGTranslatorCodec.so",
	"\x89PNG\r\n\x1A\n", 8};
typedef CodecBacked<kPngCodec> PngCodec;

} // namespace

_EXPORT char translatorName[] = "PNG images";
_EXPORT char translatorInfo[] = "PNG images (every colour type, depth and "
	"interlacing) to and from bitmaps, through libpng " PNG_LIBPNG_VER_STRING;
_EXPORT int32 translatorVersion = 100;

_EXPORT translation_format inputFormats[] = {PNG_FORMAT_ROW,
	BITMAP_FORMAT_ROW, END_FORMAT_ROW};
_EXPORT translation_format outputFormats[] = {PNG_FORMAT_ROW,
	BITMAP_FORMAT_ROW, END_FORMAT_ROW};

const NativeFormat kNativeFormat = {kPngType, PngCodec::Identify,
	PngCodec::Read, PngCodec::Write, NULL, NULL};
