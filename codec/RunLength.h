// Run-length packing of Pilot pixel data.
//
// A packed stream is a sequence of runs with no header, count or end mark.
// Each run starts with a control byte c:
//   c = 0 .. 127    literal run: c + 1 bytes follow, copied as they stand
//   c = 128 .. 255  repeat run: one byte follows, repeated c - 127 times
// Our packer makes literal runs of 1 to 128 bytes and repeat runs of 3 to
// 128 (control 130 .. 255); the unpacker also takes repeats of 1 and 2.
// The packing rule below fixes every byte of the files we write.
#ifndef QUORVEL_RUN_LENGTH_H
#define QUORVEL_RUN_LENGTH_H

#include <stddef.h>

#include <SupportDefs.h>

// Room that always suffices for the packed form of size bytes: one control
// byte per 128 bytes of literals.
inline size_t PackedSizeBound(size_t size)
{
	return size + (size + 127) / 128;
}

// Packs size bytes into destination, which has PackedSizeBound(size) bytes
// of room, and returns the packed length. Three or more equal bytes make a
// repeat run (at most 128); everything else goes into literal runs, which
// end after 128 bytes or where three equal bytes follow.
uint32 PackRuns(uint8 *destination, const uint8 *source, uint32 size);

// Unpacks runs from cursor while each whole run fits into remaining output
// bytes and lies entirely before end. Stops, without consuming it, at the
// first run that would overflow the output or that the input ends inside;
// cursor and destination are left just past what was consumed and produced.
void UnpackRuns(const uint8 *&cursor, const uint8 *end, int32 remaining,
	uint8 *&destination);

// Unpacks [packed, end) as UnpackRuns does with room for room bytes of
// output, but stores only the first keep (<= room, < 2^31) of them, so the
// caller needs no buffer for output it never uses. A run that crosses keep
// is stored up to keep if it fits into room, as UnpackRuns would have
// decoded it whole. Returns the count stored, at most keep.
uint32 UnpackPrefix(const uint8 *packed, const uint8 *end, uint32 keep,
	uint32 room, uint8 *destination);

// The most packed bytes UnpackPrefix can use for keep bytes: every run
// stands for at least half the bytes it takes, and the run that crosses
// keep takes at most 129 more.
inline size_t PackedInputBound(size_t keep)
{
	return 2 * keep + 129;
}

#endif // QUORVEL_RUN_LENGTH_H
