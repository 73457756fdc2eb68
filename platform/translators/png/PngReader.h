// A PNG file to a bitmap stream through libpng. Every PNG is read:
// palettes, 1- to 16-bit samples, transparency and interlacing. A bilevel
// picture (1-bit grey without transparency, or a palette of only black and
// white entries without transparency) becomes B_GRAY1; anything else
// B_RGB32, 16-bit samples narrowed and alpha composited on white.
//
// The data's size is checked against the IDAT bytes, the header is written
// before any picture-sized buffer exists, and rows go out as they are
// decoded; an interlaced picture alone needs a buffer of all its rows.
#ifndef QUORVEL_PNG_READER_H
#define QUORVEL_PNG_READER_H

#include <DataIO.h>

#include "PixelRows.h"
#include "PngChunks.h"

// The kind of picture a PNG becomes: Mono when bilevel, else Grey for
// grey colour types and palettes of greys alone (as the PNG writer stores
// pictures of few greys), Rgb for colour and other palettes.
PixelKind PngKind(int colorType, int bitDepth, const PngPalette &palette);

// Throws TranslationError.
void ReadPngToBitmap(BPositionIO *source, BPositionIO *destination);

#endif // QUORVEL_PNG_READER_H
