#include <File.h>

#include <errno.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ErrnoStatus.h"

using BPrivate::StatusForErrno;

static const int kOpenFlags = O_ACCMODE | B_CREATE_FILE | B_ERASE_FILE
	| B_FAIL_IF_EXISTS | B_OPEN_AT_END;

// One transfer is capped so that its count fits the ssize_t it returns.
static size_t transfer_limit(size_t size)
{
	return min_c(size, (size_t)SSIZE_MAX);
}

// Repeats a read or write until the whole count is moved, the end of the
// file is reached or an error comes. Interrupted calls are retried. Once
// some bytes have moved, a later error ends the loop with the count so far:
// the caller sees a short transfer, and the error again on its next call.
template<typename Transfer>
static ssize_t transfer_all(size_t size, Transfer transfer)
{
	size = transfer_limit(size);
	size_t done = 0;
	while (done < size) {
		ssize_t count = transfer(done, size - done);
		if (count < 0) {
			if (errno == EINTR) {
				continue;
			}
			if (done > 0) {
				break;
			}
			return StatusForErrno(errno);
		}
		if (count == 0) {
			break;
		}
		done += (size_t)count;
	}
	return (ssize_t)done;
}

static bool position_is_valid(off_t position, size_t size)
{
	off_t last;
	return position >= 0
		&& !__builtin_add_overflow(position, (off_t)transfer_limit(size),
			&last);
}


BFile::BFile()
	: fMode(0)
{
}

BFile::BFile(const char *path, uint32 openMode)
	: fMode(0)
{
	SetTo(path, openMode);
}

BFile::~BFile()
{
}

status_t BFile::SetTo(const char *path, uint32 openMode)
{
	Unset();
	fMode = 0;
	if (path == NULL || path[0] == '\0') {
		fCStatus = B_BAD_VALUE;
		return fCStatus;
	}

	int flags = ((int)openMode & kOpenFlags) | O_CLOEXEC;
	int descriptor;
	do {
		descriptor = open(path, flags, 0666);
	} while (descriptor < 0 && errno == EINTR);
	if (descriptor < 0) {
		fCStatus = StatusForErrno(errno);
		return fCStatus;
	}

	// A directory opens read-only without complaint, but it is no file.
	struct stat info;
	status_t status = B_OK;
	if (fstat(descriptor, &info) != 0) {
		status = StatusForErrno(errno);
	} else if (S_ISDIR(info.st_mode)) {
		status = B_IS_A_DIRECTORY;
	}
	if (status != B_OK) {
		close(descriptor);
		fCStatus = status;
		return fCStatus;
	}

	fFd = descriptor;
	fMode = openMode;
	fCStatus = B_OK;
	return fCStatus;
}

bool BFile::IsReadable() const
{
	int access = (int)fMode & O_ACCMODE;
	return fCStatus == B_OK && (access == O_RDONLY || access == O_RDWR);
}

bool BFile::IsWritable() const
{
	int access = (int)fMode & O_ACCMODE;
	return fCStatus == B_OK && (access == O_WRONLY || access == O_RDWR);
}

ssize_t BFile::Read(void *buffer, size_t size)
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	char *bytes = static_cast<char *>(buffer);
	return transfer_all(size, [&](size_t done, size_t left) {
		return read(fFd, bytes + done, left);
	});
}

ssize_t BFile::Write(const void *buffer, size_t size)
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	const char *bytes = static_cast<const char *>(buffer);
	return transfer_all(size, [&](size_t done, size_t left) {
		return write(fFd, bytes + done, left);
	});
}

ssize_t BFile::ReadAt(off_t position, void *buffer, size_t size)
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	if (!position_is_valid(position, size)) {
		return B_BAD_VALUE;
	}
	char *bytes = static_cast<char *>(buffer);
	return transfer_all(size, [&](size_t done, size_t left) {
		return pread(fFd, bytes + done, left, position + (off_t)done);
	});
}

ssize_t BFile::WriteAt(off_t position, const void *buffer, size_t size)
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	if (!position_is_valid(position, size)) {
		return B_BAD_VALUE;
	}
	const char *bytes = static_cast<const char *>(buffer);
	return transfer_all(size, [&](size_t done, size_t left) {
		return pwrite(fFd, bytes + done, left,
			position + (off_t)done);
	});
}

off_t BFile::Seek(off_t position, uint32 seekMode)
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	off_t result = lseek(fFd, position, (int)seekMode);
	if (result < 0) {
		return StatusForErrno(errno);
	}
	return result;
}

off_t BFile::Position() const
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	off_t result = lseek(fFd, 0, SEEK_CUR);
	if (result < 0) {
		return StatusForErrno(errno);
	}
	return result;
}

status_t BFile::SetSize(off_t size)
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	if (size < 0) {
		return B_BAD_VALUE;
	}
	int result;
	do {
		result = ftruncate(fFd, size);
	} while (result != 0 && errno == EINTR);
	return result == 0 ? B_OK : StatusForErrno(errno);
}

status_t BFile::GetSize(off_t *size) const
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	if (size == NULL) {
		return B_BAD_VALUE;
	}
	struct stat info;
	if (fstat(fFd, &info) != 0) {
		return StatusForErrno(errno);
	}
	*size = info.st_size;
	return B_OK;
}

status_t BFile::Sync()
{
	if (fCStatus != B_OK) {
		return fCStatus;
	}
	return fsync(fFd) == 0 ? B_OK : StatusForErrno(errno);
}
