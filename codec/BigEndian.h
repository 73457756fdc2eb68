// Big-endian fields of the Pilot database, read from and written to byte
// buffers one byte at a time, so alignment and host order never matter.
#ifndef QUORVEL_BIG_ENDIAN_H
#define QUORVEL_BIG_ENDIAN_H

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

#endif // QUORVEL_BIG_ENDIAN_H
