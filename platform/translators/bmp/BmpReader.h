// A BMP file to a bitmap stream: a black-and-white colour table gives
// B_GRAY1, anything else B_RGB32 (a table of greys is told as grey).
//
// Every size is checked before the bitmap header is written: the headers
// and colour table first (BmpHeader.h), then the pixel data: an
// uncompressed file must hold all its rows; run-length data is decoded
// once without keeping a pixel, and must reach the end of the picture
// (its last row, or the end-of-picture code) before the file ends. An
// end-of-picture code before the last row leaves the rest white, as a
// file cut short would; how much that is goes in the read's report. Since
// its codes may legally pass over any number of pixels, a few bytes can
// describe a large picture: only the pixel limit of whoever takes the
// stream bounds those, as for arithmetic-coded JPEGs.
//
// Rows are written top to bottom in bands of at most a megabyte, each
// read (or, for run-length data, decoded from the point its first row
// starts, found in the first pass) at once, so a picture stored bottom
// to top needs no buffer of its size.
#ifndef QUORVEL_BMP_READER_H
#define QUORVEL_BMP_READER_H

#include <DataIO.h>

#include "StandardTranslator.h"

// What the headers say, for Identify; false unless they hold together.
bool IdentifyBmp(BPositionIO *source, ImageFacts *facts);

// Throws TranslationError. Run-length data that ends the picture before
// its last row is told in report.
void ReadBmpToBitmap(BPositionIO *source, BPositionIO *destination,
	ReadReport *report);

#endif // QUORVEL_BMP_READER_H
