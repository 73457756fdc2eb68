// A bitmap stream handed from the translator that reads a picture to the
// one that writes it while the first is still making it: the rows pass
// through a window of a few megabytes instead of a bitmap the size of the
// picture, which is never made (nor its pages cleared, filled and read back).
// The reading translator writes from one thread, the writing translator
// reads from another.
//
// Until the writing translator starts (StartPassing) every byte is kept:
// the roster's Identify calls read the start of the stream again and again
// (and see it end with the window, should one read further).
// From then on the stream is read once, front to back, as the Pilot image
// translator reads it; what it has read is let go, and the reading thread
// waits while the window is full. A read before what was let go fails.
//
// The header goes through a PictureStream first, which takes or refuses
// it as the picture's bitmap stream would (the pixel limit, a header no
// bitmap can hold), and tells what it describes.
#ifndef QUORVEL_HOST_PICTURE_PIPE_H
#define QUORVEL_HOST_PICTURE_PIPE_H

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include <DataIO.h>

#include "PictureStream.h"

class PicturePipe : public BPositionIO {
public:
	explicit PicturePipe(uint64 maxPixels);

	// Whether a picture of that many pixels is worth a pipe: one whose
	// 32-bit bitmap would be larger than the window. A smaller one costs
	// less as a bitmap than a thread and the handing over.
	static bool Pays(uint64 pixels) { return pixels * 4 > kWindow; }

	// The reading translator's side. Writes come in order (Write appends,
	// whatever the writer's position); a write that would leave a gap, or
	// that comes after Abort, fails.
	virtual ssize_t Write(const void *buffer, size_t size);
	virtual ssize_t WriteAt(off_t position, const void *buffer, size_t size);
	// The reading translator is done, whatever its status: reads past the
	// end no longer wait.
	void Finish();

	// The writing side. Waits until the header has been taken (true), or
	// refused or never written (false; the reader has finished then).
	bool WaitForHeader();
	// What the header said, once WaitForHeader has returned.
	const PictureStream &Header() const { return fHeader; }
	void StartPassing();
	// The writer gave up: the reader's writes fail from now on. Whether
	// the reader had finished before.
	bool Abort();
	// The writer is done: the reader's writes are taken and dropped.
	void Drain();

	// Reads wait for the bytes, or for the reader to finish.
	virtual ssize_t Read(void *buffer, size_t size);
	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;
	// The whole stream's length, as its header describes it.
	virtual status_t GetSize(off_t *size) const;
	virtual status_t SetSize(off_t size);

private:
	static const size_t kChunk = 256 * 1024;
	static const size_t kWindow = 4 * 1024 * 1024;

	size_t Room() const;
	uint8 *Kept(uint64 position, size_t size, size_t *count);
	off_t StreamSize() const;
	ssize_t Append(const uint8 *bytes, size_t size);
	void LetGoBefore(uint64 position);

	mutable std::mutex fLock;
	std::condition_variable fChanged;
	PictureStream fHeader;
	bool fHeaderDecided = false;
	bool fHeaderTaken = false;
	// Bytes [fFirst, fEnd) of the stream, in chunks of kChunk.
	std::deque<std::vector<uint8>> fChunks;
	std::vector<std::vector<uint8>> fSpare;
	uint64 fFirst = 0;
	uint64 fEnd = 0;
	uint64 fPosition = 0;
	// The end of the latest read, which may lie past the window.
	uint64 fWanted = 0;
	bool fPassing = false;
	bool fFinished = false;
	bool fAborted = false;
	bool fDraining = false;
};

#endif // QUORVEL_HOST_PICTURE_PIPE_H
