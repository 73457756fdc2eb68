#include <string.h>

#include <limits>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <DataIO.h>

#include "TestStreams.h"

// Huge allocations must come back as B_NO_MEMORY; the sanitizers would
// otherwise stop the test at the failed allocation.
extern "C" const char *__asan_default_options()
{
	return "allocator_may_return_null=1";
}

extern "C" const char *__tsan_default_options()
{
	return "allocator_may_return_null=1";
}

namespace {

const off_t kMaxOffset = std::numeric_limits<off_t>::max();

std::string ReadString(BPositionIO &stream, size_t size)
{
	std::string text(size, '\0');
	ssize_t count = stream.Read(&text[0], size);
	text.resize(count > 0 ? (size_t)count : 0);
	return text;
}

TEST(MemoryIO, WriteReachingTheEndIsCutShort)
{
	char buffer[8] = "abcdefg";
	BMemoryIO stream(buffer, 6);

	ASSERT_EQ(4, stream.Seek(4, SEEK_SET));
	EXPECT_EQ(2, stream.Write("XYZ", 3));
	EXPECT_EQ(6, stream.Position());
	EXPECT_EQ(0, stream.Write("Q", 1));
	EXPECT_EQ(0, stream.WriteAt(100, "Q", 1));
	EXPECT_STREQ("abcdXYg", buffer);
}

TEST(MemoryIO, ReadOnlyStreamRefusesWrites)
{
	const char text[] = "pilot";
	BMemoryIO stream(static_cast<const void *>(text), 5);

	EXPECT_EQ(B_NOT_ALLOWED, stream.Write("x", 1));
	EXPECT_EQ(B_NOT_ALLOWED, stream.SetSize(2));
	EXPECT_EQ(0, stream.Position());
	EXPECT_EQ("pilot", ReadString(stream, 10));
}

TEST(MemoryIO, SetSizeStaysWithinTheBuffer)
{
	char buffer[4] = {'a', 'b', 'c', 'd'};
	BMemoryIO stream(buffer, 4);

	ASSERT_EQ(B_OK, stream.SetSize(2));
	EXPECT_EQ("ab", ReadString(stream, 4));
	EXPECT_EQ(B_ERROR, stream.SetSize(5));
	EXPECT_EQ(B_BAD_VALUE, stream.SetSize(-1));
	off_t size = -1;
	ASSERT_EQ(B_OK, stream.GetSize(&size));
	EXPECT_EQ(2, size);
}

// Both memory streams share these rules, so each test runs on both.
class SeekTest : public ::testing::TestWithParam<bool> {
protected:
	void SetUp() override
	{
		if (GetParam()) {
			fStream.reset(new BMemoryIO(
				static_cast<const void *>(fText), 10));
		} else {
			BMallocIO *stream = new BMallocIO;
			stream->Write(fText, 10);
			stream->Seek(0, SEEK_SET);
			fStream.reset(stream);
		}
	}

