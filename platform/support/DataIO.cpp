#include <DataIO.h>

#include <stdlib.h>
#include <string.h>

#include <limits>

#include <SeekTarget.h>

static const off_t kMaxOffset = std::numeric_limits<off_t>::max();
static const size_t kDefaultBlockSize = 256;

status_t BPrivate::SeekTarget(off_t offset, uint32 seekMode, off_t current,
	off_t length, off_t *target)
{
	off_t base;
	switch (seekMode) {
		case SEEK_SET:
			base = 0;
			break;
		case SEEK_CUR:
			base = current;
			break;
		case SEEK_END:
			base = length;
			break;
		default:
			return B_BAD_VALUE;
	}
	off_t result;
	if (__builtin_add_overflow(base, offset, &result) || result < 0) {
		return B_BAD_VALUE;
	}
	*target = result;
	return B_OK;
}

// How many of size bytes at position lie within length bytes; 0 at or past
// the end.
static size_t bytes_within(off_t position, size_t size, size_t length)
{
	if ((uint64)position >= length) {
		return 0;
	}
	return min_c(size, length - (size_t)position);
}


BDataIO::BDataIO()
{
}

BDataIO::~BDataIO()
{
}


BPositionIO::BPositionIO()
{
}

BPositionIO::~BPositionIO()
{
}

ssize_t BPositionIO::Read(void *buffer, size_t size)
{
	off_t position = Position();
	if (position < 0) {
		return (ssize_t)position;
	}
	ssize_t result = ReadAt(position, buffer, size);
	if (result > 0) {
		Seek(result, SEEK_CUR);
	}
	return result;
}

ssize_t BPositionIO::Write(const void *buffer, size_t size)
{
	off_t position = Position();
	if (position < 0) {
		return (ssize_t)position;
	}
	ssize_t result = WriteAt(position, buffer, size);
	if (result > 0) {
		Seek(result, SEEK_CUR);
	}
	return result;
}

status_t BPositionIO::SetSize(off_t)
{
	return B_ERROR;
}

// A stream that only knows how to seek learns its size from a seek to the
// end, then goes back to where it was.
status_t BPositionIO::GetSize(off_t *size) const
{
	if (size == NULL) {
		return B_BAD_VALUE;
	}
	BPositionIO *self = const_cast<BPositionIO *>(this);
	off_t current = Position();
	if (current < 0) {
		return (status_t)current;
	}
	off_t end = self->Seek(0, SEEK_END);
	if (end < 0) {
		return (status_t)end;
	}
	off_t back = self->Seek(current, SEEK_SET);
	if (back < 0) {
		return (status_t)back;
	}
	*size = end;
	return B_OK;
}


BMemoryIO::BMemoryIO(void *data, size_t length)
	: fReadOnly(false),
	  fBuffer(static_cast<char *>(data)),
	  fLength(length),
	  fBufferSize(length),
	  fPosition(0)
{
}

BMemoryIO::BMemoryIO(const void *data, size_t length)
	: fReadOnly(true),
	  fBuffer(const_cast<char *>(static_cast<const char *>(data))),
	  fLength(length),
	  fBufferSize(length),
	  fPosition(0)
{
}

BMemoryIO::~BMemoryIO()
{
}

ssize_t BMemoryIO::ReadAt(off_t position, void *buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	size_t count = bytes_within(position, size, fLength);
	if (count > 0) {
		memcpy(buffer, fBuffer + position, count);
	}
	return (ssize_t)count;
}

// The buffer is the caller's and has a fixed size: a write that reaches its
// end is cut short there, and the stream grows up to that size at most.
ssize_t BMemoryIO::WriteAt(off_t position, const void *buffer, size_t size)
{
	if (fReadOnly) {
		return B_NOT_ALLOWED;
	}
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	size_t count = bytes_within(position, size, fBufferSize);
	if (count > 0) {
		memcpy(fBuffer + position, buffer, count);
		size_t end = (size_t)position + count;
		if (end > fLength) {
			fLength = end;
		}
	}
	return (ssize_t)count;
}

