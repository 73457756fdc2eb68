// Several threads identifying and translating through one roster, while
// another add-on is being added to it.
#include <TranslatorRoster.h>

#include <string.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <DataIO.h>

#include <gtest/gtest.h>

#include "TestStreams.h"

namespace {

const uint32 kFakeOutput = 'FOUT';
const int kThreads = 4;
const int kRounds = 200;

// One worker's rounds; counts the rounds whose results were not right.
int Work(BTranslatorRoster &roster)
{
	int failures = 0;
	const char magic[] = "FAKE";
	for (int round = 0; round < kRounds; round++) {
		BMallocIO source;
		Fill(source, Bytes(magic, magic + 4));
		source.Seek(0, SEEK_END);

		translator_info info;
		if (roster.Identify(&source, NULL, &info) != B_OK
			|| strcmp(info.name, "FakeHigh") != 0) {
			failures++;
		}
		BMallocIO destination;
		if (roster.Translate(&source, NULL, NULL, &destination, kFakeOutput)
				!= B_OK
			|| destination.BufferLength() != strlen("FakeHigh")) {
			failures++;
		}
	}
	return failures;
}

} // namespace


TEST(TranslatorRosterConcurrencyTest, IdentifyAndTranslateInParallel)
{
	BTranslatorRoster roster;
	ASSERT_EQ(roster.AddTranslators(FAKE_HIGH_PATH), B_OK);

	std::atomic<int> failures(0);
	std::vector<std::thread> workers;
	for (int i = 0; i < kThreads; i++) {
		workers.emplace_back([&] { failures += Work(roster); });
	}
	// The lower-quality add-on arrives while the others work; it never
	// wins, so every answer stays the same.
	EXPECT_EQ(roster.AddTranslators(FAKE_LOW_PATH), B_OK);
	for (std::thread &worker : workers) {
		worker.join();
	}
	EXPECT_EQ(failures, 0);

	translator_id *list = NULL;
	int32 count = 0;
	ASSERT_EQ(roster.GetAllTranslators(&list, &count), B_OK);
	EXPECT_EQ(count, 2);
	delete[] list;
}
