// Any bytes through the add-on as an application meets it: the roster
// identifies them and, for a Pilot image, translates to a bitmap stream,
// for a bitmap stream, to a Pilot image. The last input byte chooses the
// writer's options, so every combination is reached.
//
// Beyond the sanitizers' checks: a refusal writes nothing, and a bitmap
// stream written in full is as long as its header says.
#include <stdlib.h>

#include "FuzzSupport.h"

const size_t kBitmapHeaderBytes = 32;

static uint32 ReadBE32(const uint8 *bytes)
{
	return (uint32)bytes[0] << 24 | (uint32)bytes[1] << 16
		| (uint32)bytes[2] << 8 | bytes[3];
}

static void CheckOutcome(status_t status, uint32 outType,
	const BoundedIO &destination)
{
	if (status == B_NO_TRANSLATOR && destination.Size() != 0) {
		abort();
	}
	if (status != B_OK || outType != B_TRANSLATOR_BITMAP) {
		return;
	}
	const std::vector<uint8> &kept = destination.Kept();
	if (kept.size() < kBitmapHeaderBytes
		|| (uint64)destination.Size()
			!= kBitmapHeaderBytes + ReadBE32(&kept[28])) {
		abort();
	}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	if (size == 0) {
		return 0;
	}
	BMessage extension;
	AddFuzzedOptions(&extension, data[size - 1]);

	BTranslatorRoster *roster = LoadedRoster();
	BMemoryIO source(data, size - 1);
	translator_info info;
	if (roster->Identify(&source, &extension, &info) != B_OK) {
		return 0;
	}
	uint32 outType;
	if (info.type == PILOT_IMAGE_TYPE) {
		outType = B_TRANSLATOR_BITMAP;
	} else if (info.type == B_TRANSLATOR_BITMAP) {
		outType = PILOT_IMAGE_TYPE;
	} else {
		abort();
	}
	// A megabyte is more than any picture we search with needs.
	BoundedIO destination(1 << 20, kBitmapHeaderBytes);
	const status_t status = roster->Translate(&source, &info, &extension,
		&destination, outType);
	CheckOutcome(status, outType, destination);
	return 0;
}
