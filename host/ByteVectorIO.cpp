#include "ByteVectorIO.h"

#include <stdio.h>
#include <string.h>
#include <sys/mman.h>

#include <algorithm>
#include <limits>
#include <new>

#include <SeekTarget.h>

namespace {

// The largest stream: positions and counts must fit off_t and ssize_t.
const uint64 kMaxLength = (uint64)std::numeric_limits<ssize_t>::max();

const uintptr_t kHugePage = 2 * 1024 * 1024;

// An output that has grown this far is taken to be picture-sized (a PGM,
// say): the rest of its room is advised to use huge pages.
const size_t kLargeOutput = 8 * 1024 * 1024;

// A large output is written once, front to back, into fresh memory: 2 MiB
// pages cost one fault and one clear each where 4 KiB pages cost 512.
// Only advice, and only for the whole 2 MiB ranges inside the block. Small
// outputs are left on small pages, which hold no more than they use.
void AdviseHugePages(const uint8 *from, const uint8 *to)
{
	const uintptr_t start = ((uintptr_t)from + kHugePage - 1)
		& ~(kHugePage - 1);
	const uintptr_t end = (uintptr_t)to & ~(kHugePage - 1);
	if (end > start) {
		madvise((void *)start, end - start, MADV_HUGEPAGE);
	}
}

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
		const size_t before = fBytes.size();
		const uint8 *room = fBytes.data();
		fBytes.insert(fBytes.end(), bytes + overlap, bytes + size);
		if (before < kLargeOutput && fBytes.size() >= kLargeOutput
			&& fBytes.data() == room) {
			AdviseHugePages(room + fBytes.size(), room + fBytes.capacity());
		}
	} catch (const std::bad_alloc &) {
		return B_NO_MEMORY;
	}
	return (ssize_t)size;
}

off_t ByteVectorIO::Seek(off_t position, uint32 seekMode)
{
	off_t target;
	status_t status = BPrivate::SeekTarget(position, seekMode,
		fPosition, (off_t)fBytes.size(), &target);
	if (status != B_OK) {
		return status;
	}
	fPosition = target;
	return target;
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
