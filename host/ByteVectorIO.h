// A positionable stream that a translator writes its output into: the
// bytes grow in a ByteVector that the caller then takes whole, rather
// than being copied out of a BMallocIO afterwards.
#ifndef QUORVEL_HOST_BYTE_VECTOR_IO_H
#define QUORVEL_HOST_BYTE_VECTOR_IO_H

#include <vector>

#include <DataIO.h>

typedef std::vector<uint8> ByteVector;

class ByteVectorIO : public BPositionIO {
public:
	ByteVectorIO() {}
	// Room for expected bytes from the start, so that an output of about
	// that size is never copied as it grows. Memory not written to is
	// never touched; without room for it, the stream grows as it is
	// written.
	explicit ByteVectorIO(size_t expected);

	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size);
	// A write past the end fills the gap with zeros. Out of memory gives
	// B_NO_MEMORY.
	virtual ssize_t WriteAt(off_t position, const void *buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const { return fPosition; }
	virtual status_t SetSize(off_t size);

	// The bytes written; the stream is empty afterwards.
	ByteVector TakeBytes();

private:
	ByteVector fBytes;
	off_t fPosition = 0;
};

#endif // QUORVEL_HOST_BYTE_VECTOR_IO_H
