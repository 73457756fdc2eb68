// BMP's run-length coding, RLE8 (8 bits a pixel) and RLE4 (4), as pairs of
// bytes from the first row stored (the bottom one, unless the height is
// negative) on:
//
//   n > 0, c    a run of n pixels: c for RLE8; for RLE4 the high and the
//               low nibble of c by turns
//   0, 0        end of the row: on to the next row's first pixel
//   0, 1        end of the picture
//   0, 2, dx, dy  move dx pixels right and dy rows on
//   0, n >= 3   n pixels stored as they are (RLE8 a byte each, RLE4 a
//               nibble each, high first), padded to an even number of
//               bytes
//
// Pixels that moves, early row ends or an early end of the picture pass
// over are never given: they are see-through, white once composited.
// Pixels past the width are dropped.
#ifndef QUORVEL_BMP_RLE_H
#define QUORVEL_BMP_RLE_H

#include <DataIO.h>

#include "BmpHeader.h"
#include "ByteSource.h"

// Where a decoder is, between two codes: the offset of the next code in
// the file and the pixel it will give next (y counts rows as stored).
struct RleState {
	uint64 offset = 0;
	uint64 x = 0;
	uint64 y = 0;
};

// Rows firstRow to firstRow + rows - 1 (as stored) of the bitmap stream,
// made from the pixels decoded: B_GRAY1 (black bits set) or B_RGB32.
struct RleBand {
	uint32 firstRow = 0;
	uint32 rows = 0;
	size_t rowBytes = 0;
	uint8 *pixels = NULL;
	PixelKind kind = PixelKind::Rgb;
	const uint8 (*table)[4] = NULL;
	const bool *black = NULL;
};

enum class RleStep { Code, EndOfPicture, EndOfData };

class RleDecoder {
public:
	RleDecoder(BPositionIO *stream, const BmpHeader &header,
		const RleState &start);

	// Decodes one code, putting its pixels into band when they fall in it
	// (band may be NULL). EndOfData when the file ends within the code.
	RleStep Next(RleBand *band);

	RleState State() const;
	// Goes on from another state, keeping the buffered bytes.
	void Restart(const RleState &state);

private:
	void Put(RleBand *band, uint8 index);

	ByteSource fBytes;
	uint32 fWidth;
	bool fFourBits;
	uint64 fX;
	uint64 fY;
};

#endif // QUORVEL_BMP_RLE_H
