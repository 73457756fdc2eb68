// Any bytes as a bitmap stream to be written as a Pilot image, the way a
// host asks for it: Translate to 'PPiv' without an Identify first, so that
// streams Identify would refuse (a dataSize that disagrees) are tried too.
// The input's last three bytes are not part of the stream:
//   [size - 3], [size - 2]  the destination's limit N, little-endian: it
//                           accepts only N bytes in all (all of them when
//                           bit 7 of the options byte is set)
//   [size - 1]              the options (AddFuzzedOptions)
//
// Beyond the sanitizers' checks: a refusal, or a lack of memory, writes
// nothing; B_OK means the three headers and the pixel data went out
// within the limit; and every Pilot image written whole is one that we
// read back.
#include <stdlib.h>

#include "FuzzSupport.h"

const size_t kPilotHeadersSize = 78 + 8 + 58;
// Written images of up to a megabyte, and of up to 2^22 pixels, are kept
// and read back: larger ones would only slow the search.
const size_t kReadBackSize = 1 << 20;
const uint32 kReadBackPixels = 1 << 22;

static bool WorthReadingBack(const BoundedIO &destination)
{
	const std::vector<uint8> &image = destination.Kept();
	if (!destination.KeptWhole() || image.size() < kPilotHeadersSize) {
		return false;
	}
	// The image header's width and height, at 54 and 56 in the record.
	const uint8 *size = image.data() + 86 + 54;
	const uint32 width = size[0] << 8 | size[1];
	const uint32 height = size[2] << 8 | size[3];
	return width * height <= kReadBackPixels;
}

static void CheckWrittenImageReads(BTranslatorRoster *roster,
	const std::vector<uint8> &image)
{
	BMemoryIO source(image.data(), image.size());
	translator_info info;
	if (roster->Identify(&source, NULL, &info) != B_OK
		|| info.type != PILOT_IMAGE_TYPE) {
		abort();
	}
	BoundedIO bitmap(INT64_MAX, 0);
	if (roster->Translate(&source, &info, NULL, &bitmap,
			B_TRANSLATOR_BITMAP) != B_OK) {
		abort();
	}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	if (size < 3) {
		return 0;
	}
	const uint8 options = data[size - 1];
	const bool limited = (options & 0x80) == 0;
	const off_t limit = limited
		? (off_t)(data[size - 3] | data[size - 2] << 8) : INT64_MAX;
	BMessage extension;
	AddFuzzedOptions(&extension, options);

	translator_id id;
	BTranslatorRoster *roster = LoadedRoster(&id);
	BMemoryIO source(data, size - 3);
	translator_info info = {};
	info.type = B_TRANSLATOR_BITMAP;
	info.translator = id;
	BoundedIO destination(limit, kReadBackSize);
	const status_t status = roster->Translate(&source, &info, &extension,
		&destination, PILOT_IMAGE_TYPE);

	switch (status) {
		case B_NO_TRANSLATOR:
		case B_NO_MEMORY:
			if (destination.Size() != 0) {
				abort();
			}
			break;
		case B_OK:
			if (destination.Size() <= (off_t)kPilotHeadersSize
				|| destination.Size() > limit) {
				abort();
			}
			if (WorthReadingBack(destination)) {
				CheckWrittenImageReads(roster, destination.Kept());
			}
			break;
		case B_ERROR:
			break;
		default:
			abort();
	}
	return 0;
}
