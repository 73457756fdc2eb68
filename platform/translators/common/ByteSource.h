// Reading a stream front to back through a buffer of its own, at an offset
// of its own: ReadAt never moves the stream, so a second ByteSource may look
// ahead (a JPEG's entropy-coded bytes, a plain PNM's samples) while a decoder
// holds the first. A read error ends the data like the end of the stream and
// is kept in Error().
#ifndef QUORVEL_BYTE_SOURCE_H
#define QUORVEL_BYTE_SOURCE_H

#include <vector>

#include <DataIO.h>

class ByteSource {
public:
	explicit ByteSource(BPositionIO *stream, uint64 start = 0);

	// The bytes buffered at Position(), refilled first when none are left;
	// 0 at the end of the stream.
	size_t Available() { return fNext < fEnd ? fEnd - fNext : Refill(); }
	// The bytes buffered at Position(), without reading more.
	size_t Buffered() const { return fEnd - fNext; }
	const uint8 *Data() const { return fBuffer.data() + fNext; }
	void Consume(size_t count) { fNext += count; }

	// The next byte, or -1 at the end.
	int Next()
	{
		if (fNext == fEnd && Available() == 0) {
			return -1;
		}
		return fBuffer[fNext++];
	}

	// Copies up to size bytes; fewer only at the end of the stream.
	size_t Read(void *out, size_t size);
	// The next count bytes in one piece in the buffer, which grows to
	// hold them, valid until the next call; NULL when the stream ends
	// first. Consume them to move on. A row read this way is not copied
	// once more on its way to the decoder.
	const uint8 *Contiguous(size_t count);
	// Passes over count bytes without reading them; false when the stream
	// ends first (as far as its size is known).
	bool Skip(uint64 count);
	// Goes to an offset, before or after Position(), keeping the buffered
	// bytes when it is among them.
	void Seek(uint64 position);

	// The offset in the stream of the next byte.
	uint64 Position() const { return fBufferStart + fNext; }
	// The bytes from Position() to the end; false when the stream cannot
	// tell its size.
	bool Remaining(uint64 *count) const;
	status_t Error() const { return fError; }

private:
	size_t Refill();

	BPositionIO *fStream;
	std::vector<uint8> fBuffer;
	// fBuffer[fNext, fEnd) holds the stream's bytes from fBufferStart + fNext.
	uint64 fBufferStart;
	size_t fNext = 0;
	size_t fEnd = 0;
	status_t fError = B_OK;
	bool fAtEnd = false;
};

#endif // QUORVEL_BYTE_SOURCE_H
