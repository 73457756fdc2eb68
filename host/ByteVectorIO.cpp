#include "ByteVectorIO.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <limits>
#include <new>

namespace {

// The largest stream: positions and counts must fit off_t and ssize_t.
const uint64 kMaxLength = (uint64)std::numeric_limits<ssize_t>::max();

} // namespace

ByteVectorIO::ByteVectorIO(size_t expected)
{
	try {
		fBytes.reserve(expected);
	} catch (const std::bad_alloc &) {
	}
}

ssize_t ByteVectorIO::ReadAt(off_t position, void *buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	if ((uint64)position >= fBytes.size()) {
		return 0;
	}
	size_t count = std::min(size, fBytes.size() - (size_t)position);
	memcpy(buffer, fBytes.data() + position, count);
	return (ssize_t)count;
}

ssize_t ByteVectorIO::WriteAt(off_t position, const void *buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	if (size == 0) {
		return 0;
	}
	if (size > kMaxLength || (uint64)position > kMaxLength - size) {
		return B_BAD_VALUE;
	}
	const uint8 *bytes = static_cast<const uint8 *>(buffer);
	size_t start = (size_t)position;
	try {
		if (start > fBytes.size()) {
			fBytes.resize(start);
		}
		// The part that overwrites bytes already there, then the part
		// appended; appending lets the vector grow geometrically.
		size_t overlap = std::min(size, fBytes.size() - start);
		if (overlap > 0) {
			memcpy(fBytes.data() + start, bytes, overlap);
		}
		fBytes.insert(fBytes.end(), bytes + overlap, bytes + size);
	} catch (const std::bad_alloc &) {
		return B_NO_MEMORY;
	}
	return (ssize_t)size;
}

off_t ByteVectorIO::Seek(off_t position, uint32 seekMode)
{
	off_t base;
	switch (seekMode) {
		case SEEK_SET:
			base = 0;
			break;
		case SEEK_CUR:
			base = fPosition;
			break;
		case SEEK_END:
			base = (off_t)fBytes.size();
			break;
		default:
			return B_BAD_VALUE;
	}
	off_t target;
	if (__builtin_add_overflow(base, position, &target) || target < 0) {
		return B_BAD_VALUE;
	}
	fPosition = target;
	return fPosition;
}

status_t ByteVectorIO::SetSize(off_t size)
{
	if (size < 0 || (uint64)size > kMaxLength) {
		return B_BAD_VALUE;
	}
	try {
		fBytes.resize((size_t)size);
	} catch (const std::bad_alloc &) {
		return B_NO_MEMORY;
	}
	return B_OK;
}

ByteVector ByteVectorIO::TakeBytes()
{
	ByteVector bytes;
	bytes.swap(fBytes);
	fPosition = 0;
	return bytes;
}
