#include "PicturePipe.h"

#include <string.h>

#include <algorithm>
#include <memory>

#include <Bitmap.h>
#include <SeekTarget.h>

namespace {

const size_t kHeaderBytes = 32;

} // namespace

PicturePipe::PicturePipe(uint64 maxPixels)
	: fHeader(maxPixels)
{
}

ssize_t PicturePipe::Write(const void *buffer, size_t size)
{
	off_t end;
	{
		std::lock_guard<std::mutex> locker(fLock);
		end = (off_t)fEnd;
	}
	// Only the reading thread appends, so the end is still there.
	return WriteAt(end, buffer, size);
}

ssize_t PicturePipe::WriteAt(off_t position, const void *buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	const uint8 *bytes = static_cast<const uint8 *>(buffer);
	std::unique_lock<std::mutex> locker(fLock);
	if (fDraining) {
		return (ssize_t)size;
	}
	if ((uint64)position != fEnd) {
		// Rewriting what is still kept, before the writer has started
		// (a translator that fills in its header last, say).
		if (fPassing || (uint64)position + size > fEnd) {
			return B_NOT_ALLOWED;
		}
		for (size_t done = 0; done < size;) {
			size_t count;
			uint8 *kept = Kept((uint64)position + done, size - done, &count);
			memcpy(kept, bytes + done, count);
			done += count;
		}
		return (ssize_t)size;
	}
	size_t done = 0;
	while (done < size) {
		fChanged.wait(locker, [this] { return fAborted || Room() > 0; });
		if (fAborted) {
			return B_CANCELED;
		}
		const size_t count = std::min(size - done, Room());
		const ssize_t appended = Append(bytes + done, count);
		if (appended < 0) {
			return appended;
		}
		done += count;
		fChanged.notify_all();
	}
	return (ssize_t)size;
}

// Called with the lock held: how much more may be kept now. The window,
// or as much as the writer is waiting for (a row longer than the window).
size_t PicturePipe::Room() const
{
	const uint64 kept = fEnd - fFirst;
	const uint64 waitedFor = fWanted > fFirst ? fWanted - fFirst : 0;
	const uint64 limit = std::max((uint64)kWindow, waitedFor);
	return kept < limit ? (size_t)(limit - kept) : 0;
}

// Called with the lock held.
ssize_t PicturePipe::Append(const uint8 *bytes, size_t size)
{
	for (size_t done = 0; done < size;) {
		if (fChunks.empty() || fChunks.back().size() == kChunk) {
			// A chunk let go is used again: its pages are already there,
			// and in the cache.
			if (fSpare.empty()) {
				fChunks.emplace_back();
				fChunks.back().reserve(kChunk);
			} else {
				fChunks.push_back(std::move(fSpare.back()));
				fSpare.pop_back();
				fChunks.back().clear();
			}
		}
		std::vector<uint8> &chunk = fChunks.back();
		const size_t count = std::min(size - done, kChunk - chunk.size());
		chunk.insert(chunk.end(), bytes + done, bytes + done + count);
		done += count;
		fEnd += count;
	}
	if (!fHeaderDecided && fEnd >= kHeaderBytes) {
		// The header's bytes are all in the first chunk.
		fHeaderDecided = true;
		const ssize_t taken = fHeader.WriteAt(0, fChunks.front().data(),
			kHeaderBytes);
		BBitmap *bitmap = NULL;
		if (fHeader.DetachBitmap(&bitmap) == B_OK) {
			// Only its checks were wanted; its bits were never touched.
			delete bitmap;
		}
		fHeaderTaken = taken == (ssize_t)kHeaderBytes;
		if (!fHeaderTaken) {
			return taken < 0 ? taken : (ssize_t)B_ERROR;
		}
	}
	return (ssize_t)size;
}

void PicturePipe::Finish()
{
	std::lock_guard<std::mutex> locker(fLock);
	fFinished = true;
	fChanged.notify_all();
}

bool PicturePipe::WaitForHeader()
{
	std::unique_lock<std::mutex> locker(fLock);
	fChanged.wait(locker, [this] { return fHeaderDecided || fFinished; });
	return fHeaderTaken;
}

