// Run-length packing: the exact bytes of the boundary cases, round trips,
// the unpacker's stopping rule, and differential runs of the word-wide
// packer and unpacker against the byte-by-byte rule kept here.
#include <string.h>

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "RunLength.h"
#include "SameBytes.h"

namespace {

// The packing rule, one byte at a time.
Bytes ReferencePack(const Bytes &source)
{
	const size_t size = source.size();
	auto repeatAt = [&](size_t i) {
		return i + 2 < size && source[i] == source[i + 1]
			&& source[i] == source[i + 2];
	};
	Bytes packed;
	size_t i = 0;
	while (i < size) {
		if (repeatAt(i)) {
			const uint8 value = source[i];
			int n = 3;
			i += 3;
			while (i < size && source[i] == value && n < 128) {
				n++;
				i++;
			}
			packed.push_back((uint8)(n + 127));
			packed.push_back(value);
			continue;
		}
		const size_t control = packed.size();
		packed.push_back(0);
		int n = 0;
		while (i < size && !repeatAt(i)) {
			packed.push_back(source[i++]);
			if (++n == 128) {
				break;
			}
		}
		packed[control] = (uint8)(n - 1);
	}
	return packed;
}

// The unpacking rule with an unbounded input: returns the output and sets
// consumed to the input bytes used. Stops at a run that does not fit into
// remaining or is not wholly inside the input.
Bytes ReferenceUnpack(const Bytes &packed, int64 remaining,
	size_t *consumed = NULL)
{
	Bytes out;
	size_t in = 0;
	while (in < packed.size()) {
		const uint8 control = packed[in];
		const int64 count = control >= 128 ? control - 127 : control + 1;
		const size_t runBytes = control >= 128 ? 2 : control + 2;
		if (count > remaining || packed.size() - in < runBytes) {
			break;
		}
		for (int64 k = 0; k < count; k++) {
			out.push_back(control >= 128 ? packed[in + 1] : packed[in + 1 + k]);
		}
		in += runBytes;
		remaining -= count;
	}
	if (consumed != NULL) {
		*consumed = in;
	}
	return out;
}

Bytes Pack(const Bytes &source)
{
	Bytes packed(PackedSizeBound(source.size()) + 1, 0xEE);
	const uint32 length = PackRuns(packed.data(), source.data(),
		(uint32)source.size());
	EXPECT_LE(length, PackedSizeBound(source.size()));
	// Nothing is written past the returned length.
	EXPECT_EQ(0xEE, packed[PackedSizeBound(source.size())]);
	packed.resize(length);
	return packed;
}

struct Unpacked {
	Bytes output;
	size_t consumed;
};

// Unpacks from a heap block holding exactly the packed bytes, so a read
// past them is caught by the address sanitizer.
Unpacked Unpack(const Bytes &packed, int32 remaining)
{
	std::vector<uint8> input(packed);
	const uint8 *begin = input.empty() ? NULL : input.data();
	const uint8 *cursor = begin;
	Bytes output(remaining > 0 ? remaining : 0);
	uint8 *destination = output.data();
	UnpackRuns(cursor, begin + input.size(), remaining, destination);
	output.resize(destination - output.data());
	return Unpacked{output, (size_t)(cursor - begin)};
}

Bytes Repeated(size_t count, uint8 value)
{
	return Bytes(count, value);
}

Bytes Concat(Bytes a, const Bytes &b)
{
	a.insert(a.end(), b.begin(), b.end());
	return a;
}

// 0, 1, 2, ... cycling: no two neighbours are equal.
Bytes Counting(size_t count)
{
	Bytes bytes(count);
	for (size_t i = 0; i < count; i++) {
		bytes[i] = (uint8)i;
	}
	return bytes;
}

} // namespace

TEST(PackRunsTest, PacksTheBoundaryCasesToTheirExactBytes)
{
	const uint8 v = 0x5A;
	struct Case {
		const char *what;
		Bytes source;
		Bytes packed;
	} cases[] = {
		{"empty", {}, {}},
		{"one byte", {7}, {0, 7}},
		{"two equal bytes", {7, 7}, {1, 7, 7}},
		{"three equal", Repeated(3, v), {130, v}},
		{"127 equal", Repeated(127, v), {254, v}},
		{"128 equal", Repeated(128, v), {255, v}},
		{"129 equal", Repeated(129, v), {255, v, 0, v}},
		{"130 equal", Repeated(130, v), {255, v, 1, v, v}},
		{"131 equal", Repeated(131, v), {255, v, 130, v}},
		{"pair then repeat", {'A', 'A', 'B', 'B', 'B'},
			{1, 'A', 'A', 130, 'B'}},
		{"single then repeat", {'A', 'B', 'B', 'B'}, {0, 'A', 130, 'B'}},
		{"literal broken by repeat", {1, 2, 3, 4, 4, 4, 5},
			{2, 1, 2, 3, 130, 4, 0, 5}},
		{"pairs stay literal", {1, 1, 2, 2, 3}, {4, 1, 1, 2, 2, 3}},
		{"repeat ends, two left", {9, 9, 9, 9, 8, 8}, {131, 9, 1, 8, 8}},
	};
	for (const Case &c : cases) {
		EXPECT_BYTES(Pack(c.source), c.packed) << c.what;
	}
}

