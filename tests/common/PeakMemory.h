// Peak memory read from the kernel (VmHWM, reset through
// /proc/self/clear_refs), for tests that a conversion takes the memory its
// documented buffers take and no more; where the peak cannot be reset,
// only the statuses and outputs are checked. And a destination that
// counts what it is given without holding it.
#ifndef QUORVEL_TEST_PEAK_MEMORY_H
#define QUORVEL_TEST_PEAK_MEMORY_H

#include <fstream>
#include <iostream>
#include <string>

#include <DataIO.h>

#include <gtest/gtest.h>

#include "TestStreams.h"

static const int64 kMiB = 1 << 20;

// The process's peak resident memory in bytes; -1 when unknown.
inline int64 PeakResident()
{
	std::ifstream status("/proc/self/status");
	for (std::string line; std::getline(status, line);) {
		if (line.compare(0, 6, "VmHWM:") == 0) {
			return std::stoll(line.substr(6)) * 1024;
		}
	}
	return -1;
}

// Makes the peak equal to the memory resident now; false when the kernel
// does not offer that.
inline bool ResetPeakResident()
{
	std::ofstream clear("/proc/self/clear_refs");
	clear << "5";
	clear.close();
	return !clear.fail();
}

// How far the peak rose above the memory resident before work ran; -1
// when that cannot be measured.
template <typename Work>
int64 PeakGrowth(Work work)
{
	if (!ResetPeakResident()) {
		work();
		return -1;
	}
	const int64 before = PeakResident();
	work();
	const int64 after = PeakResident();
	return before < 0 || after < 0 ? -1 : after - before;
}

inline void ExpectPeakGrowthAtMost(int64 growth, int64 limit)
{
	if (growth < 0) {
		std::cout << "peak memory not measured here" << std::endl;
		return;
	}
	std::cout << "peak memory rose by " << growth / 1024 << " KiB"
		<< std::endl;
	EXPECT_LE(growth, limit);
}

// A destination that takes everything, keeps only the first bytes and
// counts the rest: a picture at the cap is hundreds of megabytes as a
// bitmap stream, which the test need not hold.
class CountingIO : public BPositionIO {
public:
	ssize_t ReadAt(off_t, void *, size_t) override { return 0; }

	ssize_t WriteAt(off_t position, const void *buffer, size_t size) override
	{
		const uint8 *bytes = static_cast<const uint8 *>(buffer);
		for (size_t i = 0; i < size && position + (off_t)i < kKept; i++) {
			if (fStart.size() <= (size_t)position + i) {
				fStart.resize((size_t)position + i + 1);
			}
			fStart[position + i] = bytes[i];
		}
		if (position + (off_t)size > fSize) {
			fSize = position + (off_t)size;
		}
		return (ssize_t)size;
	}

	off_t Seek(off_t position, uint32 mode) override
	{
		fPosition = (mode == SEEK_SET ? 0
			: mode == SEEK_CUR ? fPosition : fSize) + position;
		return fPosition;
	}

	off_t Position() const override { return fPosition; }

	off_t Size() const { return fSize; }
	const Bytes &Start() const { return fStart; }

	static const off_t kKept = 256;

private:
	off_t fPosition = 0;
	off_t fSize = 0;
	Bytes fStart;
};

#endif // QUORVEL_TEST_PEAK_MEMORY_H
