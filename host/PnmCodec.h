// The Netpbm formats, read and written by hand: they are a few lines of
// text followed by samples.
//
//   P1 / P4  PBM, black and white, ASCII / packed bits (1 is black)
//   P2 / P5  PGM, grey, ASCII / binary samples
//   P3 / P6  PPM, colour, ASCII / binary samples (red, green, blue)
//
// The header is the magic, then width, height and (not for PBM) maxval,
// as decimal numbers separated by whitespace; a '#' starts a comment that
// runs to the end of its line. Binary samples start after exactly one
// whitespace character; they are one byte each for maxval below 256, else
// two bytes, most significant first. Maxval is 1 to 65535; samples are
// scaled from 0..maxval to 0..255. Only the first image of a file is read.
#ifndef QUORVEL_HOST_PNM_CODEC_H
#define QUORVEL_HOST_PNM_CODEC_H

#include "Image.h"

bool LooksLikePnm(const ByteVector &bytes);

// Every size in the header is checked before anything is allocated;
// throws Failure for a damaged, cut-short or oversized file.
Image DecodePnm(const ByteVector &bytes);

// P4 for Mono, P5 for Grey, P6 for Rgb, with maxval 255.
ByteVector EncodePnm(const Image &image);

#endif // QUORVEL_HOST_PNM_CODEC_H
