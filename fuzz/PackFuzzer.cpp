// Packing round trips through PackRuns and UnpackRuns:
// unpack(pack(x)) == x, within PackedSizeBound and consuming exactly the
// packed bytes, and the packed bytes are those of the byte-by-byte packing
// rule below, which fixes every byte of the files we write. The same input
// is then unpacked as a packed stream with a room taken from its first
// bytes, where the address sanitizer catches any read outside it: the
// result must be the byte-by-byte unpacker's, and the prefix unpacker must
// agree with it.
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "RunLength.h"

typedef std::vector<uint8> Bytes;

static bool RepeatStartsAt(const uint8 *source, uint32 i, uint32 size)
{
	return i + 2 < size && source[i] == source[i + 1]
		&& source[i] == source[i + 2];
}

// The packing rule, one byte at a time: three or more equal bytes make a
// repeat run of at most 128; everything else goes into literal runs, which
// end after 128 bytes or where three equal bytes follow.
static Bytes ReferencePack(const uint8 *source, uint32 size)
{
	Bytes packed;
	uint32 i = 0;
	while (i < size) {
		if (RepeatStartsAt(source, i, size)) {
			const uint8 value = source[i];
			uint32 count = 3;
			i += 3;
			while (i < size && source[i] == value && count < 128) {
				count++;
				i++;
			}
			packed.push_back((uint8)(count + 127));
			packed.push_back(value);
			continue;
		}
		const size_t control = packed.size();
		packed.push_back(0);
		uint32 count = 0;
		while (i < size && !(count > 0 && RepeatStartsAt(source, i, size))
			&& count < 128) {
			packed.push_back(source[i++]);
			count++;
		}
		packed[control] = (uint8)(count - 1);
	}
	return packed;
}

// Unpacking one run at a time, stopping without consuming it at the first
// run that does not fit into the room left or that the input ends inside.
// Returns the bytes produced and sets *used to the packed bytes consumed.
static Bytes ReferenceUnpack(const uint8 *packed, size_t size, int32 room,
	size_t *used)
{
	Bytes plain;
	size_t at = 0;
	while (at < size) {
		const uint8 control = packed[at];
		const bool repeat = control >= 128;
		const int32 count = repeat ? control - 127 : control + 1;
		const size_t runSize = repeat ? 2 : (size_t)count + 1;
		if (count > room || runSize > size - at) {
			break;
		}
		if (repeat) {
			plain.insert(plain.end(), count, packed[at + 1]);
		} else {
			plain.insert(plain.end(), packed + at + 1,
				packed + at + 1 + count);
		}
		room -= count;
		at += runSize;
	}
	*used = at;
	return plain;
}

static void CheckRoundTrip(const uint8_t *data, size_t size)
{
	std::vector<uint8> packed(PackedSizeBound(size));
	const uint32 length = PackRuns(packed.data(), data,
		(uint32)size);
	if (length > PackedSizeBound(size)
		|| Bytes(packed.begin(), packed.begin() + length)
			!= ReferencePack(data, (uint32)size)) {
		abort();
	}
	// An exact-size copy, so that no read past the packed bytes goes
	// unnoticed.
	std::vector<uint8> exact(packed.begin(), packed.begin() + length);
	std::vector<uint8> output(size);
	const uint8 *cursor = exact.data();
	uint8 *destination = output.data();
	UnpackRuns(cursor, exact.data() + exact.size(),
		(int32)size, destination);
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
	size_t used;
	const Bytes reference = ReferenceUnpack(begin, stream.size(),
		(int32)room, &used);
	if (cursor != begin + used || produced != reference.size()
		|| (produced > 0
			&& memcmp(whole.data(), reference.data(), produced) != 0)) {
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
