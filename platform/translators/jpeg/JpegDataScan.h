// Whether a JPEG's entropy-coded data can hold the picture its frame
// header claims, counted before anything picture-sized is made. Only the
// bytes of the entropy-coded segments count (a stuffed FF 00 as one byte),
// not the markers, tables, comments or application segments around them,
// which may pad a small picture to any size.
//
// Huffman coding gives every block of a scan that carries DC coefficients
// at least one bit: its DC code in a sequential or first DC scan, its
// correction bit in a DC refinement. So each such scan must hold at least
// a bit per block, and an AC scan may not come before a component's first
// DC scan (libjpeg calls that a bogus progression and would read on). AC
// scans may code whole bands of blocks in a few bits, and arithmetic
// coding may take far less than a bit a block (a legal 16384 x 16384
// picture fits in under a kilobyte): for those only the pixel limit of
// whoever takes the bitmap stream bounds the picture.
#ifndef QUORVEL_JPEG_DATA_SCAN_H
#define QUORVEL_JPEG_DATA_SCAN_H

#include <DataIO.h>

#include <stdio.h>

#include <jpeglib.h>

// info has read the header up to the first scan's header; that scan's data
// starts at firstScanData in the stream. Throws TranslationError
// (B_ILLEGAL_DATA) for a file that cannot hold its picture.
void CheckEntropyCodedData(BPositionIO *stream, uint64 firstScanData,
	j_decompress_ptr info);

#endif // QUORVEL_JPEG_DATA_SCAN_H
