// libpng's error and warning handlers for our reader and writer: an error
// is recorded in the buffer given as the error pointer (kPngMessageSize
// bytes) and jumps back to the caller's setjmp; warnings are dropped.
#ifndef QUORVEL_PNG_ERRORS_H
#define QUORVEL_PNG_ERRORS_H

#include <stddef.h>

#include <png.h>

const size_t kPngMessageSize = 200;

void RecordPngError(png_structp png, png_const_charp message);
void IgnorePngWarning(png_structp png, png_const_charp message);

#endif // QUORVEL_PNG_ERRORS_H
