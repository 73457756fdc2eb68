// Packing and unpacking, in bytes of unpacked data per second, beside a
// memcpy of the same size. The pictures are four-grey scenes of 160, 1024,
// 2048 and 4096 pixels square; "noise" has no repeats at all (all
// literals) and "flat" is one long repeat.
#include <string.h>

#include <random>

#include <benchmark/benchmark.h>

#include "MemcpyYardstick.h"

#include "PilotScene.h"
#include "RunLength.h"

namespace {

enum Content { kScene, kNoise, kFlat };

Bytes Data(Content content, int side)
{
	if (content == kScene) {
		return PilotScene(side, side, false);
	}
	Bytes data((size_t)side * side / 4);
	if (content == kNoise) {
		std::mt19937 random(1);
		for (uint8 &byte : data) {
			byte = (uint8)random();
		}
	}
	return data;
}

void Memcpy(benchmark::State &state)
{
	TimeMemcpy(state, Data(kFlat, (int)state.range(0)).size());
}

void Pack(benchmark::State &state)
{
	const Bytes source = Data((Content)state.range(1), (int)state.range(0));
	Bytes packed(PackedSizeBound(source.size()));
	uint32 length = 0;
	for (auto _ : state) {
		length = PackRuns(packed.data(), source.data(),
			(uint32)source.size());
		benchmark::DoNotOptimize(packed.data());
	}
	state.SetBytesProcessed(state.iterations() * source.size());
	state.counters["ratio"] = (double)length / source.size();
}

void Unpack(benchmark::State &state)
{
	const Bytes source = Data((Content)state.range(1), (int)state.range(0));
	Bytes packed(PackedSizeBound(source.size()));
	packed.resize(PackRuns(packed.data(), source.data(),
		(uint32)source.size()));
	Bytes output(source.size());
	for (auto _ : state) {
		const uint8 *cursor = packed.data();
		uint8 *destination = output.data();
		UnpackRuns(cursor, packed.data() + packed.size(),
			(int32)output.size(), destination);
		benchmark::DoNotOptimize(destination);
		benchmark::ClobberMemory();
	}
	state.SetBytesProcessed(state.iterations() * source.size());
}

void Sides(benchmark::internal::Benchmark *bench)
{
	for (int side : {160, 1024, 2048, 4096}) {
		bench->Args({side, kScene});
	}
	bench->Args({4096, kNoise});
	bench->Args({4096, kFlat});
	bench->ArgNames({"side", "content"});
}

} // namespace

BENCHMARK(Memcpy)->Name("Pack/memcpy")->ArgName("side")
	->Arg(160)->Arg(1024)->Arg(2048)->Arg(4096);
BENCHMARK(Pack)->Name("Pack/pack")->Apply(Sides);
BENCHMARK(Unpack)->Name("Pack/unpack")->Apply(Sides);
