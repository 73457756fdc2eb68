// A BMP file's headers, read by hand. All numbers are little-endian.
//
//   file header    "BM", file size (4), reserved (4), offset of the pixel
//   (14 bytes)     data from the start of the file (4)
//   info header    its size (4), then by size:
//     12           OS/2 1.x core header: width (2), height (2), planes (2),
//                  bits a pixel (2); colour table entries of 3 bytes
//     40 52 56     Windows BITMAPINFOHEADER and Adobe's extensions of it,
//     108 124      V4 and V5: width (4, signed), height (4, signed: a
//     64           negative height stores rows top to bottom, else bottom
//                  to top), planes (2), bits a pixel (2), compression (4),
//                  image size (4), resolution (8), colours used (4),
//                  colours important (4); 52 and larger add red, green and
//                  blue masks at 40, 56 and larger an alpha mask at 52.
//                  64 is OS/2 2.x, whose compressions 3 and 4 mean Huffman
//                  and RLE24 coding. Colour table entries of 4 bytes
//                  (blue, green, red, unused).
//   masks          with compression 3 (bit fields) and a 40-byte header,
//                  red, green and blue masks (4 each) follow the header;
//                  6 (bit fields with alpha) adds an alpha mask
//   colour table   for 1, 2, 4 and 8 bits a pixel: "colours used" entries,
//                  or 2^bits when that is 0, before the pixel data
//   pixel data     rows of whole 32-bit words; pixels from the left, the
//                  leftmost in the high bits of a byte; 16 and 32 bits a
//                  pixel are little-endian words split by the masks
//                  (5-5-5 and 8-8-8 without bit fields), 24 bits are
//                  blue, green, red; compression 1 and 2 are RLE8 and RLE4
//                  (BmpRle.h)
#ifndef QUORVEL_BMP_HEADER_H
#define QUORVEL_BMP_HEADER_H

#include <string>

#include <DataIO.h>

#include "Palette.h"
#include "PixelRows.h"

enum BmpCompression {
	kBmpUncompressed = 0,
	kBmpRle8 = 1,
	kBmpRle4 = 2,
	kBmpBitFields = 3,
	kBmpJpeg = 4,
	kBmpPng = 5,
	kBmpAlphaBitFields = 6
};

const size_t kBmpFileHeaderBytes = 14;

// A colour mask of a 16- or 32-bit pixel: its lowest bit and width.
struct BmpMask {
	uint32 mask = 0;
	int shift = 0;
	int bits = 0;
};

struct BmpHeader {
	uint32 headerSize = 0;
	uint32 width = 0;
	uint32 height = 0;
	bool topDown = false;
	int bitsPerPixel = 0;
	uint32 compression = kBmpUncompressed;
	uint32 dataOffset = 0;
	// Red, green, blue, alpha; alpha's mask is 0 when the file has none.
	BmpMask masks[4];
	Palette palette;

	bool Indexed() const { return bitsPerPixel >= 1 && bitsPerPixel <= 8; }
	bool HasAlpha() const { return masks[3].mask != 0; }
	bool Rle() const
	{
		return compression == kBmpRle8 || compression == kBmpRle4;
	}
	// The bytes of a stored row, padded to a 32-bit word.
	uint64 RowBytes() const
	{
		return ((uint64)width * bitsPerPixel + 31) / 32 * 4;
	}
	// Mono for a black-and-white colour table, Grey for one of greys (the
	// stream is B_RGB32 for both Grey and Rgb), else Rgb.
	PixelKind Kind() const;
};

// Whether the stream starts with "BM" and an info header size read here.
bool LooksLikeBmp(BPositionIO *source);

// Reads the headers, masks and colour table, and checks that they hold
// together; throws TranslationError (B_ILLEGAL_DATA) when they do not.
BmpHeader ReadBmpHeader(BPositionIO *source);

// Refuses (B_NO_TRANSLATOR, saying what can be read) a BMP of a kind not
// read: a compression or depth this reader lacks, or a picture of no
// pixels or too many.
void CheckBmpReadable(const BmpHeader &header);

[[noreturn]] void BmpDamaged(const std::string &why);

#endif // QUORVEL_BMP_HEADER_H
