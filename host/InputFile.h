// Reading a whole input file, or standard input for "-", into memory.
#ifndef QUORVEL_HOST_INPUT_FILE_H
#define QUORVEL_HOST_INPUT_FILE_H

#include <string>

#include "Image.h"

// The largest input read: far above any picture within kMaxImagePixels,
// and a bound on what an endless pipe can make us hold.
const uint64 kMaxInputBytes = (uint64)1 << 31;

// Throws Failure naming the file: not found, a folder, unreadable, too
// large.
ByteVector ReadInputFile(const std::string &path);

// The reason for an errno, in the user's words.
std::string DescribeError(int error);

#endif // QUORVEL_HOST_INPUT_FILE_H
