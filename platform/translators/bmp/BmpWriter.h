// A bitmap stream to a BMP file with a 40-byte BITMAPINFOHEADER, rows
// stored bottom to top as most readers expect: a 1-bit picture as 1 bit a
// pixel (colour table black, white), a grey one as 8 bits with a table of
// the 256 greys, colour as 24 bits (blue, green, red). Rows are read from
// the stream one at a time, last first.
#ifndef QUORVEL_BMP_WRITER_H
#define QUORVEL_BMP_WRITER_H

#include <DataIO.h>

// Throws TranslationError.
void WriteBitmapAsBmp(BPositionIO *source, BPositionIO *destination);

#endif // QUORVEL_BMP_WRITER_H
