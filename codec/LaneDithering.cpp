// Sixteen rows of the dithering wavefront as the lanes of four AVX2
// registers of four doubles.
//
// A pixel's sum waits for its left neighbour's residual, and that chain
// of multiply, four additions, roundings, clamps and the quantiser is long;
// DitherRows overlaps a few rows' chains, here sixteen rows take one step
// of the wavefront together. Row k treats pixel s - 2k in step s, as in
// DitherRows, so the row above's residuals row k needs in step s are
// exactly the carries row k - 1 held at the start of steps s - 2, s - 1
// and s: they pass from lane to lane, shifted by one, and only row 0 reads
// the error row. Row 15's carries are written back to it, so it ends as
// DitherRows leaves it.
//
// The darkness of a chunk of steps is gathered first into a buffer laid
// out by step (one float a lane); the levels go to a ring of bytes laid
// out the same way, and are packed four to a byte once a row's four
// pixels are done.
#include "LaneDithering.h"

#if defined(__x86_64__) || defined(__i386__)

#include <string.h>

#include <algorithm>

#include <immintrin.h>

#include "Dithering.h"

#define LANE_TARGET __attribute__((target("avx2")))
#define LANE_INLINE inline __attribute__((always_inline, target("avx2")))

namespace {

const int kRows = kLaneDitherRows;
const int kGroups = kRows / 4;
const int32 kLag = kWavefrontLag;
// Steps whose darkness is gathered at once, and steps whose levels are
// kept until packed: a chunk and the six steps before it at least.
const int32 kChunk = 256;
const int32 kRing = 512;

static_assert(kGroups == 4, "the levels are packed from four registers");

// The shares of the residuals (Dithering.h), the clamps and the levels.
struct Constants {
	__m256d left;
	__m256d aboveLeft;
	__m256d above;
	__m256d aboveRight;
	__m128 zero;
	__m128 top;
	__m128 threshold[3];
	// The reference of level 0, and the bits that turn the reference of
	// level n - 1 into that of level n: each value's level mask is within
	// the one below, so xor-ing those in turn selects the reference.
	__m128 reference0;
	__m128 referenceStep[3];
};

// Each lane's carry (its row's residual of the pixel before) and the row
// above's residuals one and two steps old, i.e. errorRow[x] and
// errorRow[x + 1] for the lane's pixel x.
struct Wavefront {
	__m256d carry[kGroups];
	__m256d aboveLeft[kGroups];
	__m256d above[kGroups];
};

// In the steps where a row has not started or has finished, the carry is
// replaced: by 0 before the row starts, and after its last pixel by the
// error row's last two entries, which the row below reads there.
struct EdgeCarries {
	__m256d replace[kGroups];
	__m256d value[kGroups];
};

LANE_INLINE __m128 Xor(__m128 a, __m128 b)
{
	return _mm_xor_ps(a, b);
}

// One step of the wavefront: the lanes' darkness, the carry of the row
// above row 0 (errorRow[x + 2]); the residual of row 15 comes back in
// *lastResidual and the levels in levels.
template<bool kEdge>
LANE_INLINE void Step(Wavefront &wave, const Constants &c,
	const float *darkness, double firstAboveRight, const EdgeCarries *edge,
	__m128 *lastResidual, uint8 *levels)
{
	__m256d aboveRight[kGroups];
	__m256d before = _mm256_set1_pd(firstAboveRight);
	for (int g = 0; g < kGroups; g++) {
		// [before[3], carry[0], carry[1], carry[2]]
		const __m256d halves = _mm256_permute2f128_pd(before, wave.carry[g],
			0x21);
		aboveRight[g] = _mm256_shuffle_pd(halves, wave.carry[g], 0x5);
		before = wave.carry[g];
	}
	__m128i level[kGroups];
	for (int g = 0; g < kGroups; g++) {
		__m256d sum = _mm256_cvtps_pd(_mm_load_ps(darkness + 4 * g));
		sum = _mm256_add_pd(sum, _mm256_mul_pd(wave.carry[g], c.left));
		sum = _mm256_add_pd(sum, _mm256_mul_pd(wave.aboveLeft[g],
			c.aboveLeft));
		sum = _mm256_add_pd(sum, _mm256_mul_pd(wave.above[g], c.above));
		sum = _mm256_add_pd(sum, _mm256_mul_pd(aboveRight[g],
			c.aboveRight));
		// The same clamps as DitherPixel's: max and min return their
		// second operand unless the first is greater or less.
		// The levels are compared before the clamps, which change no
		// level (the thresholds lie inside 0 .. 255) and can then run at
		// the same time.
		const __m128 unclamped = _mm256_cvtpd_ps(sum);
		const __m128 value = _mm_min_ps(c.top,
			_mm_max_ps(c.zero, unclamped));
		const __m128 past0 = _mm_cmpge_ps(unclamped, c.threshold[0]);
		const __m128 past1 = _mm_cmpge_ps(unclamped, c.threshold[1]);
		const __m128 past2 = _mm_cmpge_ps(unclamped, c.threshold[2]);
		const __m128 reference = Xor(
			Xor(c.reference0, _mm_and_ps(past0, c.referenceStep[0])),
			Xor(_mm_and_ps(past1, c.referenceStep[1]),
				_mm_and_ps(past2, c.referenceStep[2])));
		// value - reference is the double difference rounded to single:
		// rounding an exact sum to double and then to single gives the
		// same single as rounding it once.
		const __m128 residual = _mm_sub_ps(value, reference);
		__m256d carry = _mm256_cvtps_pd(residual);
		if (kEdge) {
			carry = _mm256_blendv_pd(carry, edge->value[g], edge->replace[g]);
		}
		wave.aboveLeft[g] = wave.above[g];
		wave.above[g] = aboveRight[g];
		wave.carry[g] = carry;
		level[g] = _mm_add_epi32(_mm_add_epi32(_mm_castps_si128(past0),
			_mm_castps_si128(past1)), _mm_castps_si128(past2));
		if (g == kGroups - 1) {
			*lastResidual = residual;
		}
	}
	// The masks are -1 where true: the sums are the levels, negated.
	_mm_store_si128((__m128i *)levels, _mm_sub_epi8(_mm_setzero_si128(),
		_mm_packs_epi16(_mm_packs_epi32(level[0], level[1]),
			_mm_packs_epi32(level[2], level[3]))));
}

// Darkness of count B_RGB32 pixels, four at a time as RgbDarkness
// computes it: ((255 - 0.11 * blue) - 0.59 * green) - 0.3 * red.
LANE_TARGET void RgbDarknessRun(const uint8 *pixel, int32 count, float *out)
{
	const __m128i byte = _mm_set1_epi32(0xFF);
	const __m256d white = _mm256_set1_pd(255.0);
	const __m256d blueWeight = _mm256_set1_pd(kBlueWeight);
	const __m256d greenWeight = _mm256_set1_pd(kGreenWeight);
	const __m256d redWeight = _mm256_set1_pd(kRedWeight);
	int32 i = 0;
	for (; i + 4 <= count; i += 4) {
		const __m128i bgra = _mm_loadu_si128((const __m128i *)(pixel + 4 * i));
		const __m256d blue = _mm256_cvtepi32_pd(_mm_and_si128(bgra, byte));
		const __m256d green = _mm256_cvtepi32_pd(
			_mm_and_si128(_mm_srli_epi32(bgra, 8), byte));
		const __m256d red = _mm256_cvtepi32_pd(
			_mm_and_si128(_mm_srli_epi32(bgra, 16), byte));
		const __m256d darkness = _mm256_sub_pd(_mm256_sub_pd(
			_mm256_sub_pd(white, _mm256_mul_pd(blueWeight, blue)),
			_mm256_mul_pd(greenWeight, green)), _mm256_mul_pd(redWeight, red));
		_mm_storeu_ps(out + i, _mm256_cvtpd_ps(darkness));
	}
	for (; i < count; i++) {
		out[i] = RgbDarkness(pixel + 4 * i);
	}
}

// The darkness of steps first .. first + count - 1, lane by lane; lanes
// whose row has no pixel in a step get 0. Each row's run is worked out
// on its own, then four rows by four steps are transposed into place.
LANE_TARGET void GatherDarkness(const float *table,
	const uint8 *const rows[], int32 width, int32 first, int32 count,
	float *darkness)
{
	alignas(16) float runs[kRows][kChunk];
	const int32 rounded = (count + 3) & ~3;
	for (int k = 0; k < kRows; k++) {
		float *run = runs[k];
		const int32 from = std::min(std::max(kLag * k - first, 0), count);
		const int32 to = std::min(std::max(width + kLag * k - first, from),
			count);
		const int32 x = first + from - kLag * k;
		if (from == to) {
			// No pixel of this row in these steps.
		} else if (table != NULL) {
			const uint8 *index = rows[k] + x;
			for (int32 i = from; i < to; i++) {
				run[i] = table[index[i - from]];
			}
		} else {
			RgbDarknessRun(rows[k] + 4 * x, to - from, run + from);
		}
		memset(run, 0, from * sizeof(float));
		memset(run + to, 0, (rounded - to) * sizeof(float));
	}
	for (int k = 0; k < kRows; k += 4) {
		for (int32 i = 0; i < rounded; i += 4) {
			__m128 a = _mm_load_ps(runs[k] + i);
			__m128 b = _mm_load_ps(runs[k + 1] + i);
			__m128 c = _mm_load_ps(runs[k + 2] + i);
			__m128 d = _mm_load_ps(runs[k + 3] + i);
			_MM_TRANSPOSE4_PS(a, b, c, d);
			float *out = darkness + i * kRows + k;
			_mm_store_ps(out, a);
			_mm_store_ps(out + kRows, b);
			_mm_store_ps(out + 2 * kRows, c);
			_mm_store_ps(out + 3 * kRows, d);
		}
	}
}

// The levels, which the steps leave in a ring of one byte a lane, packed
// four pixels to a byte. Row k's byte j holds its pixels 4j .. 4j + 3,
// treated in steps 4j + 2k .. 4j + 2k + 3: a block of four steps that
// starts at a multiple of four for an even row, two steps later for an
// odd one. Block b holds, in lane k, the byte of row k whose first pixel
// is in step 4b (even k) or 4b + 2 (odd k), i.e. row k's byte b - k / 2.
struct LevelPacker {
	static const int32 kBlocks = kRing / 4;