TEST(PackRunsTest, SplitsLongLiteralsEvery128Bytes)
{
	const Bytes source = Counting(300);
	const Bytes packed = Pack(source);
	ASSERT_EQ(303u, packed.size());
	EXPECT_EQ(127, packed[0]);
	EXPECT_EQ(127, packed[129]);
	EXPECT_EQ(43, packed[258]);
	EXPECT_BYTES(Unpack(packed, 300).output, source);
}

TEST(PackRunsTest, ALiteralRunOf128EndsBeforeARepeat)
{
	const Bytes source = Concat(Counting(128), Repeated(3, 200));
	Bytes expected = Concat(Bytes{127}, Counting(128));
	expected.push_back(130);
	expected.push_back(200);
	EXPECT_BYTES(Pack(source), expected);
}

TEST(UnpackRunsTest, AnExactRemainingCountReproducesTheInput)
{
	const Bytes source = Concat(Concat(Counting(200), Repeated(300, 1)),
		Bytes{4, 4, 5});
	Bytes packed = Pack(source);
	const size_t packedLength = packed.size();
	// Whatever follows the stream is not consumed: remaining is used up.
	packed.push_back(0);
	packed.push_back(42);
	const Unpacked result = Unpack(packed, (int32)source.size());
	EXPECT_BYTES(result.output, source);
	EXPECT_EQ(packedLength, result.consumed);
}

TEST(UnpackRunsTest, StopsAtTheFirstRunThatDoesNotFit)
{
	// A repeat of 10 with room for 9: nothing is produced or consumed.
	Unpacked result = Unpack({137, 'x'}, 9);
	EXPECT_TRUE(result.output.empty());
	EXPECT_EQ(0u, result.consumed);

	// A literal of 3 after a repeat of 4, with room for 6.
	result = Unpack({131, 'a', 2, 'b', 'c', 'd'}, 6);
	EXPECT_BYTES(result.output, Bytes(4, 'a'));
	EXPECT_EQ(2u, result.consumed);

	// Zero or negative room produces nothing.
	EXPECT_EQ(0u, Unpack({0, 1}, 0).consumed);
	EXPECT_EQ(0u, Unpack({0, 1}, -5).consumed);
}

TEST(UnpackRunsTest, TheEndOfInputEndsUnpackingLikeARunThatDoesNotFit)
{
	// A literal of 4 with only 2 of its bytes delivered.
	Unpacked result = Unpack({0, 'a', 3, 'b', 'c'}, 100);
	EXPECT_BYTES(result.output, Bytes{'a'});
	EXPECT_EQ(2u, result.consumed);

	// A repeat whose value byte never arrived.
	result = Unpack({1, 'a', 'b', 200}, 100);
	EXPECT_BYTES(result.output, (Bytes{'a', 'b'}));
	EXPECT_EQ(3u, result.consumed);

	// No input at all.
	EXPECT_TRUE(Unpack({}, 100).output.empty());
}

TEST(UnpackRunsTest, AcceptsRepeatsOfOneAndTwo)
{
	const Unpacked result = Unpack({128, 'a', 129, 'b'}, 3);
	EXPECT_BYTES(result.output, (Bytes{'a', 'b', 'b'}));
	EXPECT_EQ(4u, result.consumed);
}

TEST(UnpackPrefixTest, KeepsThePartOfACrossingRunThatTheRoomAllows)
{
	const Bytes packed = {1, 'a', 'b', 131, 'c', 2, 'd', 'e', 'f'};
	struct Case {
		uint32 keep;
		uint32 room;
		Bytes expected;
	} cases[] = {
		// The repeat of 4 crosses keep 3 and fits the room: cut at keep.
		{3, 6, {'a', 'b', 'c'}},
		// It does not fit the room: unpacking stops before it.
		{3, 5, {'a', 'b'}},
		// The literal of 3 crosses keep 7 inside a room of 9.
		{7, 9, {'a', 'b', 'c', 'c', 'c', 'c', 'd'}},
		{7, 8, {'a', 'b', 'c', 'c', 'c', 'c'}},
		{0, 9, {}},
	};
	for (const Case &c : cases) {
		Bytes output(c.keep);
		const uint32 stored = UnpackPrefix(packed.data(),
			packed.data() + packed.size(), c.keep, c.room, output.data());
		output.resize(stored);
		EXPECT_BYTES(output, c.expected) << c.keep << " of " << c.room;
	}

	// A crossing literal whose bytes were not all delivered is not used.
	const Bytes cut = {0, 'a', 5, 'b', 'c'};
	Bytes output(3);
	EXPECT_EQ(1u, UnpackPrefix(cut.data(), cut.data() + cut.size(), 3, 10,
		output.data()));
}

