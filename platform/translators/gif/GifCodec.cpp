// The GIF translator's codec module: everything that calls giflib, loaded
// by the add-on (GifTranslator.cpp) when a GIF arrives.
#include "CodecModule.h"
#include "GifReader.h"

namespace {

bool ReadGif(BPositionIO *source, BPositionIO *destination,
	TranslationError *error)
{
	return Caught(error, [&] { ReadGifToBitmap(source, destination); });
}

} // namespace

extern "C" _EXPORT const CodecSteps codecSteps = {IdentifyGif, ReadGif,
	NULL};
