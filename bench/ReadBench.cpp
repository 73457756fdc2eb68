// Reading Pilot images: LoadPilotImage from a file in memory to a bitmap
// stream in memory, in bytes of bitmap stream per second, beside a memcpy
// of the same output size. 1-bit, four-grey and sixteen-grey scenes, plain
// and packed, 160, 1024, 2048 and 4096 pixels square.
#include <string.h>

#include <DataIO.h>

#include <benchmark/benchmark.h>

#include "MemcpyYardstick.h"

#include "BitmapHeader.h"
#include "PilotImageBytes.h"
#include "PilotScene.h"
#include "PilotCodec.h"
#include "RunLength.h"

namespace {

Bytes PilotFileOf(int side, int bitsPerPixel, bool packed)
{
	PilotBytes file;
	file.name = "Scene";
	file.packing = packed ? 1 : 0;
	file.pixelType = bitsPerPixel == 1 ? kOneBitPixelType
		: bitsPerPixel == 2 ? kFourGreyPixelType : kSixteenGreyPixelType;
	file.width = file.height = (int16)side;
	const Bytes plain = PilotSceneOfDepth(side, side, bitsPerPixel);
	file.pixels = plain;
	if (packed) {
		file.pixels.resize(PackedSizeBound(plain.size()));
		file.pixels.resize(PackRuns(file.pixels.data(), plain.data(),
			(uint32)plain.size()));
	}
	return file.Build();
}

size_t OutputSize(int side, int bitsPerPixel)
{
	return kBitmapHeaderSize
		+ (size_t)(bitsPerPixel == 1 ? side / 8 : side) * side;
}

void Memcpy(benchmark::State &state)
{
	TimeMemcpy(state, OutputSize((int)state.range(0), (int)state.range(1)));
}

void Load(benchmark::State &state)
{
	const int side = (int)state.range(0);
	const int bitsPerPixel = (int)state.range(1);
	const Bytes file = PilotFileOf(side, bitsPerPixel, state.range(2) != 0);
	const size_t size = OutputSize(side, bitsPerPixel);
	Bytes output(size);
	for (auto _ : state) {
		BMemoryIO source(file.data(), file.size());
		BMemoryIO destination(output.data(), output.size());
		if (LoadPilotImage(source, destination) != B_OK
			|| destination.Position() != (off_t)size) {
			state.SkipWithError("the picture did not load");
			break;
		}
		benchmark::ClobberMemory();
	}
	state.SetBytesProcessed(state.iterations() * size);
}

} // namespace

BENCHMARK(Memcpy)->Name("Read/memcpy")->ArgNames({"side", "bits"})
	->ArgsProduct({{160, 1024, 2048, 4096}, {1, 2}});
BENCHMARK(Load)->Name("Read/load")
	->ArgNames({"side", "bits", "packed"})
	->ArgsProduct({{160, 1024, 2048, 4096}, {1, 2, 4}, {0, 1}});
