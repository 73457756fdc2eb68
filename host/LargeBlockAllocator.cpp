#include "LargeBlockAllocator.h"

#include <stdint.h>
#include <sys/mman.h>

namespace {

const size_t kHugePage = (size_t)2 << 20;

bool IsLarge(size_t bytes)
{
	return bytes >= kHugePage;
}

// A whole number of huge pages, so that the block's tail is one too.
size_t MappedLength(size_t bytes)
{
	return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

// Maps a huge page more than needed, then returns the slack on either
// side so that the block starts on a huge-page boundary: only aligned
// 2 MiB ranges can be backed by huge pages.
void *MapAligned(size_t length)
{
	size_t slack = kHugePage;
	if (length > (size_t)-1 - slack) {
		return NULL;
	}
	void *mapped = mmap(NULL, length + slack, PROT_READ | PROT_WRITE,
		MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
	if (mapped == MAP_FAILED) {
		return NULL;
	}
	uintptr_t start = (uintptr_t)mapped;
	uintptr_t aligned = (start + kHugePage - 1) & ~(uintptr_t)(kHugePage - 1);
	size_t head = aligned - start;
	if (head > 0) {
		munmap(mapped, head);
	}
	if (slack - head > 0) {
		munmap((void *)(aligned + length), slack - head);
	}
	return (void *)aligned;
}

} // namespace

void *AllocateBlock(size_t bytes)
{
	if (!IsLarge(bytes)) {
		return ::operator new(bytes);
	}
	size_t length = MappedLength(bytes);
	if (length < bytes) {
		throw std::bad_alloc();
	}
	void *block = MapAligned(length);
	if (block == NULL) {
		throw std::bad_alloc();
	}
	// Only advice: without transparent huge pages the block is simply
	// backed by ordinary pages.
	madvise(block, length, MADV_HUGEPAGE);
	return block;
}

void FreeBlock(void *block, size_t bytes) noexcept
{
	if (!IsLarge(bytes)) {
		::operator delete(block);
		return;
	}
	munmap(block, MappedLength(bytes));
}
