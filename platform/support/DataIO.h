// Byte streams: the abstract BDataIO and BPositionIO, and two streams over
// memory, BMemoryIO (a fixed buffer the caller owns) and BMallocIO (a
// buffer that grows as it is written).
#ifndef _DATA_IO_H
#define _DATA_IO_H

#include <stdio.h>

#include <SupportDefs.h>

class BDataIO {
public:
	BDataIO();
	virtual ~BDataIO();

	// Both return the count of bytes transferred, or a negative status.
	// Pure, as on the original platform; the later kits give both a body
	// that fails, for streams that only read or only write. A stream that
	// implements both, as it must here, builds against either.
	virtual ssize_t Read(void *buffer, size_t size) = 0;
	virtual ssize_t Write(const void *buffer, size_t size) = 0;

private:
	BDataIO(const BDataIO &);
	BDataIO &operator=(const BDataIO &);
};

class BPositionIO : public BDataIO {
public:
	BPositionIO();
	virtual ~BPositionIO();

	// Read and Write work at Position() and advance it.
	virtual ssize_t Read(void *buffer, size_t size);
	virtual ssize_t Write(const void *buffer, size_t size);

	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size) = 0;
	virtual ssize_t WriteAt(off_t position, const void *buffer,
		size_t size) = 0;

	// seekMode is SEEK_SET, SEEK_CUR or SEEK_END. Returns the new
	// position, or a negative status (and the position is unchanged).
	virtual off_t Seek(off_t position, uint32 seekMode) = 0;
	virtual off_t Position() const = 0;

	virtual status_t SetSize(off_t size);
	virtual status_t GetSize(off_t *size) const;
};

class BMemoryIO : public BPositionIO {
public:
	// A writable stream over length bytes at data; writes never go past
	// length.
	BMemoryIO(void *data, size_t length);
	// A read-only stream: every write fails with B_NOT_ALLOWED.
	BMemoryIO(const void *data, size_t length);
	virtual ~BMemoryIO();

	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size);
	virtual ssize_t WriteAt(off_t position, const void *buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;
	// May shrink the stream, or grow it back up to the buffer's length.
	virtual status_t SetSize(off_t size);

private:
	bool fReadOnly;
	char *fBuffer;
	size_t fLength;
	size_t fBufferSize;
	off_t fPosition;
};

class BMallocIO : public BPositionIO {
public:
	BMallocIO();
	virtual ~BMallocIO();

	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size);
	virtual ssize_t WriteAt(off_t position, const void *buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;
	virtual status_t SetSize(off_t size);

	void SetBlockSize(size_t blockSize);
	const void *Buffer() const;
	size_t BufferLength() const;

private:
	size_t fBlockSize;
	size_t fMallocSize;
	size_t fLength;
	char *fData;
	off_t fPosition;
};

#endif // _DATA_IO_H
