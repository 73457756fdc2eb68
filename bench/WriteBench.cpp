// Writing Pilot images: SavePilotImage from a bitmap stream in memory to a
// Pilot file in memory, in source pixels per second, beside a memcpy of
// the same input size. B_RGB32 and B_CMAP8 with every combination of
// dithering, high contrast and compression, and the 1-bit path; 160, 1024,
// 2048 and 4096 pixels square.
#include <string.h>

#include <map>
#include <string>

#include <DataIO.h>

#include <benchmark/benchmark.h>

#include "MemcpyYardstick.h"

#include "BitmapStreamBytes.h"
#include "PilotCodec.h"
#include "RunLength.h"

namespace {

// A photograph-like picture: broad colour gradients, a bright disc, a
// dark band and a little noise, so that every grey level and long and
// short runs all occur.
uint8 Channel(int x, int y, int side, int channel, uint32 &noise)
{
	noise = noise * 1664525u + 1013904223u;
	int value = (x * (channel + 1) * 255 / side + y * (3 - channel) * 255
		/ side) / 3;
	const int dx = x - side / 3;
	const int dy = y - side / 3;
	if ((int64)dx * dx + (int64)dy * dy < (int64)side * side / 25) {
		value = 230;
	} else if (y > side * 3 / 4 && y < side * 4 / 5) {
		value = 20;
	}
	value += (int)(noise >> 29) - 4;
	return (uint8)(value < 0 ? 0 : value > 255 ? 255 : value);
}

Bytes MakeBitmapStream(uint32 colors, int side)
{
	BitmapStreamBytes stream = BitmapStreamBytes::Make(colors, side, side);
	uint32 noise = 12345;
	for (int y = 0; y < side; y++) {
		uint8 *row = stream.Pixel(0, y);
		for (int x = 0; x < side; x++) {
			if (colors == B_RGB32) {
				for (int c = 0; c < 3; c++) {
					row[4 * x + c] = Channel(x, y, side, c, noise);
				}
				row[4 * x + 3] = 255;
			} else if (colors == B_CMAP8) {
				row[x] = Channel(x, y, side, x % 3, noise);
			} else if (Channel(x, y, side, 1, noise) < 128) {
				row[x / 8] |= (uint8)(0x80 >> (x % 8));
			}
		}
	}
	return stream.Serialize();
}

const Bytes &BitmapStreamOf(uint32 colors, int side)
{
	static std::map<std::pair<uint32, int>, Bytes> streams;
	Bytes &stream = streams[std::make_pair(colors, side)];
	if (stream.empty()) {
		stream = MakeBitmapStream(colors, side);
	}
	return stream;
}

// Options in state.range(1): bit 0 compression, bit 1 dithering, bit 2
// high contrast.
void Save(benchmark::State &state, uint32 colors)
{
	const int side = (int)state.range(0);
	const int options = (int)state.range(1);
	const Bytes &input = BitmapStreamOf(colors, side);
	PilotOptions pilotOptions;
	pilotOptions.compression = (options & 1) != 0;
	pilotOptions.dithering = (options & 2) != 0;
	pilotOptions.highContrast = (options & 4) != 0;
	strcpy(pilotOptions.databaseName, "Bench");
	// Room for the plain file, which no packed file exceeds by more than
	// its worst case.
	Bytes output(PackedSizeBound((size_t)side * side / 4) + 4096);
	for (auto _ : state) {
		BMemoryIO source(input.data(), input.size());
		BMemoryIO destination(output.data(), output.size());
		if (SavePilotImage(source, destination, pilotOptions) != B_OK) {
			state.SkipWithError("SavePilotImage failed");
			break;
		}
		benchmark::DoNotOptimize(output.data());
	}
	state.counters["pixels/s"] = benchmark::Counter(
		(double)state.iterations() * side * side,
		benchmark::Counter::kIsRate);
	state.SetBytesProcessed(state.iterations() * input.size());
}

void SaveRgb32(benchmark::State &state)
{
	Save(state, B_RGB32);
}

void SaveCmap8(benchmark::State &state)
{
	Save(state, B_CMAP8);
}

void SaveGray1(benchmark::State &state)
{
	Save(state, B_GRAY1);
}

// The physical yardstick: copying the input once.
void MemcpyInput(benchmark::State &state)
{
	const int side = (int)state.range(0);
	const size_t size = kBitmapHeaderBytes + (size_t)side
		* BitmapStreamBytes::LeastRowBytes((uint32)state.range(1), side);
	TimeMemcpy(state, size);
	state.counters["pixels/s"] = benchmark::Counter(
		(double)state.iterations() * side * side,
		benchmark::Counter::kIsRate);
}

void GreyArguments(benchmark::internal::Benchmark *benchmark)
{
	benchmark->ArgNames({"side", "options"});
	for (int side : {160, 1024, 2048, 4096}) {
		for (int options = 0; options < 8; options++) {
			benchmark->Args({side, options});
		}
	}
	benchmark->Unit(benchmark::kMillisecond);
}

void MonoArguments(benchmark::internal::Benchmark *benchmark)
{
	benchmark->ArgNames({"side", "options"});
	for (int side : {160, 1024, 2048, 4096}) {
		benchmark->Args({side, 0});
		benchmark->Args({side, 1});
	}
	benchmark->Unit(benchmark::kMillisecond);
}

void MemcpyArguments(benchmark::internal::Benchmark *benchmark)
{
	benchmark->ArgNames({"side", "colors"});
	for (int side : {160, 1024, 2048, 4096}) {
		for (int colors : {B_RGB32, B_CMAP8, B_GRAY1}) {
			benchmark->Args({side, colors});
		}
	}
	benchmark->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(SaveRgb32)->Apply(GreyArguments);
BENCHMARK(SaveCmap8)->Apply(GreyArguments);
BENCHMARK(SaveGray1)->Apply(MonoArguments);
BENCHMARK(MemcpyInput)->Apply(MemcpyArguments);
