// The pipe between the translator that reads a picture and the one that
// writes it, each on a thread of its own: every byte arrives in order, the
// reading side waits while the writer does not read (what the pipe holds is
// bounded), a row longer than the window still passes, the roster's
// identify reads never wait for more than the window, and either side
// giving up frees the other.
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "ImageFiles.h"
#include "PicturePipe.h"

namespace {

const uint64 kNoLimit = (uint64)1 << 40;

// A B_RGB32 stream of width x height pixels of a repeating pattern.
Bytes PictureStreamBytes(uint32 width, uint32 height)
{
	Bytes pixels((size_t)width * height * 4);
	for (size_t i = 0; i < pixels.size(); i++) {
		pixels[i] = (uint8)(i * 7 + i / 4099);
	}
	return MakeBitmapStream(B_RGB32, width - 1, height - 1, width * 4,
		(uint32)pixels.size(), pixels);
}

// Writes the stream in pieces of uneven sizes, as translators write rows,
// then finishes; the status of the first refused write, or B_OK.
status_t WriteInPieces(PicturePipe &pipe, const Bytes &stream)
{
	status_t status = B_OK;
	for (size_t at = 0, piece = 32; at < stream.size() && status == B_OK;
			at += piece, piece = 1 + (piece * 37 + 1000) % 70000) {
		piece = std::min(piece, stream.size() - at);
		const ssize_t written = pipe.Write(stream.data() + at, piece);
		if (written != (ssize_t)piece) {
			status = written < 0 ? (status_t)written : B_ERROR;
		}
	}
	pipe.Finish();
	return status;
}

TEST(PicturePipe, PassesEveryByteInOrderAndHoldsOnlyItsWindow)
{
	const Bytes stream = PictureStreamBytes(2048, 2048);
	PicturePipe pipe(kNoLimit);
	std::atomic<bool> written(false);
	std::thread reader([&] {
		EXPECT_EQ(WriteInPieces(pipe, stream), B_OK);
		written = true;
	});
	ASSERT_TRUE(pipe.WaitForHeader());
	EXPECT_EQ(pipe.Header().Width(), 2048u);
	off_t size = 0;
	EXPECT_EQ(pipe.GetSize(&size), B_OK);
	EXPECT_EQ(size, (off_t)stream.size());

	// Identify reads: the start, again and again; far past the window, an
	// end at once.
	uint8 start[64];
	EXPECT_EQ(pipe.ReadAt(0, start, sizeof(start)), (ssize_t)sizeof(start));
	EXPECT_EQ(pipe.ReadAt(0, start, sizeof(start)), (ssize_t)sizeof(start));
	uint8 far[16];
	EXPECT_EQ(pipe.ReadAt(12 << 20, far, sizeof(far)), 0);

	// The 16 MiB cannot all be held while nothing is read.
	pipe.StartPassing();
	std::this_thread::sleep_for(std::chrono::milliseconds(200));
	EXPECT_FALSE(written);

	// Nor once part of it has been read and let go.
	Bytes passed(stream.size());
	ASSERT_EQ(pipe.Seek(0, SEEK_SET), 0);
	for (size_t at = 0; at < passed.size(); at += 8192) {
		const size_t row = std::min((size_t)8192, passed.size() - at);
		ASSERT_EQ(pipe.Read(passed.data() + at, row), (ssize_t)row);
		if (at == (size_t)6 << 20) {
			std::this_thread::sleep_for(std::chrono::milliseconds(200));
			EXPECT_FALSE(written);
		}
	}
	reader.join();
	EXPECT_TRUE(passed == stream);
	// What was let go cannot be read again.
	EXPECT_LT(pipe.ReadAt(0, start, sizeof(start)), 0);
}

TEST(PicturePipe, RowsLongerThanTheWindowPass)
{
	// Two rows of 8 MiB each.
	const Bytes stream = PictureStreamBytes(2 << 20, 2);
	PicturePipe pipe(kNoLimit);
	std::thread reader([&] { EXPECT_EQ(WriteInPieces(pipe, stream), B_OK); });
	ASSERT_TRUE(pipe.WaitForHeader());
	pipe.StartPassing();
	Bytes passed(stream.size());
	ASSERT_EQ(pipe.Read(passed.data(), 32), 32);
	const size_t row = 8 << 20;
	ASSERT_EQ(pipe.Read(passed.data() + 32, row), (ssize_t)row);
	ASSERT_EQ(pipe.Read(passed.data() + 32 + row, row), (ssize_t)row);
	reader.join();
	EXPECT_TRUE(passed == stream);
}

TEST(PicturePipe, EitherSideGivingUpFreesTheOther)
{
	const Bytes stream = PictureStreamBytes(2048, 2048);

	// The writer gives up: the reader, waiting with the window full, is
	// refused.
	PicturePipe abandoned(kNoLimit);
	status_t status = B_OK;
	std::thread reader([&] { status = WriteInPieces(abandoned, stream); });
	ASSERT_TRUE(abandoned.WaitForHeader());
	abandoned.StartPassing();
	EXPECT_FALSE(abandoned.Abort());
	reader.join();
	EXPECT_EQ(status, B_CANCELED);

	// The reader stops short: the writer's read ends with what came.
	PicturePipe cut(kNoLimit);
	const Bytes part(stream.begin(), stream.begin() + 100000);
	std::thread shortReader([&] { WriteInPieces(cut, part); });
	ASSERT_TRUE(cut.WaitForHeader());
	cut.StartPassing();
	Bytes passed(stream.size());
	EXPECT_EQ(cut.Read(passed.data(), passed.size()), (ssize_t)part.size());
	shortReader.join();
	EXPECT_TRUE(cut.Abort()) << "the reader had finished";

	// A header over the pixel limit is refused as the bitmap stream
	// refuses it, and the writer hears of it.
	PicturePipe limited(1000);
	std::thread refused([&] { status = WriteInPieces(limited, stream); });
	EXPECT_FALSE(limited.WaitForHeader());
	refused.join();
	EXPECT_LT(status, 0);
	EXPECT_TRUE(limited.Header().OverLimit());
}

} // namespace
