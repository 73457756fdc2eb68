// A table of 256 bytes looked up two bytes at a time: one load from 65536
// entries in place of two from 256. Byte-table lookups have no vector
// instruction, so for a large picture of palette indexes this halves the
// work a pixel; building the 128 KiB table pays for itself from about a
// million pixels on.
#ifndef QUORVEL_BYTE_PAIR_TABLE_H
#define QUORVEL_BYTE_PAIR_TABLE_H

#include <vector>

#include <SupportDefs.h>

// Byte-table lookups left to GCC's vectoriser are assembled into vectors
// through the stack, which is slower than plain loads and stores.
#if defined(__GNUC__) && !defined(__clang__)
#define QUORVEL_LOOKUP_LOOP __attribute__((optimize("no-tree-vectorize")))
#else
#define QUORVEL_LOOKUP_LOOP
#endif

// Pictures of at least this many pixels are worth the pair table.
const uint64 kBytePairTablePixels = (uint64)1 << 20;

class BytePairTable {
public:
	explicit BytePairTable(const uint8 table[256]);

	// out[x] = table[in[x]] for count bytes.
	void Map(const uint8 *in, uint32 count, uint8 *__restrict out) const;
	// The OR of table[in[x]] over count bytes.
	uint8 Any(const uint8 *in, uint32 count) const;

private:
	uint8 fSingle[256];
	// Indexed and filled through memcpy of two bytes, so that the byte
	// order of the machine does not matter.
	std::vector<uint16> fPairs;
};

#endif // QUORVEL_BYTE_PAIR_TABLE_H