	const char fText[11] = "0123456789";
	std::unique_ptr<BPositionIO> fStream;
};

TEST_P(SeekTest, ModesReturnTheNewPosition)
{
	EXPECT_EQ(3, fStream->Seek(3, SEEK_SET));
	EXPECT_EQ(5, fStream->Seek(2, SEEK_CUR));
	EXPECT_EQ(4, fStream->Seek(-1, SEEK_CUR));
	EXPECT_EQ(8, fStream->Seek(-2, SEEK_END));
	EXPECT_EQ("89", ReadString(*fStream, 5));
	EXPECT_EQ(10, fStream->Position());
}

TEST_P(SeekTest, BadSeekKeepsThePosition)
{
	ASSERT_EQ(4, fStream->Seek(4, SEEK_SET));
	EXPECT_EQ(B_BAD_VALUE, fStream->Seek(-1, SEEK_SET));
	EXPECT_EQ(B_BAD_VALUE, fStream->Seek(-5, SEEK_CUR));
	EXPECT_EQ(B_BAD_VALUE, fStream->Seek(-11, SEEK_END));
	EXPECT_EQ(B_BAD_VALUE, fStream->Seek(kMaxOffset, SEEK_END));
	EXPECT_EQ(B_BAD_VALUE, fStream->Seek(1, 99));
	EXPECT_EQ(4, fStream->Position());
}

TEST_P(SeekTest, ReadsPastTheEndGiveNothing)
{
	EXPECT_EQ(20, fStream->Seek(20, SEEK_SET));
	char byte = 'x';
	EXPECT_EQ(0, fStream->Read(&byte, 1));
	EXPECT_EQ(0, fStream->ReadAt(kMaxOffset, &byte, 1));
	EXPECT_EQ(B_BAD_VALUE, fStream->ReadAt(-1, &byte, 1));
	EXPECT_EQ(20, fStream->Position());
	EXPECT_EQ('x', byte);

	// A read that reaches the end returns what there was.
	char tail[8];
	EXPECT_EQ(3, fStream->ReadAt(7, tail, sizeof(tail)));
	EXPECT_EQ(0, memcmp("789", tail, 3));
}

TEST_P(SeekTest, GetSizeLeavesThePositionAlone)
{
	ASSERT_EQ(6, fStream->Seek(6, SEEK_SET));
	off_t size = 0;
	ASSERT_EQ(B_OK, fStream->GetSize(&size));
	EXPECT_EQ(10, size);
	EXPECT_EQ(6, fStream->Position());
}

INSTANTIATE_TEST_SUITE_P(MemoryStreams, SeekTest, ::testing::Bool(),
	[](const ::testing::TestParamInfo<bool> &info) {
		return std::string(info.param ? "MemoryIO" : "MallocIO");
	});

TEST(MallocIO, WritePastTheEndFillsTheGapWithZeros)
{
	BMallocIO stream;
	ASSERT_EQ(2, stream.Write("ab", 2));
	ASSERT_EQ(5, stream.Seek(5, SEEK_SET));
	ASSERT_EQ(2, stream.Write("yz", 2));

	EXPECT_EQ((Bytes{'a', 'b', 0, 0, 0, 'y', 'z'}), BytesOf(stream));
	EXPECT_EQ(7, stream.Position());
}

// Shrinking and growing again must not bring old bytes back.
TEST(MallocIO, SetSizeGrowsWithZeros)
{
	BMallocIO stream;
	stream.SetBlockSize(64);
	ASSERT_EQ(6, stream.Write("secret", 6));
	ASSERT_EQ(B_OK, stream.SetSize(1));
	ASSERT_EQ(B_OK, stream.SetSize(4));
	EXPECT_EQ((Bytes{'s', 0, 0, 0}), BytesOf(stream));

	ASSERT_EQ(B_OK, stream.SetSize(0));
	EXPECT_EQ(0u, stream.BufferLength());
	EXPECT_EQ(B_BAD_VALUE, stream.SetSize(-1));
}

TEST(MallocIO, GrowsAcrossManyBlocks)
{
	BMallocIO stream;
	stream.SetBlockSize(3);
	Bytes expected;
	for (int i = 0; i < 1000; i++) {
		uint8 byte = (uint8)(i * 7);
		ASSERT_EQ(1, stream.Write(&byte, 1));
		expected.push_back(byte);
	}
	EXPECT_EQ(expected, BytesOf(stream));
}

TEST(MallocIO, HugeSizesFailWithoutHarm)
{
	BMallocIO stream;
	ASSERT_EQ(3, stream.Write("abc", 3));

	EXPECT_EQ(B_NO_MEMORY, stream.WriteAt((off_t)1 << 56, "x", 1));
	EXPECT_EQ(B_NO_MEMORY, stream.SetSize(kMaxOffset));
	EXPECT_EQ(B_BAD_VALUE, stream.WriteAt(kMaxOffset, "x", 1));
	EXPECT_EQ(B_BAD_VALUE, stream.WriteAt(kMaxOffset - 1, "xyz", 3));
	EXPECT_EQ((Bytes{'a', 'b', 'c'}), BytesOf(stream));
}

// Read and Write of the base class go through the subclass's ReadAt and
// WriteAt and advance by what they transferred.
TEST(PositionIO, WriteAdvancesByTheCountTheSubclassTook)
{
	LimitedWriteIO stream(5);
	EXPECT_EQ(3, stream.Write("abc", 3));
	EXPECT_EQ(2, stream.Write("defg", 4));
	EXPECT_EQ(5, stream.Position());
	EXPECT_EQ(0, stream.Write("h", 1));
	EXPECT_EQ(3, stream.WriteCalls());
	EXPECT_EQ((Bytes{'a', 'b', 'c', 'd', 'e'}), BytesOf(stream));
}

} // namespace
