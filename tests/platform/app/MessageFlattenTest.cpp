// BMessage's flattened form: round trips of every type, the layout's
// header, and refusal of truncated, corrupt, oversized and hostile bytes
// with the message left unchanged.
#include <stdlib.h>
#include <string.h>

#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <DataIO.h>
#include <Message.h>

#include "TestStreams.h"

// Records the largest single allocation, to show that a declared size is
// never allocated on trust.
static size_t sLargestAllocation = 0;

// Kept out of line: inlined into the library's containers, they make GCC's
// optimiser warn about new/free pairs it can no longer match.
__attribute__((noinline)) void *
operator new(size_t size)
{
	if (size > sLargestAllocation) {
		sLargestAllocation = size;
	}
	void *memory = malloc(size == 0 ? 1 : size);
	if (memory == NULL) {
		throw std::bad_alloc();
	}
	return memory;
}

__attribute__((noinline)) void
operator delete(void *memory) noexcept
{
	free(memory);
}

__attribute__((noinline)) void
operator delete(void *memory, size_t) noexcept
{
	free(memory);
}

namespace {

const size_t kHeaderSize = 20;
const size_t kWhatOffset = 12;

void AppendLE32(Bytes &out, uint32 value)
{
	for (int shift = 0; shift < 32; shift += 8) {
		out.push_back((uint8)(value >> shift));
	}
}

// Writes flattened messages byte by byte, so that tests can build what
// BMessage itself would never write.
class FlatBuilder {
public:
	FlatBuilder(uint32 what, uint32 fieldCount)
	{
		fBytes = {'B', 'M', 'S', 'G'};
		AppendLE32(fBytes, 1);
		AppendLE32(fBytes, 0);
		AppendLE32(fBytes, what);
		AppendLE32(fBytes, fieldCount);
	}

	FlatBuilder &Field(type_code type, uint8 flags, const std::string &name,
		const std::vector<Bytes> &values)
	{
		AppendLE32(fBytes, type);
		fBytes.push_back(flags);
		fBytes.push_back((uint8)name.size());
		fBytes.insert(fBytes.end(), name.begin(), name.end());
		AppendLE32(fBytes, (uint32)values.size());
		for (const Bytes &value : values) {
			AppendLE32(fBytes, (uint32)value.size());
			fBytes.insert(fBytes.end(), value.begin(), value.end());
		}
		return *this;
	}

	FlatBuilder &Raw(const Bytes &bytes)
	{
		fBytes.insert(fBytes.end(), bytes.begin(), bytes.end());
		return *this;
	}

	// The bytes, with the total size set to their count.
	Bytes Done() const
	{
		Bytes bytes = fBytes;
		Bytes size;
		AppendLE32(size, (uint32)bytes.size());
		std::copy(size.begin(), size.end(), bytes.begin() + 8);
		return bytes;
	}

private:
	Bytes fBytes;
};

Bytes Flattened(const BMessage &message)
{
	Bytes bytes(message.FlattenedSize());
	EXPECT_EQ(B_OK, message.Flatten(reinterpret_cast<char *>(bytes.data()),
		bytes.size()));
	return bytes;
}

status_t UnflattenStream(BMessage &message, const Bytes &bytes)
{
	BMemoryIO stream(bytes.data(), bytes.size());
	return message.Unflatten(&stream);
}

BMessage SampleMessage()
{
	BMessage inner('innr');
	inner.AddString("text", "inside");
	inner.AddBool("flag", true);
	BMessage innermost('leaf');
	innermost.AddInt64("big", (int64)1 << 40);
	inner.AddMessage("leaf", &innermost);

	BMessage message('smpl');
	message.AddString("name", "pilot");
	message.AddString("name", "");
	message.AddBool("compress", true);
	message.AddBool("dither", false);
	message.AddInt8("i8", -1);
	message.AddUInt8("u8", 255);
	message.AddInt16("i16", -300);
	message.AddUInt16("u16", 65000);
	message.AddInt32("i32", 123456789);
	message.AddUInt32("u32", 0xdeadbeef);
	message.AddInt64("i64", -5);
	message.AddUInt64("u64", ~(uint64)0);
	message.AddFloat("float", -2.5f);
	message.AddDouble("double", 3.25);
	message.AddRect("rect", BRect(0, 0, 159, 159));
	message.AddPoint("point", BPoint(7, 8));
	message.AddData("raw", B_RAW_TYPE, "\0\1\2", 3, false);
	message.AddData("raw", B_RAW_TYPE, NULL, 0, false);
	message.AddData("unterminated", B_STRING_TYPE, "abc", 3, false);
	message.AddMessage("inner", &inner);
	message.AddMessage("inner", &innermost);
	return message;
}

void ExpectSameMessage(const BMessage &expected, const BMessage &actual)
{
	EXPECT_EQ(expected.what, actual.what);
	EXPECT_TRUE(expected.HasSameData(actual, false, true));
	EXPECT_EQ(Flattened(expected), Flattened(actual));
}

} // namespace

