// Reading when memory runs out: every buffer is allocated before the
// header goes out, so a failed allocation gives B_NO_MEMORY with nothing
// written (and, under the address sanitizer, nothing leaked).
#include <new>

#include <DataIO.h>

#include <gtest/gtest.h>

#include "PilotFileBuilder.h"
#include "PilotTranslate.h"

namespace {

// The nothrow array allocation that fails: -1 for none, 0 for the next.
int gFailingAllocation = -1;

} // namespace

// Replaces the nothrow array form for this test program, which contains
// the codec's code; paired with the default delete[].
void *operator new[](size_t size, const std::nothrow_t &) noexcept
{
	if (gFailingAllocation >= 0 && gFailingAllocation-- == 0) {
		return NULL;
	}
	try {
		return ::operator new[](size);
	} catch (...) {
		return NULL;
	}
}

TEST(LoadAllocationTest, AFailedAllocationWritesNothing)
{
	// Four-grey and packed: the pixels, the packed input and the row.
	PilotFile file;
	file.width = 64;
	file.height = 64;
	file.packing = 1;
	file.pixels = Packed(Bytes(16 * 64, 0x1B));
	const Bytes bytes = file.Build();

	for (int failing = 0; failing < 3; failing++) {
		BMemoryIO source(bytes.data(), bytes.size());
		BMallocIO destination;
		PilotTranslate job(&source, NULL, &destination);
		gFailingAllocation = failing;
		EXPECT_EQ(B_NO_MEMORY, job.LoadPilotImage()) << failing;
		gFailingAllocation = -1;
		EXPECT_EQ(0u, destination.BufferLength()) << failing;
	}

	BMemoryIO source(bytes.data(), bytes.size());
	BMallocIO destination;
	PilotTranslate job(&source, NULL, &destination);
	EXPECT_EQ(B_OK, job.LoadPilotImage());
	EXPECT_EQ(32u + 64 * 64, destination.BufferLength());
}
