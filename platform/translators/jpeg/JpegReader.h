// A JPEG file to a B_RGB32 bitmap stream through libjpeg-turbo: grey
// JPEGs give equal red, green and blue, YCbCr and RGB ones their colours;
// CMYK JPEGs are refused. Baseline and progressive, Huffman and arithmetic
// coding are read.
//
// The entropy-coded data is checked against the frame's size
// (JpegDataScan.h) and the bitmap header written before libjpeg allocates
// anything picture-sized. Sequential JPEGs are decoded one row at a time;
// progressive and multi-scan ones need libjpeg's buffer of all their
// coefficients.
#ifndef QUORVEL_JPEG_READER_H
#define QUORVEL_JPEG_READER_H

#include <DataIO.h>

#include "StandardTranslator.h"

// What a JPEG's header says (its kind Grey or Rgb), for Identify; false
// for a stream whose header libjpeg does not read. Reads no entropy-coded
// data.
bool IdentifyJpeg(BPositionIO *source, ImageFacts *facts);

// Throws TranslationError.
void ReadJpegToBitmap(BPositionIO *source, BPositionIO *destination);

#endif // QUORVEL_JPEG_READER_H
