// PNG through libpng. Every PNG is read: palettes, 1- to 16-bit samples,
// transparency and interlacing. A black-and-white 1-bit grey PNG stays a
// 1-bit picture; anything else becomes grey or colour, its alpha
// composited on white.
#ifndef QUORVEL_HOST_PNG_CODEC_H
#define QUORVEL_HOST_PNG_CODEC_H

#include "Image.h"

bool LooksLikePng(const ByteVector &bytes);

// Throws Failure with libpng's reason for a damaged file.
Image DecodePng(const ByteVector &bytes);

// Mono as a 1-bit grey PNG, Grey as 8-bit grey, Rgb as 8-bit RGB.
ByteVector EncodePng(const Image &image);

#endif // QUORVEL_HOST_PNG_CODEC_H
