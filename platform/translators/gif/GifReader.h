// The first image of a GIF file to a bitmap stream, through giflib: a
// black-and-white picture (every entry of its colour table black or white,
// none transparent) becomes B_GRAY1, any other B_RGB32 with its
// transparent entry composited on white (one whose entries are all grey is
// told as grey, as a PNG palette of greys is). The image is read at its own
// size; the logical screen around it is not.
//
// Before the bitmap header is written, the image's sub-blocks must hold
// enough bytes for its pixels: an LZW code of n bits gives at most 4096
// pixels, so a picture cannot have more than 4096 pixels for each code its
// bytes hold. Rows are then decoded and written one at a time; an
// interlaced image alone needs a buffer of one byte a pixel, made once the
// header was taken.
#ifndef QUORVEL_GIF_READER_H
#define QUORVEL_GIF_READER_H

#include <DataIO.h>

#include "StandardTranslator.h"

// What the headers up to the first image say, for Identify; false when
// giflib cannot read them.
bool IdentifyGif(BPositionIO *source, ImageFacts *facts);

// Throws TranslationError.
void ReadGifToBitmap(BPositionIO *source, BPositionIO *destination);

#endif // QUORVEL_GIF_READER_H
