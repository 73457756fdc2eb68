// Big-endian fields of the Pilot database and of the bitmap stream's
// header, read from and written to byte buffers one byte at a time, so
// alignment and host order never matter.
#ifndef QUORVEL_BIG_ENDIAN_H
#define QUORVEL_BIG_ENDIAN_H

#include <string.h>

#include <SupportDefs.h>

inline uint16 ReadBE16(const uint8 *bytes)
{
	return (uint16)((bytes[0] << 8) | bytes[1]);
}

inline uint32 ReadBE32(const uint8 *bytes)
{
	return ((uint32)bytes[0] << 24) | ((uint32)bytes[1] << 16)
		| ((uint32)bytes[2] << 8) | (uint32)bytes[3];
}

inline void WriteBE16(uint8 *bytes, uint16 value)
{
	bytes[0] = (uint8)(value >> 8);
	bytes[1] = (uint8)value;
}

inline void WriteBE32(uint8 *bytes, uint32 value)
{
	bytes[0] = (uint8)(value >> 24);
	bytes[1] = (uint8)(value >> 16);
	bytes[2] = (uint8)(value >> 8);
	bytes[3] = (uint8)value;
}

// A 32-bit IEEE float is stored as the big-endian word of its bits.
inline float ReadBEFloat(const uint8 *bytes)
{
	const uint32 bits = ReadBE32(bytes);
	float value;
	memcpy(&value, &bits, sizeof(value));
	return value;
}

inline void WriteBEFloat(uint8 *bytes, float value)
{
	uint32 bits;
	memcpy(&bits, &value, sizeof(bits));
	WriteBE32(bytes, bits);
}

#endif // QUORVEL_BIG_ENDIAN_H
