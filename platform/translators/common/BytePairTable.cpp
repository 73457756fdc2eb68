#include "BytePairTable.h"

#include <string.h>

BytePairTable::BytePairTable(const uint8 table[256])
	: fPairs(65536)
{
	memcpy(fSingle, table, sizeof(fSingle));
	for (int first = 0; first < 256; first++) {
		for (int second = 0; second < 256; second++) {
			const uint8 key[2] = {(uint8)first, (uint8)second};
			const uint8 value[2] = {table[first], table[second]};
			uint16 index;
			memcpy(&index, key, 2);
			memcpy(&fPairs[index], value, 2);
		}
	}
}

QUORVEL_LOOKUP_LOOP void BytePairTable::Map(const uint8 *in, uint32 count,
	uint8 *__restrict out) const
{
	const uint16 *pairs = fPairs.data();
	uint32 x = 0;
	for (; x + 2 <= count; x += 2) {
		uint16 index;
		memcpy(&index, in + x, 2);
		memcpy(out + x, &pairs[index], 2);
	}
	if (x < count) {
		out[x] = fSingle[in[x]];
	}
}

QUORVEL_LOOKUP_LOOP uint8 BytePairTable::Any(const uint8 *in, uint32 count)
	const
{
	const uint16 *pairs = fPairs.data();
	// Two sums ORed apart keep two lookups in flight.
	uint16 a = 0;
	uint16 b = 0;
	uint32 x = 0;
	for (; x + 4 <= count; x += 4) {
		uint16 first;
		uint16 second;
		memcpy(&first, in + x, 2);
		memcpy(&second, in + x + 2, 2);
		a |= pairs[first];
		b |= pairs[second];
	}
	uint8 any = (uint8)((a | b) | (a | b) >> 8);
	for (; x < count; x++) {
		any |= fSingle[in[x]];
	}
	return any;
}
