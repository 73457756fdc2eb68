// Byte vectors for tests: big-endian fields in them, and bytes that look
// like a picture.
#ifndef QUORVEL_TEST_BYTES_H
#define QUORVEL_TEST_BYTES_H

#include <vector>

#include <SupportDefs.h>

typedef std::vector<uint8> Bytes;

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

inline uint16 GetBE16(const Bytes &bytes, size_t at)
{
	return (uint16)((bytes[at] << 8) | bytes[at + 1]);
}

inline uint32 GetBE32(const Bytes &bytes, size_t at)
{
	return ((uint32)bytes[at] << 24) | ((uint32)bytes[at + 1] << 16)
		| ((uint32)bytes[at + 2] << 8) | bytes[at + 3];
}

// Runs of zeros among varied bytes, so that packing makes both kinds of
// run; each seed gives other bytes.
inline Bytes PatternBytes(size_t size, int seed)
{
	Bytes bytes(size);
	for (size_t i = 0; i < size; i++) {
		bytes[i] = (uint8)((i / 5 % 3 == 0) ? 0 : i * seed + i / 7);
	}
	return bytes;
}

#endif // QUORVEL_TEST_BYTES_H
