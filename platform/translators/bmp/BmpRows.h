// A BMP's stored rows as the bitmap stream's rows: indexes through the
// colour table (to 1-bit pixels for a black-and-white table, else
// B_RGB32), 16- and 32-bit pixels through their masks (alpha composited on
// white), 24-bit ones as they are.
#ifndef QUORVEL_BMP_ROWS_H
#define QUORVEL_BMP_ROWS_H

#include <vector>

#include "BmpHeader.h"

class BmpRowConverter {
public:
	explicit BmpRowConverter(const BmpHeader &header);

	PixelKind Kind() const { return fKind; }
	// The bytes of a stream row: B_GRAY1 or B_RGB32.
	size_t OutRowBytes() const;
	// The B_RGB32 pixel of each index, and whether each index is black.
	const uint8 (*Table() const)[4] { return fTable; }
	const bool *Black() const { return fBlack; }

	// A stored row (RowBytes() of the header) to a stream row.
	void Convert(const uint8 *stored, uint8 *out);

private:
	void ConvertMasked(const uint8 *stored, uint8 *out) const;

	const BmpHeader &fHeader;
	PixelKind fKind;
	uint8 fTable[256][4];
	bool fBlack[256];
	std::vector<uint8> fIndexes;
};

#endif // QUORVEL_BMP_ROWS_H
