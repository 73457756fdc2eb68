// The JPEG translator's codec module: everything that calls libjpeg,
// loaded by the add-on (JpegTranslator.cpp) when a JPEG or a stream to
// write as one arrives.
#include "CodecModule.h"
#include "JpegReader.h"
#include "JpegWriter.h"
#include "StandardImageInfo.h"

namespace {

bool ReadJpeg(BPositionIO *source, BPositionIO *destination,
	TranslationError *error)
{
	return Caught(error, [&] { ReadJpegToBitmap(source, destination); });
}

bool WriteJpeg(BPositionIO *source, BPositionIO *destination, uint32,
	BMessage *ioExtension, TranslationError *error)
{
	int32 quality;
	if (ioExtension == NULL
		|| ioExtension->FindInt32(JPEG_QUALITY_OPTION, &quality) != B_OK) {
		quality = kDefaultJpegQuality;
	}
	return Caught(error, [&] {
		WriteBitmapAsJpeg(source, destination, quality);
	});
}

} // namespace

extern "C" _EXPORT const CodecSteps codecSteps = {IdentifyJpeg, ReadJpeg,
	WriteJpeg};
