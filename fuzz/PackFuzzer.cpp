// Packing round trips: unpack(pack(x)) == x, within PackedSizeBound and
// consuming exactly the packed bytes. The same input is then unpacked as a
// packed stream with a room taken from its first bytes, where the address
// sanitizer catches any read outside it, and the prefix unpacker must agree
// with the plain one.
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "RunLength.h"

static void CheckRoundTrip(const uint8_t *data, size_t size)
{
	std::vector<uint8> packed(PackedSizeBound(size));
	const uint32 length = PackRuns(packed.data(), data, (uint32)size);
	if (length > PackedSizeBound(size)) {
		abort();
	}
	// An exact-size copy, so that no read past the packed bytes goes
	// unnoticed.
	std::vector<uint8> exact(packed.begin(), packed.begin() + length);
	std::vector<uint8> output(size);
	const uint8 *cursor = exact.data();
	uint8 *destination = output.data();
	UnpackRuns(cursor, exact.data() + exact.size(), (int32)size, destination);
	if (cursor != exact.data() + exact.size()
		|| destination != output.data() + size
		|| (size > 0 && memcmp(output.data(), data, size) != 0)) {
		abort();
	}
}

static void CheckAnyStream(const uint8_t *data, size_t size)
{
	if (size < 4) {
		return;
	}
	const uint32 room = ((uint32)data[0] << 8 | data[1]) * 4;
	const uint32 keep = room == 0 ? 0 : ((uint32)data[2] << 8 | data[3])
		% (room + 1);
	std::vector<uint8> stream(data + 4, data + size);
	const uint8 *begin = stream.data();
	const uint8 *end = begin + stream.size();

	std::vector<uint8> whole(room);
	const uint8 *cursor = begin;
	uint8 *destination = whole.data();
	UnpackRuns(cursor, end, (int32)room, destination);
	const size_t produced = destination - whole.data();
	if (cursor < begin || cursor > end || produced > room) {
		abort();
	}

	std::vector<uint8> prefix(keep);
	const uint32 stored = UnpackPrefix(begin, end, keep, room, prefix.data());
	const size_t expected = produced < keep ? produced : keep;
	if (stored != expected || (expected > 0
			&& memcmp(prefix.data(), whole.data(), expected) != 0)) {
		abort();
	}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	CheckRoundTrip(data, size);
	CheckAnyStream(data, size);
	return 0;
}
