// Writing a converted file so that a failure never leaves a partial or
// empty file behind and never destroys an existing one.
//
// A regular file, new or replaced, is written to a temporary file in the
// same folder first, which takes the output's name only once every byte is
// written (and, when it replaces a file, flushed to the disk). Where the
// file system allows it (O_TMPFILE), the temporary file has no name while
// it is written, so that even a killed process leaves nothing behind;
// elsewhere it is named ".NAME.quorvel-partial-RANDOM", and the signals
// that stop the process remove it (see TemporaryFiles.h).
//
// A symbolic link is followed: the temporary file is made beside the
// link's final target and replaces the target; the link stays. A device,
// a FIFO or a socket is written in place (/dev/null, the reading end of a
// named pipe), and a path naming one of the process's own descriptors
// (/dev/stdout, /dev/fd/N) is written through that descriptor.
#ifndef QUORVEL_HOST_OUTPUT_FILE_H
#define QUORVEL_HOST_OUTPUT_FILE_H

#include <string>

#include "ByteVectorIO.h"

// What to do when the output is a file that already exists. Devices,
// FIFOs and sockets are written either way: they hold no file to lose.
enum class ExistingOutput { Replace, Keep };

// "-" writes to standard output. Throws Failure naming the file: folder
// not found, permission denied, disk full, write failed, already exists
// (with ExistingOutput::Keep), write-protected (a file the user may not
// write, or whose owner took away their own write permission: refused as
// cp refuses it, though the folder would let it be replaced).
void WriteOutputFile(const std::string &path, const ByteVector &bytes,
	ExistingOutput existing = ExistingOutput::Replace);

// The file that writing to path replaces or creates: path with the
// symbolic links it ends in followed. Throws Failure for a loop of links.
std::string FollowOutputLinks(const std::string &path);

// Set (to anything) in the environment, QUORVEL_NAMED_TEMPORARY_FILES
// makes the temporary files named from the start even where O_TMPFILE
// works: for file systems that claim it and misbehave, and for testing
// the named files' removal.
extern const char *const kNamedTemporaryFilesVariable;

#endif // QUORVEL_HOST_OUTPUT_FILE_H