	alignas(16) uint8 steps[kRing * kRows];
	alignas(16) uint8 blocks[kBlocks * kRows];
	int32 blocksDone;
	int32 written[kRows];

	uint8 *StepLevels(int32 step)
	{
		return steps + (step & (kRing - 1)) * kRows;
	}

	// The bytes of each lane built from steps first .. first + 3.
	LANE_INLINE __m128i Bytes(int32 first)
	{
		__m128i bytes = _mm_setzero_si128();
		for (int32 q = 0; q < 4; q++) {
			// Levels are at most 3, so no bit crosses into the next byte.
			const __m128i level = _mm_load_si128(
				(const __m128i *)StepLevels(first + q));
			bytes = _mm_or_si128(bytes, _mm_slli_epi16(level, 6 - 2 * q));
		}
		return bytes;
	}

	// Packs what the steps before end have finished.
	LANE_INLINE void Pack(int32 end, int32 rowSize, uint8 *pixels)
	{
		const __m128i evenLanes = _mm_set1_epi16(0x00FF);
		for (; 4 * blocksDone + 6 <= end; blocksDone++) {
			const __m128i even = Bytes(4 * blocksDone);
			const __m128i odd = Bytes(4 * blocksDone + 2);
			_mm_store_si128((__m128i *)(blocks
					+ (blocksDone & (kBlocks - 1)) * kRows),
				_mm_or_si128(_mm_and_si128(evenLanes, even),
					_mm_andnot_si128(evenLanes, odd)));
		}
		for (int k = 0; k < kRows; k++) {
			const int32 to = std::min(rowSize, blocksDone - k / 2);
			uint8 *out = pixels + (size_t)rowSize * k;
			for (int32 j = written[k]; j < to;) {
				// Up to the end of the ring, block after block.
				const int32 block = (j + k / 2) & (kBlocks - 1);
				const int32 stop = std::min(to, j + kBlocks - block);
				const uint8 *lane = blocks + block * kRows + k;
				for (; j < stop; j++, lane += kRows) {
					out[j] = *lane;
				}
			}
			written[k] = std::max(written[k], to);
		}
	}
};

LANE_TARGET void EdgeCarriesOf(int32 step, int32 width,
	const float *errorRow, EdgeCarries *edge)
{
	alignas(32) double value[kRows];
	alignas(32) int64 replace[kRows];
	for (int k = 0; k < kRows; k++) {
		const int32 x = step - kLag * k;
		value[k] = 0.0;
		replace[k] = 0;
		if (x < 0 || x > width) {
			replace[k] = -1;
		} else if (x >= width - 1) {
			value[k] = errorRow[x + 1];
			replace[k] = -1;
		}
	}
	for (int g = 0; g < kGroups; g++) {
		edge->value[g] = _mm256_load_pd(value + 4 * g);
		edge->replace[g] = _mm256_castsi256_pd(
			_mm256_load_si256((const __m256i *)(replace + 4 * g)));
	}
}

LANE_TARGET void LaneDitherRowsAvx2(const GreyLevels &levels,
	const float *table, const uint8 *const rows[], int32 width,
	float *errorRow, uint8 *pixels)
{
	Constants c;
	c.left = _mm256_set1_pd(kLeftShare);
	c.aboveLeft = _mm256_set1_pd(kAboveLeftShare);
	c.above = _mm256_set1_pd(kAboveShare);
	c.aboveRight = _mm256_set1_pd(kAboveRightShare);
	c.zero = _mm_setzero_ps();
	c.top = _mm_set1_ps(255.0f);
	for (int i = 0; i < 3; i++) {
		c.threshold[i] = _mm_set1_ps(levels.threshold[i]);
		c.referenceStep[i] = Xor(_mm_set1_ps(levels.reference[i]),
			_mm_set1_ps(levels.reference[i + 1]));
	}
	c.reference0 = _mm_set1_ps(levels.reference[0]);

	Wavefront wave;
	for (int g = 0; g < kGroups; g++) {
		wave.carry[g] = _mm256_setzero_pd();
		wave.aboveLeft[g] = _mm256_setzero_pd();
		wave.above[g] = _mm256_setzero_pd();
	}
	wave.aboveLeft[0] = _mm256_set_pd(0.0, 0.0, 0.0, errorRow[0]);
	wave.above[0] = _mm256_set_pd(0.0, 0.0, 0.0, errorRow[1]);

	// Steps in which every row has a pixel and none is at its last.
	const int32 steadyFrom = kLag * (kRows - 1);
	const int32 steadyTo = width - 2;
	const int32 steps = width + kLag * (kRows - 1);
	const int32 lastLag = kLag * (kRows - 1);
	alignas(32) float darkness[kChunk * kRows];
	LevelPacker packer;
	packer.blocksDone = 0;
	for (int k = 0; k < kRows; k++) {
		packer.written[k] = 0;
	}
	EdgeCarries edge;
	__m128 lastResidual;
	for (int32 first = 0; first < steps; first += kChunk) {
		const int32 count = std::min(kChunk, steps - first);
		GatherDarkness(table, rows, width, first, count, darkness);
		const int32 end = first + count;
		int32 step = first;
		const int32 steadyEnd = std::min(end, steadyTo + 1);
		while (step < end) {
			if (step >= steadyFrom && step < steadyEnd) {
				for (; step < steadyEnd; step++) {
					Step<false>(wave, c, darkness + (step - first) * kRows,
						errorRow[step + 2], NULL, &lastResidual,
						packer.StepLevels(step));
					_mm_store_ss(errorRow + step - lastLag + 1,
						_mm_shuffle_ps(lastResidual, lastResidual, 0xFF));
				}
				continue;
			}
			EdgeCarriesOf(step, width, errorRow, &edge);
			Step<true>(wave, c, darkness + (step - first) * kRows,
				step + 2 <= width + 1 ? errorRow[step + 2] : 0.0f, &edge,
				&lastResidual, packer.StepLevels(step));
			const int32 x = step - lastLag;
			if (x >= 0 && x <= width - 2) {
				_mm_store_ss(errorRow + x + 1,
					_mm_shuffle_ps(lastResidual, lastResidual, 0xFF));
			}
			step++;
		}
		packer.Pack(end, width / 4, pixels);
	}
	errorRow[0] = 0.0f;
}

} // namespace

bool LaneDitheringAvailable()
{
	static const bool available = __builtin_cpu_supports("avx2");
	return available;
}

void LaneDitherRows(const GreyLevels &levels, const float *darkness,
	const uint8 *const rows[], int32 width, float *errorRow, uint8 *pixels)
{
	LaneDitherRowsAvx2(levels, darkness, rows, width, errorRow, pixels);
}

#else // neither x86-64 nor x86

bool LaneDitheringAvailable()
{
	return false;
}

void LaneDitherRows(const GreyLevels &, const float *, const uint8 *const[],
	int32, float *, uint8 *)
{
}

#endif
