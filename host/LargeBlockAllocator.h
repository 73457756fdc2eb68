// Memory for the byte buffers a conversion passes along: the input file,
// pictures, bitmap streams and the output, tens of megabytes each at
// 4096 x 4096. Blocks of 2 MiB or more are mapped on their own and asked
// to be backed by huge pages, so that the first touch of each 2 MiB costs
// one page fault instead of 512: at those sizes the faults were a third
// of a conversion's time. Smaller blocks come from operator new.
#ifndef QUORVEL_HOST_LARGE_BLOCK_ALLOCATOR_H
#define QUORVEL_HOST_LARGE_BLOCK_ALLOCATOR_H

#include <stddef.h>

#include <new>

// Throw std::bad_alloc when there is no memory.
void *AllocateBlock(size_t bytes);
void FreeBlock(void *block, size_t bytes) noexcept;

template <typename T>
class LargeBlockAllocator {
public:
	typedef T value_type;

	LargeBlockAllocator() noexcept {}
	template <typename U>
	LargeBlockAllocator(const LargeBlockAllocator<U> &) noexcept {}

	T *allocate(size_t count)
	{
		if (count > (size_t)-1 / sizeof(T)) {
			throw std::bad_alloc();
		}
		return static_cast<T *>(AllocateBlock(count * sizeof(T)));
	}

	void deallocate(T *block, size_t count) noexcept
	{
		FreeBlock(block, count * sizeof(T));
	}
};

template <typename T, typename U>
bool operator==(const LargeBlockAllocator<T> &, const LargeBlockAllocator<U> &)
{
	return true;
}

template <typename T, typename U>
bool operator!=(const LargeBlockAllocator<T> &, const LargeBlockAllocator<U> &)
{
	return false;
}

#endif // QUORVEL_HOST_LARGE_BLOCK_ALLOCATOR_H
