// The Netpbm formats' header, read by hand: they are a few lines of text
// followed by samples.
//
//   P1 / P4  PBM, black and white, ASCII / packed bits (1 is black)
//   P2 / P5  PGM, grey, ASCII / binary samples
//   P3 / P6  PPM, colour, ASCII / binary samples (red, green, blue)
//
// The header is the magic, then width, height and (not for PBM) maxval,
// as decimal numbers separated by whitespace; a '#' starts a comment that
// runs to the end of its line. Binary samples start after exactly one
// whitespace character; they are one byte each for maxval below 256, else
// two bytes, most significant first. Maxval is 1 to 65535. Only the first
// image of a file is read.
#ifndef QUORVEL_PNM_HEADER_H
#define QUORVEL_PNM_HEADER_H

#include <string>

#include "ByteSource.h"
#include "PixelRows.h"

struct PnmHeader {
	char type = 0;  // '1' to '6'
	uint32 width = 0;
	uint32 height = 0;
	uint32 maxval = 1;

	PixelKind Kind() const;
	bool Plain() const { return type >= '1' && type <= '3'; }
	// Samples in a row: pixels for PBM, PGM, three a pixel for PPM.
	uint64 SamplesPerRow() const;
};

bool IsSpace(int c);
bool IsDigit(int c);

// Whether the stream starts like a PNM file: P1 to P6, then whitespace or
// a comment.
bool LooksLikePnm(BPositionIO *stream);

// Passes over whitespace and comments.
void SkipSpaceAndComments(ByteSource &source);

// Reads a decimal number after whitespace and comments; throws
// TranslationError ("the <what> is too large" above limit).
uint32 ReadPnmNumber(ByteSource &source, const char *what, uint32 limit);

// Reads the header from the start of the stream, leaving source at the
// first byte after maxval (or the height for PBM). Throws TranslationError
// for a damaged header.
PnmHeader ReadPnmHeader(ByteSource &source);

[[noreturn]] void PnmDamaged(const std::string &why);

#endif // QUORVEL_PNM_HEADER_H
