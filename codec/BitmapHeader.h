// The 32-byte TranslatorBitmap header that starts every bitmap stream,
// stored big-endian:
//    0  4  magic 'bits'
//    4 16  bounds: left, top, right, bottom as 32-bit floats
//   20  4  rowBytes      24  4  colors (colour space)      28  4  dataSize
#ifndef QUORVEL_BITMAP_HEADER_H
#define QUORVEL_BITMAP_HEADER_H

#include <ByteOrder.h>
#include <DataIO.h>
#include <TranslatorFormats.h>

const size_t kBitmapHeaderSize = 32;

// Converts every field between host order and the stream's big-endian
// order, in place.
void SwapBitmapHeader(TranslatorBitmap *header, swap_action action);

// Reads one header from the source's current position and converts it to
// host order. B_NO_TRANSLATOR when fewer than 32 bytes arrive.
status_t ReadBitmapHeader(BPositionIO *source, TranslatorBitmap *header);

// The header's colour space as the stream's 32-bit number. A stream may
// hold any number there, and loading one that color_space does not list
// through the enum is undefined, so untrusted headers are tested this way.
uint32 ColorSpaceCode(const TranslatorBitmap &header);

// The colour spaces we convert from: B_GRAY1, B_CMAP8 and B_RGB32.
bool IsPilotSourceColorSpace(uint32 colors);

// Left <= right and top <= bottom, as floats: a NaN fails.
bool HasOrderedBounds(const BRect &bounds);

#endif // QUORVEL_BITMAP_HEADER_H
