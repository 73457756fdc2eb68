// Writing when memory runs out: every buffer is allocated before the first
// byte goes out, so a failed allocation leaves the destination empty.
#include <stdint.h>

#include <new>

#include <gtest/gtest.h>

#include "PilotSettings.h"
#include "PilotTranslate.h"
#include "WriteHelpers.h"

namespace {

// Array allocations of more than this many bytes fail.
size_t gFailAbove = SIZE_MAX;

} // namespace

// Replaces the nothrow array form for this test program, which contains
// the codec's code; paired with the default delete[].
void *operator new[](size_t size, const std::nothrow_t &) noexcept
{
	if (size > gFailAbove) {
		return NULL;
	}
	try {
		return ::operator new[](size);
	} catch (...) {
		return NULL;
	}
}

namespace {

status_t SaveWithFailingAllocations(const Bytes &input, bool compression,
	size_t failAbove, BMallocIO &destination)
{
	BMallocIO source;
	Fill(source, input);
	gSettingsLock.Lock();
	PilotTranslate job(&source, NULL, &destination);
	gSettingsLock.Unlock();
	job.compression = compression;
	strcpy(job.databaseName, "memory");
	gFailAbove = failAbove;
	const status_t status = job.SavePilotImage();
	gFailAbove = SIZE_MAX;
	return status;
}

} // namespace

TEST(WriteAllocation, FailureWritesNothing)
{
	// A 2048 x 2048 picture: 1 MiB of grey pixel data, 512 KiB of 1-bit,
	// 8 KiB grey rows. Only the header is needed: nothing is read after
	// the failure.
	for (uint32 colors : {(uint32)B_RGB32, (uint32)B_CMAP8,
			(uint32)B_GRAY1}) {
		const Bytes input = BitmapStream::Make((color_space)colors, 2048, 1)
			.Serialize();
		Bytes header(input.begin(), input.begin() + 32);
		// bottom = 2047
		const float bottom = 2047;
		uint32 bits;
		memcpy(&bits, &bottom, 4);
		for (int i = 0; i < 4; i++) {
			header[16 + i] = (uint8)(bits >> (24 - 8 * i));
		}
		for (bool compression : {false, true}) {
			for (size_t failAbove : {(size_t)1000, (size_t)300 * 1024}) {
				BMallocIO destination;
				EXPECT_EQ(SaveWithFailingAllocations(header, compression,
					failAbove, destination), B_NO_MEMORY)
					<< "colors " << colors << ", limit " << failAbove;
				EXPECT_EQ(destination.BufferLength(), 0u);
			}
		}
	}
}

TEST(WriteAllocation, EnoughMemoryWritesTheImage)
{
	const Bytes input = BitmapStream::Make(B_RGB32, 160, 160, 0).Serialize();
	BMallocIO destination;
	EXPECT_EQ(SaveWithFailingAllocations(input, true, 64 * 1024,
		destination), B_OK);
	EXPECT_GT(destination.BufferLength(), kPilotHeadersSize);
}
