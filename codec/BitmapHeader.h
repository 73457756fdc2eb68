// The 32-byte TranslatorBitmap header that starts every bitmap stream,
// stored big-endian:
//    0  4  magic 'bits'
//    4 16  bounds: left, top, right, bottom as 32-bit floats
//   20  4  rowBytes      24  4  colors (colour space)      28  4  dataSize
#ifndef QUORVEL_BITMAP_HEADER_H
#define QUORVEL_BITMAP_HEADER_H

#include <DataIO.h>
#include <TranslatorFormats.h>

#include "HeaderCheck.h"
#include "PilotSize.h"

const size_t kBitmapHeaderSize = 32;

// Stores the header's fields as the stream's 32 bytes.
void SerializeBitmapHeader(const TranslatorBitmap &header, uint8 *bytes);

// Reads one header from the source's current position into header and
// checks in this order: 32 bytes arrived, the magic, left <= right and
// top <= bottom as floats (a NaN fails), and a colour space we convert
// (B_GRAY1, B_CMAP8 or B_RGB32). Then, for Identify, that dataSize is the
// rows (from the float bounds) times rowBytes, the product formed in
// double and matched exactly; for converting, the size of the Pilot image,
// which goes to size. The header's colors is B_NO_COLOR_SPACE until its
// check has passed.
HeaderCheck CheckBitmapHeader(BPositionIO *source, HeaderUse use,
	TranslatorBitmap *header, PilotSize *size);

#endif // QUORVEL_BITMAP_HEADER_H
