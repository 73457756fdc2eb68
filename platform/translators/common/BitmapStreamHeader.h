// The bitmap stream's 32-byte header, big-endian:
//    0  4  magic 'bits'
//    4 16  bounds: left, top, right, bottom as 32-bit floats; the picture
//          is right - left + 1 pixels wide and bottom - top + 1 rows high
//   20  4  rowBytes      24  4  colors (colour space)      28  4  dataSize
#ifndef QUORVEL_BITMAP_STREAM_HEADER_H
#define QUORVEL_BITMAP_STREAM_HEADER_H

#include <string>

#include <TranslatorFormats.h>

#include "ByteSource.h"

const size_t kBitmapHeaderBytes = 32;

// The largest picture read or written, 2^28 pixels (16384 x 16384), as for
// the Pilot translator: a few bytes of a hostile header must not make us
// allocate gigabytes, and its B_RGB32 stream stays within dataSize's 32
// bits.
const uint64 kMaxPicturePixels = (uint64)1 << 28;

// Refuses (TranslationError) a size of no pixels or above the cap.
void CheckPictureSize(uint64 width, uint64 height);

// The header of a width x height stream with bounds from (0, 0).
TranslatorBitmap MakeBitmapHeader(uint32 width, uint32 height,
	color_space colors, uint32 rowBytes);

// The header's colour space as the stream's 32-bit number: a stream may
// hold any number there, which color_space need not list.
uint32 ColorSpaceCode(const TranslatorBitmap &header);

// Reads and decodes the header at the source's position; false when fewer
// than 32 bytes are there.
bool ReadBitmapHeader(ByteSource &source, TranslatorBitmap *header);

// The picture's size from the bounds; false unless both are whole numbers
// of pixels, at least one each way and at most the cap.
bool BoundsSize(const BRect &bounds, uint32 *width, uint32 *height);

// "B_RGB32" and so on, or the code in hexadecimal.
std::string ColorSpaceName(uint32 colors);

// Writes all of size bytes at the destination's position: B_OK, the
// write's own error, or B_ERROR when it took fewer.
status_t WriteFully(BPositionIO *destination, const void *data, size_t size);

// Writes the header; throws TranslationError with the write's status.
void WriteBitmapHeader(BPositionIO *destination,
	const TranslatorBitmap &header);

// Writes one row; throws TranslationError with the write's status.
void WriteRow(BPositionIO *destination, const void *row, size_t size);

#endif // QUORVEL_BITMAP_STREAM_HEADER_H
