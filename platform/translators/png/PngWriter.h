// A bitmap stream to a PNG file through libpng: 1-bit grey for a 1-bit
// picture, 8-bit grey for a grey one, 8-bit RGB for colour; no interlacing,
// libpng's default compression and filters. Rows are read and written one
// at a time.
#ifndef QUORVEL_PNG_WRITER_H
#define QUORVEL_PNG_WRITER_H

#include <DataIO.h>

// Throws TranslationError.
void WriteBitmapAsPng(BPositionIO *source, BPositionIO *destination);

#endif // QUORVEL_PNG_WRITER_H