TEST(MessageFlattenRoundTripTest, EveryTypeSurvivesBufferAndStream)
{
	BMessage message = SampleMessage();
	Bytes bytes = Flattened(message);

	BMessage fromBuffer('old ');
	ASSERT_EQ(B_OK, fromBuffer.Unflatten(
		reinterpret_cast<const char *>(bytes.data())));
	ExpectSameMessage(message, fromBuffer);

	BMallocIO stream;
	ssize_t written = 0;
	ASSERT_EQ(B_OK, message.Flatten(&stream, &written));
	EXPECT_EQ(message.FlattenedSize(), written);
	EXPECT_EQ(bytes, BytesOf(stream));
	stream.Seek(0, SEEK_SET);
	BMessage fromStream;
	ASSERT_EQ(B_OK, fromStream.Unflatten(&stream));
	ExpectSameMessage(message, fromStream);

	// Values, order and nesting as they were.
	const char *text = NULL;
	ASSERT_EQ(B_OK, fromStream.FindString("name", 1, &text));
	EXPECT_STREQ("", text);
	EXPECT_EQ(B_BAD_DATA, fromStream.FindString("unterminated", &text));
	char *name = NULL;
	ASSERT_EQ(B_OK, fromStream.GetInfo(B_ANY_TYPE, 2, &name, NULL));
	EXPECT_STREQ("dither", name);
	BMessage inner;
	ASSERT_EQ(B_OK, fromStream.FindMessage("inner", &inner));
	BMessage leaf;
	ASSERT_EQ(B_OK, inner.FindMessage("leaf", &leaf));
	int64 big = 0;
	ASSERT_EQ(B_OK, leaf.FindInt64("big", &big));
	EXPECT_EQ((int64)1 << 40, big);
	type_code type;
	bool fixedSize = true;
	ASSERT_EQ(B_OK, fromStream.GetInfo("raw", &type, &fixedSize));
	EXPECT_FALSE(fixedSize);
	ASSERT_EQ(B_OK, fromStream.GetInfo("i32", &type, &fixedSize));
	EXPECT_TRUE(fixedSize);
}

TEST(MessageFlattenRoundTripTest, EmptyMessageAndStreamLeftAtItsEnd)
{
	BMessage empty('empt');
	Bytes bytes = Flattened(empty);
	EXPECT_EQ(kHeaderSize, bytes.size());

	// Two messages back to back: each read takes exactly its own bytes.
	BMessage second('scnd');
	second.AddInt32("n", 2);
	Bytes both = bytes;
	Bytes more = Flattened(second);
	both.insert(both.end(), more.begin(), more.end());
	BMemoryIO stream(both.data(), both.size());
	BMessage a;
	BMessage b;
	ASSERT_EQ(B_OK, a.Unflatten(&stream));
	ASSERT_EQ(B_OK, b.Unflatten(&stream));
	EXPECT_EQ((uint32)'empt', a.what);
	EXPECT_TRUE(a.IsEmpty());
	EXPECT_EQ(2, b.GetInt32("n", 0));
}

TEST(MessageFlattenLayoutTest, HeaderAndFieldAreLittleEndian)
{
	BMessage message('abcd');
	message.AddInt32("n", 0x01020304);
	Bytes expected = FlatBuilder('abcd', 1)
		.Field(B_INT32_TYPE, 0x01, "n", {{0x04, 0x03, 0x02, 0x01}})
		.Done();
	Bytes actual = Flattened(message);
	EXPECT_EQ(expected, actual);
	ASSERT_GE(actual.size(), kHeaderSize);
	EXPECT_EQ(0, memcmp(actual.data(), "BMSG\x01\0\0\0", 8));
	EXPECT_EQ(actual.size(), (size_t)actual[8]);
	EXPECT_EQ('d', actual[kWhatOffset]);
}

