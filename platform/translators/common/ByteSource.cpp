#include "ByteSource.h"

#include <string.h>

namespace {

// Large enough that a file is read in few calls, small enough to be no
// concern beside any picture.
const size_t kBufferSize = 64 * 1024;

} // namespace

ByteSource::ByteSource(BPositionIO *stream, uint64 start)
	: fStream(stream), fBuffer(kBufferSize), fBufferStart(start)
{
}

size_t ByteSource::Refill()
{
	if (fAtEnd) {
		return 0;
	}
	fBufferStart += fEnd;
	fNext = fEnd = 0;
	ssize_t count = fStream->ReadAt((off_t)fBufferStart, fBuffer.data(),
		fBuffer.size());
	if (count <= 0) {
		fAtEnd = true;
		if (count < 0) {
			fError = (status_t)count;
		}
		return 0;
	}
	fEnd = (size_t)count;
	return fEnd;
}

size_t ByteSource::Read(void *out, size_t size)
{
	uint8 *to = static_cast<uint8 *>(out);
	size_t done = 0;
	while (done < size) {
		size_t available = Available();
		if (available == 0) {
			break;
		}
		size_t count = available < size - done ? available : size - done;
		memcpy(to + done, Data(), count);
		Consume(count);
		done += count;
	}
	return done;
}

const uint8 *ByteSource::Contiguous(size_t count)
{
	if (fEnd - fNext >= count) {
		return Data();
	}
	// The bytes left go to the front, and the rest of the buffer is
	// filled behind them.
	size_t kept = fEnd - fNext;
	memmove(fBuffer.data(), Data(), kept);
	fBufferStart += fNext;
	fNext = 0;
	fEnd = kept;
	if (fBuffer.size() < count) {
		fBuffer.resize(count);
	}
	while (fEnd < count && !fAtEnd) {
		ssize_t got = fStream->ReadAt((off_t)(fBufferStart + fEnd),
			fBuffer.data() + fEnd, fBuffer.size() - fEnd);
		if (got <= 0) {
			fAtEnd = true;
			if (got < 0) {
				fError = (status_t)got;
			}
			break;
		}
		fEnd += (size_t)got;
	}
	return fEnd >= count ? Data() : NULL;
}

bool ByteSource::Skip(uint64 count)
{
	if (count <= fEnd - fNext) {
		fNext += (size_t)count;
		return true;
	}
	// Beyond the buffer: move the window instead of reading through.
	uint64 target = Position() + count;
	fBufferStart = target;
	fNext = fEnd = 0;
	fAtEnd = false;
	off_t size;
	if (fStream->GetSize(&size) == B_OK && (uint64)size < target) {
		fAtEnd = true;
		return false;
	}
	return true;
}

void ByteSource::Seek(uint64 position)
{
	if (position >= fBufferStart && position <= fBufferStart + fEnd) {
		fNext = (size_t)(position - fBufferStart);
		return;
	}
	fBufferStart = position;
	fNext = fEnd = 0;
	fAtEnd = false;
}

bool ByteSource::Remaining(uint64 *count) const
{
	off_t size;
	if (fStream->GetSize(&size) != B_OK || size < 0) {
		return false;
	}
	*count = (uint64)size > Position() ? (uint64)size - Position() : 0;
	return true;
}
