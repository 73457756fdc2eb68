// The JPEG translator: JPEG files to bitmap streams and back. The entry
// points are the standard translators' own (EntryPoints.cpp); libjpeg is
// called from the codec module (JpegCodec.cpp), loaded when a JPEG arrives.
#include <Message.h>
#include <TranslatorAddOn.h>

#include "CodecModule.h"
#include "JpegWriter.h"
#include "StandardImageInfo.h"
#include "StandardTranslator.h"

namespace {

const uint32 kJpegType = B_JPEG_FORMAT;

#define JPEG_FORMAT_ROW \
	{kJpegType, B_TRANSLATOR_BITMAP, 0.6f, 0.8f, "image/jpeg", "JPEG image"}

// The one option, at its default.
status_t DefaultJpegOptions(BMessage *message)
{
	message->RemoveName(JPEG_QUALITY_OPTION);
	return message->AddInt32(JPEG_QUALITY_OPTION, kDefaultJpegQuality);
}

// Every JPEG starts with a start-of-image marker and another marker.
const CodecInfo kJpegCodec = {"JPEGTranslatorCodec.so", "\xFF\xD8\xFF", 3};
typedef CodecBacked<kJpegCodec> JpegCodec;

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

const NativeFormat kNativeFormat = {kJpegType, JpegCodec::Identify,
	JpegCodec::Read, JpegCodec::Write, NULL, DefaultJpegOptions};
