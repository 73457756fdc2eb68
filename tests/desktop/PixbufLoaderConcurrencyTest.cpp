// The loader tells gdk-pixbuf it is thread-safe, so loads may run on
// several threads at once: each must give what it gives alone.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "LoaderDrive.h"

// GLib's slice allocator hands blocks between threads through per-thread
// caches the thread sanitizer cannot see, GLib not being built with it;
// the pixbufs' objects come from there. The hook is read only by the
// sanitizer's runtime.
extern "C" const char *__tsan_default_suppressions()
{
	return "race:g_slice_alloc\nrace:g_slice_alloc0\nrace:g_slice_free1\n";
}

TEST(PixbufLoaderConcurrencyTest, LoadsAtOnceGiveWhatEachGivesAlone)
{
	PilotBytes oneBit = FourGreys(48, 20, true);
	oneBit.pixelType = kOneBitPixelType;
	const Bytes files[] = {FourGreys(64, 30, true).Build(), oneBit.Build()};
	const Outcome alone[] = {Load(files[0], {32, 15}), Load(files[1])};
	ASSERT_EQ(alone[0].error + alone[1].error, "");

	std::vector<std::thread> threads;
	std::vector<int> mismatches(4, 0);
	for (int t = 0; t < 4; t++) {
		threads.emplace_back([&, t] {
			for (int round = 0; round < 25; round++) {
				const int which = (t + round) % 2;
				const Outcome outcome = Load(files[which],
					which == 0 ? Asked{32, 15} : Asked{-1, -1}, 7);
				mismatches[t] += outcome.greys != alone[which].greys;
			}
		});
	}
	for (std::thread &thread : threads) {
		thread.join();
	}
	EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}
