// Where a seek leads, for the streams over memory that the kits and the
// host keep: not part of the platform's API.
#ifndef _SEEK_TARGET_H
#define _SEEK_TARGET_H

#include <SupportDefs.h>

namespace BPrivate {

// The position a seek leads to, from the current position and the
// stream's length. B_BAD_VALUE for an unknown mode, a position before the
// start, or one that off_t cannot hold; the caller then keeps its position.
status_t SeekTarget(off_t offset, uint32 seekMode, off_t current,
	off_t length, off_t *target);

} // namespace BPrivate

#endif // _SEEK_TARGET_H
