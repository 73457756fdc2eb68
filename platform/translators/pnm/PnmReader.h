// A PNM file to a bitmap stream: PBM becomes B_GRAY1, PGM and PPM B_RGB32
// with samples scaled from 0..maxval to 0..255.
//
// Before the bitmap header is written the file must hold the samples its
// header claims: for binary data the bytes after the header, for plain
// data (where comments may come between samples) the samples themselves,
// counted in a first pass. Rows are then read and written one at a time.
#ifndef QUORVEL_PNM_READER_H
#define QUORVEL_PNM_READER_H

#include <DataIO.h>

// Throws TranslationError.
void ReadPnmToBitmap(BPositionIO *source, BPositionIO *destination);

#endif // QUORVEL_PNM_READER_H