TEST(MessageFlattenLayoutTest, FlattenRefusesTooSmallBufferAndFailingStream)
{
	BMessage message = SampleMessage();
	Bytes bytes(message.FlattenedSize());
	char *buffer = reinterpret_cast<char *>(bytes.data());
	EXPECT_EQ(B_BAD_VALUE, message.Flatten(buffer, bytes.size() - 1));
	EXPECT_EQ(B_BAD_VALUE, message.Flatten(NULL, bytes.size()));
	EXPECT_EQ(B_BAD_VALUE, message.Flatten((BDataIO *)NULL));

	LimitedWriteIO full(10);
	ssize_t written = -1;
	EXPECT_NE(B_OK, message.Flatten(&full, &written));
	EXPECT_EQ(-1, written);
}

TEST(MessageFlattenLayoutTest, MessagesTooLargeForTheFormAreRefused)
{
	BMessage message;
	std::string big(16 * 1024 * 1024, 'x');
	ASSERT_EQ(B_OK, message.AddData("big", B_RAW_TYPE, big.data(),
		big.size()));
	BMallocIO stream;
	EXPECT_EQ(B_BAD_VALUE, message.Flatten(&stream));
	EXPECT_EQ(0u, stream.BufferLength());
	BMessage outer;
	EXPECT_EQ(B_BAD_VALUE, outer.AddMessage("m", &message));
}

class MessageUnflattenCorruptTest : public testing::Test {
protected:
	void SetUp() override
	{
		fValid = Flattened(SampleMessage());
		fTarget = BMessage('keep');
		fTarget.AddString("kept", "yes");
		fBefore = Flattened(fTarget);
	}

	// Unflattens bytes through the stream, expecting the failure status,
	// and checks that the target is untouched.
	void ExpectRefused(const Bytes &bytes, status_t expected,
		const std::string &what)
	{
		EXPECT_EQ(expected, UnflattenStream(fTarget, bytes)) << what;
		EXPECT_EQ(fBefore, Flattened(fTarget)) << what;
	}

	Bytes fValid;
	BMessage fTarget;
	Bytes fBefore;
};

TEST_F(MessageUnflattenCorruptTest, EveryTruncationIsRefused)
{
	for (size_t length = 0; length < fValid.size(); length++) {
		Bytes truncated(fValid.begin(), fValid.begin() + length);
		ExpectRefused(truncated, B_BAD_VALUE,
			"truncated to " + std::to_string(length));
	}
}

TEST_F(MessageUnflattenCorruptTest, HeaderBitFlipsAreRefused)
{
	for (size_t bit = 0; bit < kHeaderSize * 8; bit++) {
		size_t byte = bit / 8;
		if (byte >= kWhatOffset && byte < kWhatOffset + 4) {
			continue;
		}
		Bytes flipped = fValid;
		flipped[byte] ^= (uint8)(1 << (bit % 8));
		status_t expected = byte < 4 ? (status_t)B_NOT_A_MESSAGE
			: (status_t)B_BAD_VALUE;
		ExpectRefused(flipped, expected, "bit " + std::to_string(bit));
	}
}

TEST_F(MessageUnflattenCorruptTest, AnyBitFlipEitherParsesOrLeavesTheMessage)
{
	// Flips within values may give another valid message; nothing may
	// crash, and a refusal must leave the target as it was.
	for (size_t bit = 0; bit < fValid.size() * 8; bit++) {
		Bytes flipped = fValid;
		flipped[bit / 8] ^= (uint8)(1 << (bit % 8));
		BMessage target(fTarget);
		if (UnflattenStream(target, flipped) != B_OK) {
			EXPECT_EQ(fBefore, Flattened(target)) << "bit " << bit;
		}
	}
}

