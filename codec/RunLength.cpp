#include "RunLength.h"

#include <string.h>

// Both loops scan eight bytes at a time where at least eight are left, and
// finish byte by byte; the results are those of the byte-by-byte rule.

static const uint32 kMaxRun = 128;
static const uint32 kMinRepeat = 3;
static const uint64 kOnes = 0x0101010101010101ULL;
static const uint64 kHighBits = 0x8080808080808080ULL;

// Eight bytes from p with p[0] in the lowest byte, whatever the host order,
// so the lowest set bit of a mask always belongs to the earliest byte.
static inline uint64 LoadLittle64(const uint8 *p)
{
	uint64 value;
	memcpy(&value, p, sizeof(value));
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
	value = __builtin_bswap64(value);
#endif
	return value;
}

// Sets the high bit of the lowest zero byte of word (other bits may be
// set above it, never below), and of no byte when none is zero.
static inline uint64 ZeroByteMask(uint64 word)
{
	return (word - kOnes) & ~word & kHighBits;
}

static inline uint32 LowestByteIndex(uint64 mask)
{
	return (uint32)__builtin_ctzll(mask) / 8;
}

static inline bool RepeatStartsAt(const uint8 *source, uint32 i, uint32 size)
{
	return i + 2 < size && source[i] == source[i + 1]
		&& source[i] == source[i + 2];
}

// The first position in [from, limit) where three equal bytes start, or
// limit. Every position checked has two bytes after it: limit <= size - 2.
static uint32 FindRepeatStart(const uint8 *source, uint32 from,
	uint32 limit)
{
	uint32 p = from;
	// The last word read ends at p + 10 <= limit + 2 <= size.
	while (p < limit && limit - p >= 8) {
		const uint64 a = LoadLittle64(source + p);
		const uint64 b = LoadLittle64(source + p + 1);
		const uint64 c = LoadLittle64(source + p + 2);
		const uint64 mask = ZeroByteMask((a ^ b) | (b ^ c));
		if (mask != 0) {
			return p + LowestByteIndex(mask);
		}
		p += 8;
	}
	for (; p < limit; p++) {
		if (source[p] == source[p + 1] && source[p] == source[p + 2]) {
			return p;
		}
	}
	return limit;
}

// The first position in [from, limit) whose byte differs from value, or
// limit.
static uint32 FindValueEnd(const uint8 *source, uint32 from, uint32 limit,
	uint8 value)
{
	const uint64 pattern = kOnes * value;
	uint32 p = from;
	while (p < limit && limit - p >= 8) {
		const uint64 differences = LoadLittle64(source + p) ^ pattern;
		if (differences != 0) {
			return p + (uint32)__builtin_ctzll(differences) / 8;
		}
		p += 8;
	}
	while (p < limit && source[p] == value) {
		p++;
	}
	return p;
}

static inline uint32 Min(uint32 a, uint32 b)
{
	return a < b ? a : b;
}

uint32 PackRuns(uint8 *destination, const uint8 *source, uint32 size)
{
	uint32 i = 0;
	uint32 j = 0;
	while (i < size) {
		const uint32 runLimit = i + Min(kMaxRun, size - i);
		if (RepeatStartsAt(source, i, size)) {
			const uint8 value = source[i];
			const uint32 end = FindValueEnd(source, i + kMinRepeat, runLimit,
				value);
			destination[j++] = (uint8)(end - i + 127);
			destination[j++] = value;
			i = end;
			continue;
		}

		// A literal run: up to 128 bytes, ending where three equal bytes
		// start. The last two bytes of the source can start no repeat.
		const uint32 end = size >= 2
			? FindRepeatStart(source, i + 1, Min(runLimit, size - 2))
			: runLimit;
		const uint32 literalEnd = end < runLimit && end < size - 2
			? end : runLimit;
		const uint32 count = literalEnd - i;
		destination[j++] = (uint8)(count - 1);
		memcpy(destination + j, source + i, count);
		j += count;
		i = literalEnd;
	}
	return j;
}

void UnpackRuns(const uint8 *&cursor, const uint8 *end, int32 remaining,
	uint8 *&destination)
{
	const uint8 *in = cursor;
	uint8 *out = destination;
	while (in < end) {
		const uint8 control = *in;
		if (control >= 128) {
			const int32 count = control - 127;
			if (count > remaining || end - in < 2) {
				break;
			}
			memset(out, in[1], count);
			in += 2;
			out += count;
			remaining -= count;
		} else {
			const int32 count = control + 1;
			if (count > remaining || end - in < count + 1) {
				break;
			}
			memcpy(out, in + 1, count);
			in += count + 1;
			out += count;
			remaining -= count;
		}
	}
	cursor = in;
	destination = out;
}

uint32 UnpackPrefix(const uint8 *packed, const uint8 *end, uint32 keep,
	uint32 room, uint8 *destination)
{
	const uint8 *cursor = packed;
	uint8 *out = destination;
	UnpackRuns(cursor, end, (int32)keep, out);
	const uint32 stored = (uint32)(out - destination);
	if (stored == keep || cursor >= end) {
		return stored;
	}

	// The next run did not fit into keep; UnpackRuns with the larger room
	// would still decode it if it fits there and has all its bytes.
	const uint8 control = *cursor;
	const bool repeat = control >= 128;
	const uint32 count = repeat ? control - 127u : control + 1u;
	const size_t runBytes = repeat ? 2 : count + 1;
	if (count > room - stored || (size_t)(end - cursor) < runBytes) {
		return stored;
	}
	if (repeat) {
		memset(out, cursor[1], keep - stored);
	} else {
		memcpy(out, cursor + 1, keep - stored);
	}
	return keep;
}
