// The kit's bitmap stream, the form in which pictures travel to and from
// translators: a 32-byte big-endian TranslatorBitmap header, then
// dataSize bytes of pixel rows.
//
//    0  4  magic 'bits'
//    4 16  bounds: left, top, right, bottom as 32-bit floats; the picture
//          is right - left + 1 pixels wide and bottom - top + 1 rows high
//   20  4  rowBytes      24  4  colors (colour space)      28  4  dataSize
#ifndef QUORVEL_HOST_BITMAP_STREAM_H
#define QUORVEL_HOST_BITMAP_STREAM_H

#include <string>

#include <TranslatorFormats.h>

#include "Image.h"

const size_t kBitmapHeaderSize = 32;

bool LooksLikeBitmapStream(const ByteVector &bytes);

// The stream the translator is handed: B_GRAY1 for Mono pictures, B_RGB32
// (blue, green, red, alpha in stream order) for Grey and Rgb ones.
ByteVector ImageToBitmapStream(const Image &image);

// The header in host order; false when fewer than 32 bytes are there.
bool ParseBitmapHeader(const ByteVector &bytes, TranslatorBitmap *header);

// The picture's size from a header's bounds; false unless both are whole
// numbers of pixels, at least one each way.
bool BoundsSize(const BRect &bounds, uint64 *width, uint64 *height);

// "B_RGB32" and so on, or the code in hexadecimal.
std::string ColorSpaceName(uint32 colors);

// The picture a stream holds. B_GRAY1, B_GRAY8, B_CMAP8 (through the main
// screen's colour map), B_RGB32 and B_RGBA32 (alpha composited on white)
// are read; B_CMAP8 gives a Grey picture when every colour it uses is a
// grey. Throws Failure for a damaged stream or another colour space.
Image BitmapStreamToImage(const ByteVector &bytes);

#endif // QUORVEL_HOST_BITMAP_STREAM_H