TEST_F(MessageUnflattenCorruptTest, HostileStructuresAreRefused)
{
	const Bytes one = {1, 0, 0, 0};
	struct Case {
		const char *what;
		Bytes bytes;
	} cases[] = {
		{"duplicate name", FlatBuilder('x', 2)
			.Field(B_INT32_TYPE, 1, "n", {one})
			.Field(B_INT32_TYPE, 1, "n", {one}).Done()},
		{"name holding a NUL", FlatBuilder('x', 1)
			.Field(B_INT32_TYPE, 1, std::string("a\0b", 3), {one}).Done()},
		{"field without values", FlatBuilder('x', 1)
			.Field(B_INT32_TYPE, 1, "n", {}).Done()},
		{"unknown flag", FlatBuilder('x', 1)
			.Field(B_INT32_TYPE, 3, "n", {one}).Done()},
		{"any type", FlatBuilder('x', 1)
			.Field(B_ANY_TYPE, 0, "n", {one}).Done()},
		{"fixed size of two sizes", FlatBuilder('x', 1)
			.Field(B_RAW_TYPE, 1, "n", {one, {1}}).Done()},
		{"nested bytes not a message", FlatBuilder('x', 1)
			.Field(B_MESSAGE_TYPE, 0, "m", {one}).Done()},
		{"more fields than declared", FlatBuilder('x', 0)
			.Field(B_INT32_TYPE, 1, "n", {one}).Done()},
		{"fewer fields than declared", FlatBuilder('x', 2)
			.Field(B_INT32_TYPE, 1, "n", {one}).Done()},
		{"huge field count", FlatBuilder('x', 0xffffffff)
			.Field(B_INT32_TYPE, 1, "n", {one}).Done()},
		{"huge value count", FlatBuilder('x', 1)
			.Raw({'G', 'N', 'O', 'L', 1, 1, 'n', 0xff, 0xff, 0xff, 0x7f})
			.Done()},
		{"huge value length", FlatBuilder('x', 1)
			.Raw({'T', 'W', 'A', 'R', 0, 1, 'n', 1, 0, 0, 0,
				0xf0, 0xff, 0xff, 0xff}).Done()},
	};
	for (const Case &test : cases) {
		ExpectRefused(test.bytes, B_BAD_VALUE, test.what);
		// The buffer form goes through the same checks.
		BMessage target(fTarget);
		EXPECT_EQ(B_BAD_VALUE, target.Unflatten(
			reinterpret_cast<const char *>(test.bytes.data()))) << test.what;
		EXPECT_EQ(fBefore, Flattened(target)) << test.what;
	}
}

TEST_F(MessageUnflattenCorruptTest, WrongMagicOrVersion)
{
	Bytes notMessage = fValid;
	memcpy(notMessage.data(), "PNG!", 4);
	ExpectRefused(notMessage, B_NOT_A_MESSAGE, "magic");
	EXPECT_EQ(B_NOT_A_MESSAGE, fTarget.Unflatten(
		reinterpret_cast<const char *>(notMessage.data())));

	Bytes newer = fValid;
	newer[4] = 2;
	ExpectRefused(newer, B_BAD_VALUE, "version");
	EXPECT_EQ(B_BAD_VALUE, fTarget.Unflatten((const char *)NULL));
	EXPECT_EQ(B_BAD_VALUE, fTarget.Unflatten((BDataIO *)NULL));
	EXPECT_EQ(fBefore, Flattened(fTarget));
}

TEST_F(MessageUnflattenCorruptTest, HugeDeclaredSizeIsNotAllocated)
{
	// A header that declares the largest accepted size, then stops.
	Bytes header(fValid.begin(), fValid.begin() + kHeaderSize + 16);
	const uint32 declared = 16 * 1024 * 1024;
	for (int i = 0; i < 4; i++) {
		header[8 + i] = (uint8)(declared >> (8 * i));
	}
	sLargestAllocation = 0;
	ExpectRefused(header, B_BAD_VALUE, "16 MiB declared");
	EXPECT_LT(sLargestAllocation, (size_t)1024 * 1024);

	// Beyond the cap, refused from the header alone.
	header[11] = 0xff;
	ExpectRefused(header, B_BAD_VALUE, "4 GiB declared");
}

TEST_F(MessageUnflattenCorruptTest, NestingBeyondTheLimitIsRefused)
{
	Bytes nested = FlatBuilder('leaf', 0).Done();
	int32 depth = 0;
	for (; depth < 64; depth++) {
		BMessage check;
		if (UnflattenStream(check, nested) != B_OK) {
			break;
		}
		nested = FlatBuilder('wrap', 1)
			.Field(B_MESSAGE_TYPE, 0, "m", {nested}).Done();
	}
	EXPECT_GE(depth, 16);
	EXPECT_LT(depth, 64);
	ExpectRefused(nested, B_BAD_VALUE, "too deep");
}

TEST_F(MessageUnflattenCorruptTest, UnterminatedStringIsKeptButNotFound)
{
	Bytes bytes = FlatBuilder('x', 1)
		.Field(B_STRING_TYPE, 0, "s", {{'a', 'b'}, {}}).Done();
	BMessage message;
	ASSERT_EQ(B_OK, UnflattenStream(message, bytes));
	const char *text = NULL;
	EXPECT_EQ(B_BAD_DATA, message.FindString("s", &text));
	EXPECT_EQ(B_BAD_DATA, message.FindString("s", 1, &text));
	EXPECT_EQ(NULL, text);
}
