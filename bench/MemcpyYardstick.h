// The physical yardstick every benchmark is read against: copying the same
// number of bytes once with memcpy.
#ifndef QUORVEL_BENCH_MEMCPY_YARDSTICK_H
#define QUORVEL_BENCH_MEMCPY_YARDSTICK_H

#include <string.h>

#include <vector>

#include <benchmark/benchmark.h>

inline void TimeMemcpy(benchmark::State &state, size_t size)
{
	std::vector<unsigned char> source(size, 1);
	std::vector<unsigned char> copy(size);
	for (auto _ : state) {
		memcpy(copy.data(), source.data(), size);
		benchmark::DoNotOptimize(copy.data());
		benchmark::ClobberMemory();
	}
	state.SetBytesProcessed(state.iterations() * size);
}

#endif // QUORVEL_BENCH_MEMCPY_YARDSTICK_H
