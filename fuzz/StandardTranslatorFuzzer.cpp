// Any bytes through one standard translator (PNG, JPEG, PNM, GIF or BMP,
// chosen when the fuzzer is built) as an application meets it: the roster
// identifies them and translates them to a bitmap stream, into a
// destination that, like the quorvel host, refuses a header of more than
// kPixelLimit pixels and takes at most a megabyte. A small picture read in
// full goes back to the format, when the translator writes it, and is
// read again.
//
// Beyond the sanitizers' checks: a refusal before the header
// (B_NO_TRANSLATOR) writes nothing; a stream written in full is as long
// as its header says; and PNG, PNM and BMP give the same stream back.
#include <stdlib.h>

#include "FuzzSupport.h"

const size_t kBitmapHeaderBytes = 32;
const uint64 kPixelLimit = (uint64)1 << 22;
const off_t kDestinationBytes = 1 << 20;

static uint32 ReadBE32(const uint8 *bytes)
{
	return (uint32)bytes[0] << 24 | (uint32)bytes[1] << 16
		| (uint32)bytes[2] << 8 | bytes[3];
}

static float ReadFloat(const uint8 *bytes)
{
	uint32 bits = ReadBE32(bytes);
	float value;
	memcpy(&value, &bits, sizeof(value));
	return value;
}

// Refuses, as the host's pixel limit does, a stream header claiming more
// than kPixelLimit pixels.
class PixelLimitIO : public BoundedIO {
public:
	PixelLimitIO() : BoundedIO(kDestinationBytes, kDestinationBytes) {}

	ssize_t WriteAt(off_t position, const void *buffer, size_t size) override
	{
		if (position == 0 && size == kBitmapHeaderBytes) {
			const uint8 *header = static_cast<const uint8 *>(buffer);
			double width = (double)ReadFloat(header + 12)
				- ReadFloat(header + 4) + 1;
			double height = (double)ReadFloat(header + 16)
				- ReadFloat(header + 8) + 1;
			if (!(width * height <= (double)kPixelLimit)) {
				return B_NO_MEMORY;
			}
		}
		return BoundedIO::WriteAt(position, buffer, size);
	}
};

static void CheckStream(status_t status, const PixelLimitIO &destination)
{
	if (status == B_NO_TRANSLATOR && destination.Size() != 0) {
		abort();
	}
	if (status != B_OK) {
		return;
	}
	const std::vector<uint8> &kept = destination.Kept();
	if (kept.size() < kBitmapHeaderBytes || !destination.KeptWhole()
		|| kept.size() != kBitmapHeaderBytes + ReadBE32(&kept[28])) {
		abort();
	}
}

// A B_GRAY1 stream's pixels without the bits past the width, which not
// every format keeps.
static std::vector<uint8> WithoutPadding(std::vector<uint8> stream)
{
	if (ReadBE32(&stream[24]) != 0x0001) {
		return stream;
	}
	const uint32 width = (uint32)(ReadFloat(&stream[12])
		- ReadFloat(&stream[4]) + 1);
	const uint32 rowBytes = ReadBE32(&stream[20]);
	if (width % 8 == 0 || rowBytes == 0) {
		return stream;
	}
	const uint8 mask = (uint8)(0xFF << (8 - width % 8));
	for (size_t end = kBitmapHeaderBytes + rowBytes; end <= stream.size();
			end += rowBytes) {
		stream[end - 1] &= mask;
	}
	return stream;
}

// Whether the translator lists its own format among its outputs.
static bool Writes(BTranslatorRoster *roster, const translator_info &info)
{
	const translation_format *formats;
	int32 count;
	if (roster->GetOutputFormats(info.translator, &formats, &count) != B_OK) {
		return false;
	}
	for (int32 i = 0; i < count; i++) {
		if (formats[i].type == info.type) {
			return true;
		}
	}
	return false;
}

// The stream written as the translator's own format and read back.
static void CheckRoundTrip(BTranslatorRoster *roster, uint32 type,
	const std::vector<uint8> &stream)
{
	BMemoryIO source(stream.data(), stream.size());
	BMallocIO written;
	translator_info info;
	if (roster->Identify(&source, NULL, &info, 0, NULL, 0) != B_OK
		|| roster->Translate(&source, &info, NULL, &written,
			type == 'JPEG' ? type : 0) != B_OK) {
		abort();
	}
	PixelLimitIO again;
	if (roster->Translate(&written, NULL, NULL, &again, B_TRANSLATOR_BITMAP)
			!= B_OK) {
		abort();
	}
	// JPEG is lossy; PNG, PNM and BMP give every pixel back.
	if (type != 'JPEG'
		&& WithoutPadding(again.Kept()) != WithoutPadding(stream)) {
		abort();
	}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	BTranslatorRoster *roster = LoadedRoster();
	BMemoryIO source(data, size);
	translator_info info;
	if (roster->Identify(&source, NULL, &info, 0, NULL, B_TRANSLATOR_BITMAP)
			!= B_OK) {
		return 0;
	}
	PixelLimitIO destination;
	BMessage extension;
	const status_t status = roster->Translate(&source, &info, &extension,
		&destination, B_TRANSLATOR_BITMAP);
	CheckStream(status, destination);
	if (status == B_OK && Writes(roster, info)) {
		CheckRoundTrip(roster, info.type, destination.Kept());
	}
	return 0;
}
