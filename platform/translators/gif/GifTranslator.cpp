// The GIF translator: the first image of a GIF file to a bitmap stream,
// through giflib. It writes no GIF. The entry points are the standard
// translators' own (EntryPoints.cpp); giflib is called from the codec
// module (GifCodec.cpp), loaded when a GIF arrives.
#include <gif_lib.h>

#include <TranslatorAddOn.h>

#include "CodecModule.h"
#include "StandardTranslator.h"

namespace {

const uint32 kGifType = B_GIF_FORMAT;

#define STRINGIFY(x) #x
#define VERSION_TEXT(major, minor, release) \
	STRINGIFY(major) "." STRINGIFY(minor) "." STRINGIFY(release)

// "GIF87a" and "GIF89a" both start so.
const CodecInfo kGifCodec = {"GIFTranslatorCodec.so", "GIF8", 4};
typedef CodecBacked<kGifCodec> GifCodec;

} // namespace

_EXPORT char translatorName[] = "GIF images";
_EXPORT char translatorInfo[] = "GIF images (87a and 89a, the first image, "
	"interlaced or not, transparency composited on white) to bitmaps, "
	"through giflib "
	VERSION_TEXT(GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE);
_EXPORT int32 translatorVersion = 100;

_EXPORT translation_format inputFormats[] = {
	{kGifType, B_TRANSLATOR_BITMAP, 0.8f, 0.8f, "image/gif", "GIF image"},
	END_FORMAT_ROW
};
_EXPORT translation_format outputFormats[] = {BITMAP_FORMAT_ROW,
	END_FORMAT_ROW};

const NativeFormat kNativeFormat = {kGifType, GifCodec::Identify,
	GifCodec::Read, NULL, NULL, NULL};
