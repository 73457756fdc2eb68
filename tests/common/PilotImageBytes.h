// Pilot image files built byte by byte, as an outside program would write
// them, with no code of the add-on: for the hardening and host tests.
#ifndef QUORVEL_TEST_PILOT_IMAGE_BYTES_H
#define QUORVEL_TEST_PILOT_IMAGE_BYTES_H

#include <string.h>

#include <algorithm>

#include "TestStreams.h"

// Database header, record entry and image header of the 'vIMG' layout.
const size_t kPilotHeadersSize = 78 + 8 + 58;

// pixelType values: 1 bit, four greys and sixteen greys a pixel.
const uint8 kOneBitPixelType = 0xFF;
const uint8 kFourGreyPixelType = 0x00;
const uint8 kSixteenGreyPixelType = 0x02;

inline void PutBE16(Bytes &bytes, size_t at, uint16 value)
{
	bytes[at] = (uint8)(value >> 8);
	bytes[at + 1] = (uint8)value;
}

inline void PutBE32(Bytes &bytes, size_t at, uint32 value)
{
	for (int i = 0; i < 4; i++) {
		bytes[at + i] = (uint8)(value >> (24 - 8 * i));
	}
}

// The database header (name "Sample", one record) and the record entry
// pointing at 86, for a database of the type and creator.
inline Bytes PilotDatabaseStart(uint32 type, uint32 creator)
{
	Bytes file(86, 0);
	memcpy(file.data(), "Sample", 6);
	PutBE32(file, 60, type);
	PutBE32(file, 64, creator);
	PutBE16(file, 76, 1);
	PutBE32(file, 78, 86);
	return file;
}

// A 'vIMG' Pilot image with the pixel type and packing byte as given,
// then the pixel data as given (plain or already packed, whole or not).
inline Bytes PilotImageOfType(int16 width, int16 height, uint8 pixelType,
	uint8 packing, const Bytes &pixels)
{
	Bytes file = PilotDatabaseStart('vIMG', 'View');
	file.resize(kPilotHeadersSize, 0);
	memcpy(file.data() + 86, "Sample", 6);
	file[86 + 32] = packing;
	file[86 + 33] = pixelType;
	PutBE16(file, 86 + 50, 0xFFFF);
	PutBE16(file, 86 + 52, 0xFFFF);
	PutBE16(file, 86 + 54, (uint16)width);
	PutBE16(file, 86 + 56, (uint16)height);
	file.insert(file.end(), pixels.begin(), pixels.end());
	return file;
}

// A 1-bit or four-grey 'vIMG' Pilot image, packed with packing byte 1.
inline Bytes PilotImage(int16 width, int16 height, bool oneBit, bool packed,
	const Bytes &pixels)
{
	return PilotImageOfType(width, height,
		oneBit ? kOneBitPixelType : kFourGreyPixelType, packed ? 1 : 0,
		pixels);
}

// The bytes packed as literal runs of at most 128 bytes: a valid packed
// stream that needs no packer of ours.
inline Bytes LiteralRuns(const Bytes &plain)
{
	Bytes packed;
	for (size_t at = 0; at < plain.size(); at += 128) {
		const size_t count = std::min<size_t>(128, plain.size() - at);
		packed.push_back((uint8)(count - 1));
		packed.insert(packed.end(), plain.begin() + at,
			plain.begin() + at + count);
	}
	return packed;
}

// A 1-bit picture in the 'TlPt' layout: the size and the data offset in
// the record, no image header. gameboy picks the 'GbDb' sub-layout.
inline Bytes TealPaintImage(int16 width, int16 height, bool gameboy,
	const Bytes &pixels)
{
	Bytes file = PilotDatabaseStart(gameboy ? 'GbDb' : 'Imag', 'TlPt');
	const size_t record = file.size();
	const uint32 dataOffset = gameboy ? 24 : 32;
	file.resize(record + dataOffset, 0);
	PutBE16(file, record + (gameboy ? 0 : 22), (uint16)width);
	PutBE16(file, record + (gameboy ? 2 : 24), (uint16)height);
	if (!gameboy) {
		PutBE32(file, record + 8, dataOffset);
	}
	file.insert(file.end(), pixels.begin(), pixels.end());
	return file;
}

#endif // QUORVEL_TEST_PILOT_IMAGE_BYTES_H
