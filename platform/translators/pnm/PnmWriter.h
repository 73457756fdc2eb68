// A bitmap stream to a binary PNM file with maxval 255: P4 (PBM) for a
// 1-bit picture, P5 (PGM) for grey, P6 (PPM) for colour, or the one asked
// for, widening where nothing is lost (1-bit to grey, grey to colour).
// PBM asked for of a grey or colour picture is made black and white
// (BlackAndWhite.h). Rows are read and written one at a time.
#ifndef QUORVEL_PNM_WRITER_H
#define QUORVEL_PNM_WRITER_H

#include <DataIO.h>

#include "PixelRows.h"

enum class PnmVariant { Fitting, Bitmap, Graymap, Pixmap };

// Throws TranslationError; refuses (B_NO_TRANSLATOR) a colour picture as
// PGM. dither is PBM's, for a picture that is not black and white.
void WriteBitmapAsPnm(BPositionIO *source, BPositionIO *destination,
	PnmVariant variant, bool dither = true);

#endif // QUORVEL_PNM_WRITER_H
