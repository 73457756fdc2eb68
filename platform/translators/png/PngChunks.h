// A PNG file's chunks as far as they can be read without libpng: the
// signature, the IHDR chunk that must come first, and the count of IDAT
// bytes, found by passing over every chunk's data without reading it.
//
//   signature  89 50 4E 47 0D 0A 1A 0A
//   chunk      length (4, big-endian, at most 2^31 - 1), type (4),
//              data (length), CRC (4)
//   IHDR data  width (4), height (4), bit depth, colour type,
//              compression, filter, interlace
#ifndef QUORVEL_PNG_CHUNKS_H
#define QUORVEL_PNG_CHUNKS_H

#include <DataIO.h>

struct PngHeader {
	uint32 width;
	uint32 height;
	uint8 bitDepth;
	uint8 colorType;
	bool interlaced;
};

// The header, when the stream starts with the signature and a well-formed
// IHDR chunk (sizes from 1 to 2^31 - 1, a depth the colour type allows).
bool ReadPngHeader(BPositionIO *source, PngHeader *header);

// What the chunks between IHDR and the first IDAT say about the pixels.
struct PngPalette {
	// Red, green, blue of each entry.
	uint8 entries[256][3];
	int count = 0;
	bool hasTransparency = false;
};

// Reads PLTE and notes tRNS, passing over every other chunk's data.
void ReadPngPalette(BPositionIO *source, PngPalette *palette);

// The data bytes of all IDAT chunks before IEND or the end of the stream.
uint64 CountIdatBytes(BPositionIO *source);

// A picture of black and white only: 1-bit grey, or a palette whose every
// entry is black or white; either without transparency.
bool IsBilevelPng(int colorType, int bitDepth, const PngPalette &palette);

#endif // QUORVEL_PNG_CHUNKS_H
