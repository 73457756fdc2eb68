// The largest picture quorvel converts, as other image tools bound their
// resources: a few header bytes must not make it take gigabytes unasked.
// The default can be raised, up to the translators' own cap, with
// --max-pixels N or QUORVEL_MAX_PIXELS=N.
//
// Without either, a picture must also be substantiated by its file: a
// small file may claim an enormous picture (an arithmetic-coded or
// progressive JPEG, a deflated PNG or a BMP whose runs end the picture at
// once hold millions of pixels in a few bytes), and every pixel costs the
// bitmap's memory and the decoder's time. So a file may hold 16 pixels for
// each of its bytes, and any file 16 Mpx: a real photo holds fewer than
// 4 pixels a byte, a flat drawing stays within 16 Mpx, and no file under
// 1 MiB costs more than about 300 MB to convert. A limit given explicitly
// lifts that budget.
#ifndef QUORVEL_HOST_PIXEL_LIMIT_H
#define QUORVEL_HOST_PIXEL_LIMIT_H

#include <optional>
#include <string>

#include <PilotTranslator.h>

// The translators' own cap: they refuse anything larger.
const uint64 kLargestMaxPixels = (uint64)PILOT_MAX_PIXELS;
// Half of it (128 Mpx, an 11585 x 11585 picture, 512 MiB as a 32-bit
// bitmap) unless asked for more.
const uint64 kDefaultMaxPixels = kLargestMaxPixels / 2;

const char kMaxPixelsVariable[] = "QUORVEL_MAX_PIXELS";

// The budget of a file whose limit was not given.
const uint64 kPixelsPerFileByte = 16;
const uint64 kPixelsForAnyFile = (uint64)1 << 24;

struct PixelLimit {
	uint64 pixels = kDefaultMaxPixels;
	// Given with --max-pixels or the variable: the budget does not apply.
	bool given = false;
};

// The most pixels one picture may have.
struct PixelAllowance {
	uint64 pixels = kDefaultMaxPixels;
	// The size of the file whose budget set it, or -1 when the limit did.
	int64 fileBytes = -1;
};

// A whole number from 1 to kLargestMaxPixels; false for anything else.
bool ParseMaxPixels(const std::string &text, uint64 *limit);

// The limit in force: the option's when given, else the environment
// variable's, else the default. Throws Failure for a variable that is not
// a valid limit.
PixelLimit EffectiveMaxPixels(const std::optional<uint64> &option);

// What a picture read from a file of fileBytes bytes (-1: unknown, as
// small as can be) may hold under limit.
PixelAllowance AllowanceFor(const PixelLimit &limit, int64 fileBytes);

// Why a picture of width x height pixels is refused, naming the limit or
// the file's budget and how to raise it.
std::string DescribeOverLimit(uint64 width, uint64 height,
	const PixelAllowance &allowance);

#endif // QUORVEL_HOST_PIXEL_LIMIT_H
