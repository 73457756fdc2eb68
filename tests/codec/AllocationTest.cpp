// Reading and writing when memory runs out: every buffer is allocated
// before the first byte goes out, so a failed allocation gives B_NO_MEMORY
// with the destination empty (and, under the address sanitizer, nothing
// leaked).
#include <stdint.h>
#include <string.h>

#include <new>

#include <gtest/gtest.h>

#include "PilotImageBytes.h"
#include "PilotCodec.h"
#include "WriteHelpers.h"

namespace {

// The nothrow array allocation that fails: the next but failingCount, and
// every one of more than failAbove bytes.
int gFailingCount = -1;
size_t gFailAbove = SIZE_MAX;

} // namespace

// Replaces the nothrow array form for this test program, which contains
// the codec's code; paired with the default delete[].
void *operator new[](size_t size, const std::nothrow_t &) noexcept
{
	if ((gFailingCount >= 0 && gFailingCount-- == 0) || size > gFailAbove) {
		return NULL;
	}
	try {
		return ::operator new[](size);
	} catch (...) {
		return NULL;
	}
}

namespace {

// Reads or writes from input with allocations failing as set, and resets
// them.
status_t RunJob(const Bytes &input, bool reading, BMallocIO &destination,
	bool compression = true, int32 depth = kDepthOfSource)
{
	BMemoryIO source(input.data(), input.size());
	PilotOptions options;
	options.compression = compression;
	options.depth = depth;
	strcpy(options.databaseName, "memory");
	const status_t status = reading ? LoadPilotImage(source, destination)
		: SavePilotImage(source, destination, options);
	gFailingCount = -1;
	gFailAbove = SIZE_MAX;
	return status;
}

} // namespace

TEST(Allocation, AFailedReadingAllocationWritesNothing)
{
	// Four-grey and packed: the pixels, the packed input and the row.
	const Bytes file = PilotImage(64, 64, false, true,
		LiteralRuns(Bytes(16 * 64, 0x1B)));
	for (int failing = 0; failing < 3; failing++) {
		BMallocIO destination;
		gFailingCount = failing;
		EXPECT_EQ(B_NO_MEMORY, RunJob(file, true, destination)) << failing;
		EXPECT_EQ(0u, destination.BufferLength()) << failing;
	}
	BMallocIO destination;
	EXPECT_EQ(B_OK, RunJob(file, true, destination));
	EXPECT_EQ(32u + 64 * 64, destination.BufferLength());
}

TEST(Allocation, AFailedWritingAllocationWritesNothing)
{
	// A 2048 x 2048 picture: 1 MiB of grey pixel data, 512 KiB of 1-bit,
	// 8 KiB grey rows. Only the header is needed: nothing is read after
	// the failure.
	for (uint32 colors : {(uint32)B_RGB32, (uint32)B_CMAP8,
			(uint32)B_GRAY1}) {
		BitmapStreamBytes bitmap = BitmapStreamBytes::Make(colors, 2048, 1);
		bitmap.bottom = 2047;
		bitmap.rows.clear();
		const Bytes header = bitmap.Serialize();
		for (int mask = 0; mask < 16; mask++) {
			const bool compression = (mask & 1) != 0;
			const size_t failAbove = (mask & 2) != 0 ? 1000 : 300 * 1024;
			const int32 depths[] = {kDepthOfSource, 1, 4, PILOT_DEPTH_AUTO};
			BMallocIO destination;
			gFailAbove = failAbove;
			EXPECT_EQ(RunJob(header, false, destination, compression,
				depths[mask >> 2]), B_NO_MEMORY) << "colors " << colors
				<< ", options " << mask;
			EXPECT_EQ(destination.BufferLength(), 0u);
		}
	}

	const Bytes input = BitmapStreamBytes::Make(B_RGB32, 160, 160).Serialize();
	BMallocIO destination;
	gFailAbove = 64 * 1024;
	EXPECT_EQ(RunJob(input, false, destination), B_OK);
	EXPECT_GT(destination.BufferLength(), kPilotHeadersSize);
}