off_t BMemoryIO::Seek(off_t position, uint32 seekMode)
{
	off_t target;
	status_t status = BPrivate::SeekTarget(position, seekMode, fPosition,
		(off_t)fLength, &target);
	if (status != B_OK) {
		return status;
	}
	fPosition = target;
	return fPosition;
}

off_t BMemoryIO::Position() const
{
	return fPosition;
}

status_t BMemoryIO::SetSize(off_t size)
{
	if (fReadOnly) {
		return B_NOT_ALLOWED;
	}
	if (size < 0) {
		return B_BAD_VALUE;
	}
	if ((uint64)size > fBufferSize) {
		return B_ERROR;
	}
	fLength = (size_t)size;
	return B_OK;
}


BMallocIO::BMallocIO()
	: fBlockSize(kDefaultBlockSize),
	  fMallocSize(0),
	  fLength(0),
	  fData(NULL),
	  fPosition(0)
{
}

BMallocIO::~BMallocIO()
{
	free(fData);
}

ssize_t BMallocIO::ReadAt(off_t position, void *buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	size_t count = bytes_within(position, size, fLength);
	if (count > 0) {
		memcpy(buffer, fData + position, count);
	}
	return (ssize_t)count;
}

// Grows the buffer to hold the write; bytes between the old end and a
// write that starts past it read as zeros.
ssize_t BMallocIO::WriteAt(off_t position, const void *buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	if (size == 0) {
		return 0;
	}
	// The count returned must fit in ssize_t and the new end in off_t.
	if (size > (size_t)std::numeric_limits<ssize_t>::max()
		|| (uint64)position > (uint64)(kMaxOffset - (off_t)size)) {
		return B_BAD_VALUE;
	}
	off_t end = position + (off_t)size;
	if ((uint64)end > fLength) {
		status_t status = SetSize(end);
		if (status != B_OK) {
			return status;
		}
	}
	memcpy(fData + position, buffer, size);
	return (ssize_t)size;
}

off_t BMallocIO::Seek(off_t position, uint32 seekMode)
{
	off_t target;
	status_t status = BPrivate::SeekTarget(position, seekMode, fPosition,
		(off_t)fLength, &target);
	if (status != B_OK) {
		return status;
	}
	fPosition = target;
	return fPosition;
}

off_t BMallocIO::Position() const
{
	return fPosition;
}

// The allocation is kept a whole number of blocks, so that a stream written
// in small pieces is not reallocated on every write.
status_t BMallocIO::SetSize(off_t size)
{
	if (size < 0) {
		return B_BAD_VALUE;
	}
	if ((uint64)size > std::numeric_limits<size_t>::max()) {
		return B_NO_MEMORY;
	}
	size_t newLength = (size_t)size;
	if (newLength == 0) {
		free(fData);
		fData = NULL;
		fMallocSize = 0;
		fLength = 0;
		return B_OK;
	}

	size_t newMallocSize;
	size_t blocks = newLength / fBlockSize + (newLength % fBlockSize != 0);
	if (__builtin_mul_overflow(blocks, fBlockSize, &newMallocSize)) {
		return B_NO_MEMORY;
	}
	if (newMallocSize != fMallocSize) {
		char *newData = static_cast<char *>(realloc(fData, newMallocSize));
		if (newData != NULL) {
			fData = newData;
			fMallocSize = newMallocSize;
		} else if (newMallocSize > fMallocSize) {
			return B_NO_MEMORY;
		}
		// A shrink that fails keeps the larger block, which still fits.
	}
	if (newLength > fLength) {
		memset(fData + fLength, 0, newLength - fLength);
	}
	fLength = newLength;
	return B_OK;
}

void BMallocIO::SetBlockSize(size_t blockSize)
{
	fBlockSize = blockSize > 0 ? blockSize : 1;
}

const void *BMallocIO::Buffer() const
{
	return fData;
}

size_t BMallocIO::BufferLength() const
{
	return fLength;
}
