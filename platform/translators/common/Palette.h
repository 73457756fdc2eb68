// The colour table of a palette picture (GIF, BMP): up to 256 entries,
// one of which may be see-through. Indexes past the entries a file stores
// are black, as libpng expands them for PNG.
#ifndef QUORVEL_PALETTE_H
#define QUORVEL_PALETTE_H

#include "PixelRows.h"

struct Palette {
	// Red, green, blue of each entry.
	uint8 entries[256][3] = {};
	int count = 0;
	// The see-through entry, -1 when none is.
	int transparent = -1;

	// A picture of black and white only: at least one entry, every entry
	// black or white, none see-through. It becomes B_GRAY1.
	bool IsBlackAndWhite() const;
	// Of greys alone (a see-through entry becomes white, a grey too): read
	// as a grey picture, as a PNG palette of greys is.
	bool IsGrey() const;
	// Mono when black and white, Grey when of greys, else Rgb.
	PixelKind Kind() const;

	// The B_RGB32 pixel of every index, the see-through one white (as
	// transparency is composited on white).
	void Rgb32Table(uint8 table[256][4]) const;
	// Whether each index is black, for a black-and-white picture.
	void BlackTable(bool black[256]) const;
};

#endif // QUORVEL_PALETTE_H
