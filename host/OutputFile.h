// Writing a converted file so that a failure never leaves a partial or
// empty file behind and never destroys an existing one: the bytes go to a
// new file beside the output, which is renamed over it only once every
// byte is written (and, when it replaces a file, flushed to the disk).
#ifndef QUORVEL_HOST_OUTPUT_FILE_H
#define QUORVEL_HOST_OUTPUT_FILE_H

#include <string>

#include "Image.h"

// "-" writes to standard output. Throws Failure naming the file: folder
// not found, permission denied, disk full, write failed.
void WriteOutputFile(const std::string &path, const ByteVector &bytes);

#endif // QUORVEL_HOST_OUTPUT_FILE_H