void PicturePipe::StartPassing()
{
	std::lock_guard<std::mutex> locker(fLock);
	fPassing = true;
}

bool PicturePipe::Abort()
{
	std::lock_guard<std::mutex> locker(fLock);
	fAborted = true;
	fChanged.notify_all();
	return fFinished;
}

void PicturePipe::Drain()
{
	std::lock_guard<std::mutex> locker(fLock);
	fDraining = true;
	fChanged.notify_all();
}

// Called with the lock held: the kept byte at position (at least fFirst,
// below fEnd), and in *count how many of at most size follow it in its
// chunk.
uint8 *PicturePipe::Kept(uint64 position, size_t size, size_t *count)
{
	std::vector<uint8> &chunk = fChunks[(position - fFirst) / kChunk];
	const size_t offset = (size_t)((position - fFirst) % kChunk);
	*count = std::min(size, chunk.size() - offset);
	return chunk.data() + offset;
}

// Called with the lock held: the whole stream's length, as its header
// describes it once taken, else what has come.
off_t PicturePipe::StreamSize() const
{
	return fHeaderTaken ? (off_t)(kHeaderBytes + fHeader.DataSize())
		: (off_t)fEnd;
}

// Called with the lock held: once the writer has started, what lies
// before position is not read again.
void PicturePipe::LetGoBefore(uint64 position)
{
	bool released = false;
	while (fPassing && fChunks.size() > 1
		&& fFirst + kChunk <= position) {
		fSpare.push_back(std::move(fChunks.front()));
		fChunks.pop_front();
		fFirst += kChunk;
		released = true;
	}
	if (released) {
		fChanged.notify_all();
	}
}

ssize_t PicturePipe::Read(void *buffer, size_t size)
{
	const ssize_t read = ReadAt(Position(), buffer, size);
	if (read > 0) {
		std::lock_guard<std::mutex> locker(fLock);
		fPosition += (uint64)read;
	}
	return read;
}

ssize_t PicturePipe::ReadAt(off_t position, void *buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	uint8 *out = static_cast<uint8 *>(buffer);
	std::unique_lock<std::mutex> locker(fLock);
	if ((uint64)position < fFirst) {
		return B_NOT_ALLOWED;
	}
	uint64 wanted = (uint64)position + size;
	if (!fPassing) {
		// The roster's Identify calls look at the start: one that reads
		// further (the Pilot translator looking for a database's records)
		// sees the stream end with the window, rather than waiting for
		// the whole picture to be kept.
		wanted = std::min(wanted, (uint64)kWindow);
	}
	if (wanted > fEnd) {
		fWanted = std::max(fWanted, wanted);
		fChanged.notify_all();
	}
	fChanged.wait(locker, [&] {
		return fFinished || fAborted || fEnd >= wanted;
	});
	const uint64 end = std::min(fEnd, wanted);
	if (end <= (uint64)position) {
		return 0;
	}
	size_t done = 0;
	while ((uint64)position + done < end) {
		size_t count;
		const uint8 *kept = Kept((uint64)position + done,
			(size_t)(end - position) - done, &count);
		memcpy(out + done, kept, count);
		done += count;
	}
	LetGoBefore(end);
	return (ssize_t)done;
}

off_t PicturePipe::Seek(off_t position, uint32 seekMode)
{
	std::lock_guard<std::mutex> locker(fLock);
	off_t target;
	status_t status = BPrivate::SeekTarget(position, seekMode,
		(off_t)fPosition, StreamSize(), &target);
	if (status != B_OK) {
		return status;
	}
	fPosition = (uint64)target;
	return target;
}

off_t PicturePipe::Position() const
{
	std::lock_guard<std::mutex> locker(fLock);
	return (off_t)fPosition;
}

status_t PicturePipe::GetSize(off_t *size) const
{
	std::lock_guard<std::mutex> locker(fLock);
	if (size == NULL) {
		return B_BAD_VALUE;
	}
	*size = StreamSize();
	return B_OK;
}

status_t PicturePipe::SetSize(off_t)
{
	return B_NOT_ALLOWED;
}
