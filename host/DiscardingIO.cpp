#include "DiscardingIO.h"

#include <stdio.h>

#include <limits>

ssize_t DiscardingIO::ReadAt(off_t, void *, size_t)
{
	return 0;
}

ssize_t DiscardingIO::WriteAt(off_t position, const void *, size_t size)
{
	const off_t largest = std::numeric_limits<off_t>::max();
	if (position < 0 || size > (size_t)std::numeric_limits<ssize_t>::max()
		|| (off_t)size > largest - position) {
		return B_BAD_VALUE;
	}
	if (position + (off_t)size > fSize) {
		fSize = position + (off_t)size;
	}
	return (ssize_t)size;
}

off_t DiscardingIO::Seek(off_t position, uint32 seekMode)
{
	off_t base = 0;
	if (seekMode == SEEK_CUR) {
		base = fPosition;
	} else if (seekMode == SEEK_END) {
		base = fSize;
	} else if (seekMode != SEEK_SET) {
		return B_BAD_VALUE;
	}
	if (position < -base
		|| position > std::numeric_limits<off_t>::max() - base) {
		return B_BAD_VALUE;
	}
	fPosition = base + position;
	return fPosition;
}