namespace {

// Data with the shapes pixel data has: long runs, short runs, pairs and
// noise, over a small or a full alphabet.
Bytes RandomData(std::mt19937 &random, size_t size)
{
	Bytes data;
	const int alphabet = random() % 4 == 0 ? 2 : 256;
	while (data.size() < size) {
		const size_t left = size - data.size();
		const uint8 value = (uint8)(random() % alphabet);
		switch (random() % 4) {
			case 0:
				data.insert(data.end(), std::min<size_t>(left,
					1 + random() % 300), value);
				break;
			case 1:
				data.insert(data.end(), std::min<size_t>(left,
					1 + random() % 4), value);
				break;
			default:
				for (size_t k = std::min<size_t>(left, random() % 200); k > 0;
						k--) {
					data.push_back((uint8)(random() % alphabet));
				}
				break;
		}
	}
	return data;
}

// Any bytes taken as a packed stream.
Bytes RandomStream(std::mt19937 &random, size_t size)
{
	Bytes stream(size);
	for (uint8 &byte : stream) {
		byte = (uint8)random();
	}
	return stream;
}

} // namespace

TEST(RunLengthDifferentialTest, PackerMatchesTheByteRuleAndRoundTrips)
{
	std::mt19937 random(20240611);
	for (int round = 0; round < 3000; round++) {
		const size_t size = round < 600 ? round : random() % 5000;
		const Bytes source = RandomData(random, size);
		const Bytes packed = Pack(source);
		ASSERT_BYTES(packed, ReferencePack(source)) << "round " << round;
		const Unpacked result = Unpack(packed, (int32)size);
		ASSERT_BYTES(result.output, source) << "round " << round;
		ASSERT_EQ(packed.size(), result.consumed);
	}
}

TEST(RunLengthDifferentialTest, UnpackersMatchTheByteRuleOnAnyStream)
{
	std::mt19937 random(7);
	for (int round = 0; round < 3000; round++) {
		const Bytes stream = RandomStream(random, random() % 700);
		const int32 remaining = (int32)(random() % 20000) - 10;
		size_t consumed = 0;
		const Bytes expected = ReferenceUnpack(stream, remaining, &consumed);
		const Unpacked result = Unpack(stream, remaining);
		ASSERT_BYTES(result.output, expected) << "round " << round;
		ASSERT_EQ(consumed, result.consumed) << "round " << round;

		// The prefix unpacker keeps the start of what the room allows.
		const uint32 room = (uint32)(random() % 20000);
		const uint32 keep = (uint32)(random() % (room + 1));
		const Bytes whole = ReferenceUnpack(stream, room);
		const Bytes prefix(whole.begin(),
			whole.begin() + std::min<size_t>(keep, whole.size()));
		std::vector<uint8> input(stream);
		Bytes output(keep);
		const uint32 stored = UnpackPrefix(input.data(),
			input.data() + input.size(), keep, room, output.data());
		output.resize(stored);
		ASSERT_BYTES(output, prefix) << "round " << round;
	}
}

TEST(RunLengthDifferentialTest, PrefixNeedsNoMoreInputThanItsBound)
{
	std::mt19937 random(99);
	for (int round = 0; round < 2000; round++) {
		const Bytes stream = RandomStream(random, 3000);
		const uint32 keep = (uint32)(random() % 1200);
		const uint32 room = keep + (uint32)(random() % 300);
		const size_t bound = std::min(stream.size(), PackedInputBound(keep));
		Bytes all(keep);
		Bytes bounded(keep);
		const uint32 fromAll = UnpackPrefix(stream.data(),
			stream.data() + stream.size(), keep, room, all.data());
		const uint32 fromBound = UnpackPrefix(stream.data(),
			stream.data() + bound, keep, room, bounded.data());
		ASSERT_EQ(fromAll, fromBound) << "round " << round;
		all.resize(fromAll);
		bounded.resize(fromBound);
		ASSERT_BYTES(bounded, all) << "round " << round;
	}
}

TEST(RunLengthDifferentialTest, WorstCaseStaysWithinTheBound)
{
	// No repeats at all: one control byte per 128 bytes.
	for (size_t size : {1u, 127u, 128u, 129u, 256u, 1000u, 65536u}) {
		const Bytes packed = Pack(Counting(size));
		EXPECT_EQ(PackedSizeBound(size), packed.size()) << size;
	}
}
