// Standard input, output and error held open from the first moment.
//
// A program started with one of descriptors 0, 1 or 2 closed would hand
// that number to the next file it opens: an output written through
// descriptor 2 would then take in every warning another thread prints.
#ifndef QUORVEL_HOST_STANDARD_DESCRIPTORS_H
#define QUORVEL_HOST_STANDARD_DESCRIPTORS_H

// Opens /dev/null onto each of descriptors 0, 1 and 2 that is closed, the
// other way round from its use (standard input for writing, the outputs
// for reading), so that reading standard input or writing to standard
// output still fails as it would have, with EBADF, and is reported. False
// when one could not be opened: the caller stops at once. Call first
// thing in main, before any file is opened.
bool HoldStandardDescriptorsOpen();

#endif // QUORVEL_HOST_STANDARD_DESCRIPTORS_H
