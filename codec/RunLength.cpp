#include "RunLength.h"

#include <string.h>

// Both directions are written for pictures, whose runs are mostly short
// (dithered greys) or long (white space): short ones are handled byte by
// byte, where a predicted branch costs least, and with fixed-size stores
// instead of library calls; long ones are scanned eight bytes at a time.
// Every result is that of the byte-by-byte rule in RunLength.h.

static const uint32 kMaxRun = 128;
static const uint32 kMinRepeat = 3;
// Runs are scanned byte by byte up to this length, then word by word.
static const uint32 kShortScan = 8;
// Short runs are copied and filled without a library call.
static const uint32 kShortRun = 16;
// The word scans may read this far past a run's limit; the packer uses
// them only where the source has that many bytes more.
static const uint32 kScanSlack = 16;

static const uint64 kOnes = 0x0101010101010101ULL;
static const uint64 kHighBits = 0x8080808080808080ULL;

static inline uint32 Min(uint32 a, uint32 b)
{
	return a < b ? a : b;
}

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

// The index of the lowest byte of word that is zero, or 8 when none is.
// (The borrow trick marks the lowest zero byte exactly; marks above it may
// be false, and are never looked at.)
static inline uint32 FirstZeroByte(uint64 word)
{
	const uint64 mask = (word - kOnes) & ~word & kHighBits;
	return mask != 0 ? (uint32)__builtin_ctzll(mask) / 8 : 8;
}

static inline uint32 FirstNonZeroByte(uint64 word)
{
	return word != 0 ? (uint32)__builtin_ctzll(word) / 8 : 8;
}

// The first position in [from, limit) where three equal bytes start, or
// limit. Reads up to limit + 9.
static inline uint32 FindRepeatStart(const uint8 *source, uint32 from,
	uint32 limit)
{
	for (uint32 p = from; p < limit; p += 8) {
		const uint64 a = LoadLittle64(source + p);
		const uint64 b = LoadLittle64(source + p + 1);
		const uint64 c = LoadLittle64(source + p + 2);
		const uint32 found = FirstZeroByte((a ^ b) | (b ^ c));
		if (found < 8) {
			return Min(p + found, limit);
		}
	}
	return limit;
}

// The first position in [from, limit) whose byte is not value, or limit.
// Reads up to limit + 7.
static inline uint32 FindValueEnd(const uint8 *source, uint32 from,
	uint32 limit, uint8 value)
{
	const uint64 pattern = kOnes * value;
	for (uint32 p = from; p < limit; p += 8) {
		const uint32 found = FirstNonZeroByte(LoadLittle64(source + p)
			^ pattern);
		if (found < 8) {
			return Min(p + found, limit);
		}
	}
	return limit;
}

// Both write exactly count (1 .. kShortRun) bytes, with two overlapping
// stores where count allows.
static inline void FillShort(uint8 *out, uint8 value, uint32 count)
{
	if (count >= 8) {
		const uint64 pattern = kOnes * value;
		memcpy(out, &pattern, 8);
		memcpy(out + count - 8, &pattern, 8);
	} else if (count >= 4) {
		const uint32 pattern = 0x01010101u * value;
		memcpy(out, &pattern, 4);
		memcpy(out + count - 4, &pattern, 4);
	} else {
		out[0] = value;
		out[count / 2] = value;
		out[count - 1] = value;
	}
}

static inline void CopyShort(uint8 *out, const uint8 *in, uint32 count)
{
	if (count >= 8) {
		uint64 head;
		uint64 tail;
		memcpy(&head, in, 8);
		memcpy(&tail, in + count - 8, 8);
		memcpy(out, &head, 8);
		memcpy(out + count - 8, &tail, 8);
	} else if (count >= 4) {
		uint32 head;
		uint32 tail;
		memcpy(&head, in, 4);
		memcpy(&tail, in + count - 4, 4);
		memcpy(out, &head, 4);
		memcpy(out + count - 4, &tail, 4);
	} else {
		const uint8 first = in[0];
		const uint8 middle = in[count / 2];
		const uint8 last = in[count - 1];
		out[0] = first;
		out[count / 2] = middle;
		out[count - 1] = last;
	}
}

static inline uint32 WriteRepeat(uint8 *destination, uint32 j, uint8 value,
	uint32 count)
{
	destination[j] = (uint8)(count + 127);
	destination[j + 1] = value;
	return j + 2;
}

static inline uint32 WriteLiteral(uint8 *destination, uint32 j,
	const uint8 *source, uint32 count)
{
	destination[j++] = (uint8)(count - 1);
	if (count <= kShortRun) {
		CopyShort(destination + j, source, count);
	} else {
		memcpy(destination + j, source, count);
	}
	return j + count;
}

static inline bool RepeatStartsAt(const uint8 *source, uint32 i, uint32 size)
{
	return i + 2 < size && source[i] == source[i + 1]
		&& source[i] == source[i + 2];
}

uint32 PackRuns(uint8 *destination, const uint8 *source, uint32 size)
{
	uint32 i = 0;
	uint32 j = 0;

	// Runs starting before nearEnd, with their scans, stay inside the
	// source: no bounds to check but the run's own limit.
	const uint32 nearEnd = size > kMaxRun + kScanSlack
		? size - kMaxRun - kScanSlack : 0;
	while (i < nearEnd) {
		const uint8 value = source[i];
		uint32 end = i + 1;
		if (source[i + 1] == value && source[i + 2] == value) {
			end = i + kMinRepeat;
			while (end < i + kShortScan && source[end] == value) {
				end++;
			}
			if (end == i + kShortScan) {
				end = FindValueEnd(source, end, i + kMaxRun, value);
			}
			j = WriteRepeat(destination, j, value, end - i);
		} else {
			while (end < i + kShortScan && !(source[end] == source[end + 1]
					&& source[end] == source[end + 2])) {
				end++;
			}
			if (end == i + kShortScan) {
				end = FindRepeatStart(source, end, i + kMaxRun);
			}
			j = WriteLiteral(destination, j, source + i, end - i);
		}
		i = end;
	}

	// The last few runs, by the rule itself.
	while (i < size) {
		uint32 end = i;
		if (RepeatStartsAt(source, i, size)) {
			const uint8 value = source[i];
			end = i + kMinRepeat;
			while (end < size && source[end] == value && end - i < kMaxRun) {
				end++;
			}
			j = WriteRepeat(destination, j, value, end - i);
		} else {
			do {
				end++;
			} while (end < size && !RepeatStartsAt(source, end, size)
				&& end - i < kMaxRun);
			j = WriteLiteral(destination, j, source + i, end - i);
		}
		i = end;
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
			if ((uint32)count <= kShortRun) {
				FillShort(out, in[1], count);
			} else {
				memset(out, in[1], count);
			}
			in += 2;
			out += count;
			remaining -= count;
		} else {
			const int32 count = control + 1;
			if (count > remaining || end - in < count + 1) {
				break;
			}
			if ((uint32)count <= kShortRun) {
				CopyShort(out, in + 1, count);
			} else {
				memcpy(out, in + 1, count);
			}
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
