// The largest picture quorvel converts, as other image tools bound their
// resources: a few header bytes must not make it take gigabytes unasked.
// The default can be raised, up to the translators' own cap, with
// --max-pixels N or QUORVEL_MAX_PIXELS=N.
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

// A whole number from 1 to kLargestMaxPixels; false for anything else.
bool ParseMaxPixels(const std::string &text, uint64 *limit);

// The limit in force: the option's when given, else the environment
// variable's, else the default. Throws Failure for a variable that is not
// a valid limit.
uint64 EffectiveMaxPixels(const std::optional<uint64> &option);

// Why a picture of width x height pixels is refused, naming the limit and
// how to raise it.
std::string DescribeOverLimit(uint64 width, uint64 height, uint64 limit);

#endif // QUORVEL_HOST_PIXEL_LIMIT_H
