// A bitmap stream to a PNG file through libpng, at the picture's own
// depth: 1-bit grey for a 1-bit picture; for one of at most 256 colours
// the smallest grey or palette PNG that holds them exactly (PngShape.h),
// found by reading the stream once before writing; 8-bit RGB otherwise.
// No interlacing, libpng's filters. Rows are read and written one at a
// time.
#ifndef QUORVEL_PNG_WRITER_H
#define QUORVEL_PNG_WRITER_H

#include <DataIO.h>

// Throws TranslationError.
void WriteBitmapAsPng(BPositionIO *source, BPositionIO *destination);

#endif // QUORVEL_PNG_WRITER_H
