// A bitmap stream to a JFIF file through libjpeg-turbo: grey pictures (and
// 1-bit ones) as one-component JPEGs, colour as YCbCr with libjpeg's
// default 2 x 2 chroma subsampling, baseline Huffman coding. Rows are read
// and compressed one at a time.
#ifndef QUORVEL_JPEG_WRITER_H
#define QUORVEL_JPEG_WRITER_H

#include <DataIO.h>

// The quality when the extension message names none (JPEG_QUALITY_OPTION,
// 1 to 100; values outside are taken as the nearest end).
const int kDefaultJpegQuality = 90;

// Throws TranslationError.
void WriteBitmapAsJpeg(BPositionIO *source, BPositionIO *destination,
	int quality);

#endif // QUORVEL_JPEG_WRITER_H
