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
			const uint64 at = (uint64)position + done;
			std::vector<uint8> &chunk = fChunks[(at - fFirst) / kChunk];
			const size_t offset = (size_t)((at - fFirst) % kChunk);
			const size_t count = std::min(size - done, kChunk - offset);
			memcpy(chunk.data() + offset, bytes + done, count);
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
	for (uint64 at = (uint64)position; at < end;) {
		const std::vector<uint8> &chunk = fChunks[(at - fFirst) / kChunk];
		const size_t offset = (size_t)((at - fFirst) % kChunk);
		const size_t count = std::min((size_t)(end - at),
			chunk.size() - offset);
		memcpy(out + done, chunk.data() + offset, count);
		done += count;
		at += count;
	}
	LetGoBefore(end);
	return (ssize_t)done;
}

off_t PicturePipe::Seek(off_t position, uint32 seekMode)
{
	std::lock_guard<std::mutex> locker(fLock);
	off_t size = (off_t)fEnd;
	if (fHeaderTaken) {
		size = (off_t)(kHeaderBytes + fHeader.DataSize());
	}
	off_t target;
	status_t status = BPrivate::SeekTarget(position, seekMode,
		(off_t)fPosition, size, &target);
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
	*size = fHeaderTaken ? (off_t)(kHeaderBytes + fHeader.DataSize())
		: (off_t)fEnd;
	return B_OK;
}

status_t PicturePipe::SetSize(off_t)
{
	return B_NOT_ALLOWED;
}
