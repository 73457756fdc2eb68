#include "RunLength.h"

#include <string.h>

static const uint32 kMaxRun = 128;
static const uint32 kMinRepeat = 3;

static inline bool RepeatStartsAt(const uint8 *source, uint32 i, uint32 size)
{
	return i + 2 < size && source[i] == source[i + 1]
		&& source[i] == source[i + 2];
}

uint32 PackRuns(uint8 *destination, const uint8 *source, uint32 size)
{
	uint32 i = 0;
	uint32 j = 0;
	while (i < size) {
		if (RepeatStartsAt(source, i, size)) {
			const uint8 value = source[i];
			uint32 n = kMinRepeat;
			i += kMinRepeat;
			while (i < size && source[i] == value && n < kMaxRun) {
				n++;
				i++;
			}
			destination[j++] = (uint8)(n + 127);
			destination[j++] = value;
			continue;
		}

		const uint32 control = j++;
		uint32 n = 0;
		while (i < size && !RepeatStartsAt(source, i, size)) {
			destination[j++] = source[i++];
			if (++n == kMaxRun) {
				break;
			}
		}
		destination[control] = (uint8)(n - 1);
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
