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

const uint8 kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

CodecModule &Codec()
{
	static CodecModule codec("PNGTranslatorCodec.so");
	return codec;
}

bool IdentifyPng(BPositionIO *source, ImageFacts *facts)
{
	return StartsWith(source, kPngSignature, sizeof(kPngSignature))
		&& Codec().Identify(source, facts);
}

void ReadPng(BPositionIO *source, BPositionIO *destination)
{
	Codec().Read(source, destination);
}

void WritePng(BPositionIO *source, BPositionIO *destination, uint32 outType,
	BMessage *ioExtension)
{
	Codec().Write(source, destination, outType, ioExtension);
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

const NativeFormat kNativeFormat = {kPngType, IdentifyPng, ReadPng, WritePng,
	NULL, NULL};
