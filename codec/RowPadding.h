// Widening stored rows to the bitmap stream's rows, in place.
//
// A Pilot image keeps only the whole bytes of each row (width / 8 for
// 1-bit pixels), while a bitmap stream's row must hold every pixel of its
// width. The stored rows arrive back to back at the start of the buffer;
// each is moved to its place in the wider rows and the bytes after it are
// zeroed, which in B_GRAY1 is white.
#ifndef QUORVEL_ROW_PADDING_H
#define QUORVEL_ROW_PADDING_H

#include <SupportDefs.h>

// rows holds at least rowBytes x height bytes, its first storedRowBytes x
// height bytes the stored rows; rowBytes >= storedRowBytes.
void PadRowsInPlace(uint8 *rows, uint32 storedRowBytes, uint32 rowBytes,
	uint32 height);

#endif // QUORVEL_ROW_PADDING_H
