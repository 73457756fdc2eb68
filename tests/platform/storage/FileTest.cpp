#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <File.h>

namespace {

// Each test works in a fresh folder under the system's temporary folder.
class FileTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		const char *base = getenv("TMPDIR");
		std::string pattern = std::string(base != NULL ? base : "/tmp")
			+ "/quorvel-file-XXXXXX";
		ASSERT_NE(nullptr, mkdtemp(&pattern[0]));
		fFolder = pattern;
	}

	void TearDown() override
	{
		std::string command = "rm -rf '" + fFolder + "'";
		EXPECT_EQ(0, system(command.c_str()));
	}

	std::string PathOf(const char *name) const
	{
		return fFolder + "/" + name;
	}

	std::string fFolder;
};

TEST_F(FileTest, OpeningFailuresSayWhy)
{
	BFile missing(PathOf("missing").c_str(), B_READ_ONLY);
	EXPECT_EQ(B_ENTRY_NOT_FOUND, missing.InitCheck());
	EXPECT_FALSE(missing.IsReadable());
	char byte;
	EXPECT_EQ(B_ENTRY_NOT_FOUND, missing.Read(&byte, 1));

	BFile folder(fFolder.c_str(), B_READ_ONLY);
	EXPECT_EQ(B_IS_A_DIRECTORY, folder.InitCheck());
	EXPECT_EQ(B_IS_A_DIRECTORY, folder.SetTo(fFolder.c_str(), B_READ_WRITE));

	std::string path = PathOf("exists");
	BFile created(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE);
	ASSERT_EQ(B_OK, created.InitCheck());
	BFile again(path.c_str(),
		B_WRITE_ONLY | B_CREATE_FILE | B_FAIL_IF_EXISTS);
	EXPECT_EQ(B_FILE_EXISTS, again.InitCheck());

	BFile unset;
	EXPECT_EQ(B_NO_INIT, unset.InitCheck());
	EXPECT_EQ(B_NO_INIT, unset.Write("x", 1));
}

// As on the platform, a file's status and closing belong to its node.
TEST_F(FileTest, UnsetThroughTheNodeClosesTheFile)
{
	std::string path = PathOf("node");
	BFile file(path.c_str(), B_READ_WRITE | B_CREATE_FILE);
	ASSERT_EQ(B_OK, file.InitCheck());
	BNode &node = file;
	node.Unset();
	EXPECT_EQ(B_NO_INIT, file.InitCheck());
	EXPECT_FALSE(file.IsWritable());
	EXPECT_EQ(B_NO_INIT, file.Write("x", 1));

	ASSERT_EQ(B_OK, file.SetTo(path.c_str(), B_READ_ONLY));
	EXPECT_EQ(B_OK, node.InitCheck());
	EXPECT_TRUE(file.IsReadable());
	EXPECT_FALSE(file.IsWritable());
}

TEST_F(FileTest, UnreadableFileIsPermissionDenied)
{
	if (geteuid() == 0) {
		GTEST_SKIP() << "root may read any file";
	}
	std::string path = PathOf("locked");
	{
		BFile file(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE);
		ASSERT_EQ(B_OK, file.InitCheck());
	}
	ASSERT_EQ(0, chmod(path.c_str(), 0));
	BFile file(path.c_str(), B_READ_ONLY);
	EXPECT_EQ(B_PERMISSION_DENIED, file.InitCheck());
}

TEST_F(FileTest, WrittenBytesReadBack)
{
	std::string path = PathOf("image.pdb");
	{
		BFile file(path.c_str(), B_READ_WRITE | B_CREATE_FILE);
		ASSERT_EQ(B_OK, file.InitCheck());
		EXPECT_TRUE(file.IsWritable());
		ASSERT_EQ(6, file.Write("header", 6));
		ASSERT_EQ(4, file.WriteAt(10, "data", 4));
		EXPECT_EQ(6, file.Position());
		EXPECT_EQ(B_OK, file.Sync());
		off_t size = 0;
		ASSERT_EQ(B_OK, file.GetSize(&size));
		EXPECT_EQ(14, size);
	}

	BFile file(path.c_str(), B_READ_ONLY);
	ASSERT_EQ(B_OK, file.InitCheck());
	EXPECT_FALSE(file.IsWritable());
	char buffer[20] = {};
	EXPECT_EQ(14, file.Read(buffer, sizeof(buffer)));
	EXPECT_EQ(0, memcmp("header\0\0\0\0data", buffer, 14));
	EXPECT_EQ(0, file.Read(buffer, 1));

	EXPECT_EQ(2, file.Seek(-12, SEEK_END));
	EXPECT_EQ(B_BAD_VALUE, file.Seek(-1, SEEK_SET));
	EXPECT_EQ(2, file.Position());
	EXPECT_EQ(2, file.ReadAt(12, buffer, 5));
	EXPECT_EQ(B_BAD_VALUE, file.ReadAt(-1, buffer, 1));
	EXPECT_LT(file.Write("x", 1), 0);
}

TEST_F(FileTest, OpenModesEraseAndAppend)
{
	std::string path = PathOf("modes");
	{
		BFile file(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE);
		ASSERT_EQ(5, file.Write("first", 5));
	}
	{
		BFile file(path.c_str(), B_WRITE_ONLY | B_OPEN_AT_END);
		ASSERT_EQ(4, file.Write("+end", 4));
	}
	off_t size = 0;
	{
		BFile file(path.c_str(), B_READ_WRITE);
		char text[9];
		ASSERT_EQ(9, file.Read(text, 9));
		EXPECT_EQ(0, memcmp("first+end", text, 9));
		ASSERT_EQ(B_OK, file.SetSize(3));
		ASSERT_EQ(B_OK, file.GetSize(&size));
		EXPECT_EQ(3, size);
	}
	BFile file(path.c_str(), B_READ_WRITE | B_ERASE_FILE);
	ASSERT_EQ(B_OK, file.GetSize(&size));
	EXPECT_EQ(0, size);
}

// A pipe hands its bytes over in the pieces they were written in; Read
// waits for the whole count, and returns what came when the writer closes
// early.
TEST_F(FileTest, ReadCollectsTheWholeCount)
{
	std::string path = PathOf("pipe");
	ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
	std::thread writer([&] {
		int descriptor = open(path.c_str(), O_WRONLY);
		ASSERT_GE(descriptor, 0);
		const char *pieces[] = {"Pal", "mPi", "lot"};
		for (const char *piece : pieces) {
			EXPECT_EQ(3, write(descriptor, piece, 3));
			usleep(10000);
		}
		close(descriptor);
	});

	BFile file(path.c_str(), B_READ_ONLY);
	ASSERT_EQ(B_OK, file.InitCheck());
	char text[8];
	EXPECT_EQ(8, file.Read(text, sizeof(text)));
	EXPECT_EQ(0, memcmp("PalmPilo", text, 8));
	EXPECT_EQ(1, file.Read(text, sizeof(text)));
	writer.join();
}

} // namespace
