// Pilot image files built byte by byte, as an outside program would write
// them, with no code of the add-on: the one builder of the format for the
// tests, the hardening sweeps and the fuzzers' seeds. By default every
// field is as our writer stores it (codec/PilotDatabase.h); each one a
// reader looks at can be changed.
#ifndef QUORVEL_TEST_PILOT_IMAGE_BYTES_H
#define QUORVEL_TEST_PILOT_IMAGE_BYTES_H

#include <string.h>

#include <algorithm>
#include <string>

#include "TestBytes.h"

// Database header, record entry and image header of the 'vIMG' layout.
const size_t kPilotHeadersSize = 78 + 8 + 58;

// pixelType values: 1 bit, four greys and sixteen greys a pixel.
const uint8 kOneBitPixelType = 0xFF;
const uint8 kFourGreyPixelType = 0x00;
const uint8 kSixteenGreyPixelType = 0x02;

struct PilotBytes {
	// Up to 32 bytes, NUL-padded; the image header's name is the
	// database's unless imageName is set.
	std::string name = "Sample";
	std::string imageName;
	uint32 type = 'vIMG';
	// 'TlPt' lays the record out without an image header: width and
	// height at its start for type 'GbDb', the pixels at 24; for other
	// types width and height at 22 and 24, the pixels at dataOffset,
	// which is stored at 8.
	uint32 creator = 'View';
	int16 numRecords = 1;
	// Where the record entry points; zero bytes fill any gap after 86,
	// and below 86 the record is still written at 86.
	int32 recordOffset = 86;
	uint32 dataOffset = 32;
	uint8 packing = 0;
	uint8 pixelType = kFourGreyPixelType;
	int16 width = 8;
	int16 height = 2;
	// Stored as given: plain or already packed, whole or cut short.
	Bytes pixels;

	Bytes Build() const
	{
		Bytes file(std::max<int32>(86, recordOffset), 0);
		memcpy(file.data(), name.data(), std::min<size_t>(name.size(), 32));
		PutBE32(file, 36, 0x06D144AE);	// creation and modification dates
		PutBE32(file, 40, 0x06D144AE);
		PutBE32(file, 60, type);
		PutBE32(file, 64, creator);
		PutBE16(file, 76, (uint16)numRecords);
		PutBE32(file, 78, (uint32)recordOffset);
		PutBE32(file, 82, 0x406F8000);	// attributes, unique ID
		const size_t record = file.size();
		if (creator == 'TlPt') {
			const bool gameboy = type == 'GbDb';
			file.resize(record + (gameboy ? 24 : dataOffset), 0);
			PutBE16(file, record + (gameboy ? 0 : 22), (uint16)width);
			PutBE16(file, record + (gameboy ? 2 : 24), (uint16)height);
			if (!gameboy) {
				PutBE32(file, record + 8, dataOffset);
			}
		} else {
			file.resize(record + 58, 0);
			const std::string &inImage = imageName.empty() ? name : imageName;
			memcpy(&file[record], inImage.data(),
				std::min<size_t>(inImage.size(), 32));
			file[record + 32] = packing;
			file[record + 33] = pixelType;
			PutBE32(file, record + 50, 0xFFFFFFFF);	// reserved6, reserved7
			PutBE16(file, record + 54, (uint16)width);
			PutBE16(file, record + 56, (uint16)height);
		}
		file.insert(file.end(), pixels.begin(), pixels.end());
		return file;
	}
};

// A 'vIMG' Pilot image with the pixel type and packing byte as given,
// then the pixel data as given (plain or already packed, whole or not).
inline Bytes PilotImageOfType(int16 width, int16 height, uint8 pixelType,
	uint8 packing, const Bytes &pixels)
{
	PilotBytes file;
	file.width = width;
	file.height = height;
	file.pixelType = pixelType;
	file.packing = packing;
	file.pixels = pixels;
	return file.Build();
}

// A 1-bit or four-grey 'vIMG' Pilot image, packed with packing byte 1.
inline Bytes PilotImage(int16 width, int16 height, bool oneBit, bool packed,
	const Bytes &pixels)
{
	return PilotImageOfType(width, height,
		oneBit ? kOneBitPixelType : kFourGreyPixelType, packed ? 1 : 0,
		pixels);
}

// A 1-bit picture in the 'TlPt' layout; gameboy picks type 'GbDb'.
inline Bytes TealPaintImage(int16 width, int16 height, bool gameboy,
	const Bytes &pixels)
{
	PilotBytes file;
	file.type = gameboy ? 'GbDb' : 'Imag';
	file.creator = 'TlPt';
	file.width = width;
	file.height = height;
	file.pixels = pixels;
	return file.Build();
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

#endif // QUORVEL_TEST_PILOT_IMAGE_BYTES_H
