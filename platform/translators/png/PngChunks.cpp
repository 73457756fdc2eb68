#include "PngChunks.h"

#include <string.h>

#include "ByteSource.h"

namespace {

const uint8 kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
const uint32 kLargestLength = 0x7FFFFFFF;

uint32 Big32(const uint8 *bytes)
{
	return ((uint32)bytes[0] << 24) | ((uint32)bytes[1] << 16)
		| ((uint32)bytes[2] << 8) | bytes[3];
}

// The bit depths each colour type allows, one bit per depth.
bool DepthAllowed(uint8 colorType, uint8 bitDepth)
{
	switch (colorType) {
		case 0:
			return bitDepth == 1 || bitDepth == 2 || bitDepth == 4
				|| bitDepth == 8 || bitDepth == 16;
		case 3:
			return bitDepth == 1 || bitDepth == 2 || bitDepth == 4
				|| bitDepth == 8;
		case 2:
		case 4:
		case 6:
			return bitDepth == 8 || bitDepth == 16;
	}
	return false;
}

} // namespace

bool ReadPngHeader(BPositionIO *source, PngHeader *header)
{
	uint8 bytes[8 + 8 + 13];
	ByteSource in(source);
	if (in.Read(bytes, sizeof(bytes)) != sizeof(bytes)
		|| memcmp(bytes, kSignature, 8) != 0 || Big32(bytes + 8) != 13
		|| memcmp(bytes + 12, "IHDR", 4) != 0) {
		return false;
	}
	const uint8 *data = bytes + 16;
	header->width = Big32(data);
	header->height = Big32(data + 4);
	header->bitDepth = data[8];
	header->colorType = data[9];
	header->interlaced = data[12] == 1;
	return header->width != 0 && header->width <= kLargestLength
		&& header->height != 0 && header->height <= kLargestLength
		&& DepthAllowed(header->colorType, header->bitDepth)
		&& data[10] == 0 && data[11] == 0 && data[12] <= 1;
}

void ReadPngPalette(BPositionIO *source, PngPalette *palette)
{
	ByteSource in(source, sizeof(kSignature));
	uint8 chunk[8];
	while (in.Read(chunk, sizeof(chunk)) == sizeof(chunk)) {
		uint32 length = Big32(chunk);
		if (length > kLargestLength || memcmp(chunk + 4, "IDAT", 4) == 0
			|| memcmp(chunk + 4, "IEND", 4) == 0) {
			return;
		}
		if (memcmp(chunk + 4, "PLTE", 4) == 0 && length <= 256 * 3
			&& length % 3 == 0) {
			palette->count = (int)(length / 3);
			if (in.Read(palette->entries, length) != length) {
				return;
			}
			length = 0;
		} else if (memcmp(chunk + 4, "tRNS", 4) == 0) {
			palette->hasTransparency = true;
		}
		if (!in.Skip((uint64)length + 4)) {
			return;
		}
	}
}

bool IsBilevelPng(int colorType, int bitDepth, const PngPalette &palette)
{
	if (palette.hasTransparency) {
		return false;
	}
	if (colorType == 0) {
		return bitDepth == 1;
	}
	if (colorType != 3 || palette.count == 0) {
		return false;
	}
	for (int i = 0; i < palette.count; i++) {
		const uint8 *c = palette.entries[i];
		bool black = c[0] == 0 && c[1] == 0 && c[2] == 0;
		bool white = c[0] == 255 && c[1] == 255 && c[2] == 255;
		if (!black && !white) {
			return false;
		}
	}
	return true;
}

uint64 CountIdatBytes(BPositionIO *source)
{
	ByteSource in(source, sizeof(kSignature));
	uint64 total = 0;
	uint8 chunk[8];
	while (in.Read(chunk, sizeof(chunk)) == sizeof(chunk)) {
		uint32 length = Big32(chunk);
		if (length > kLargestLength || memcmp(chunk + 4, "IEND", 4) == 0) {
			break;
		}
		if (memcmp(chunk + 4, "IDAT", 4) == 0) {
			// Only the bytes that are there: a length may run past the end.
			uint64 remaining;
			total += in.Remaining(&remaining) && remaining < length
				? remaining : length;
		}
		if (!in.Skip((uint64)length + 4)) {
			break;
		}
	}
	return total;
}
