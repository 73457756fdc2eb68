#include "InputFile.h"

#include <errno.h>
#include <stdio.h>
#include <fcntl.h>
#include <limits.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <vector>

#include <File.h>
#include <SeekTarget.h>

#include "Failure.h"

namespace {

// The bytes of a source that can be read only once, held in blocks of
// kBlockSize: growing never copies what is already there, so the input
// costs its own size and at most one block more.
class InputBuffer : public BPositionIO {
public:
	static const size_t kBlockSize = (size_t)1 << 20;

	// Reads fd to its end; throws Failure naming the input.
	void ReadAll(int fd, const std::string &name);

	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size);
	virtual ssize_t WriteAt(off_t, const void *, size_t)
	{
		return B_NOT_ALLOWED;
	}
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const { return fPosition; }
	virtual status_t GetSize(off_t *size) const;

private:
	std::vector<std::unique_ptr<uint8[]> > fBlocks;
	size_t fLength = 0;
	off_t fPosition = 0;
};

[[noreturn]] void TooLarge(const std::string &name)
{
	throw Failure(name, "input too large (more than "
		+ std::to_string(kMaxInputBytes >> 20) + " MiB)");
}

void InputBuffer::ReadAll(int fd, const std::string &name)
{
	for (;;) {
		size_t used = fLength % kBlockSize;
		if (used == 0 && fLength == fBlocks.size() * kBlockSize) {
			fBlocks.emplace_back(new uint8[kBlockSize]);
		}
		// One byte beyond the limit tells a source of exactly the limit
		// from a larger one; no more is ever read.
		size_t room = std::min<uint64>(kBlockSize - used,
			kMaxInputBytes + 1 - fLength);
		ssize_t count = read(fd, fBlocks.back().get() + used, room);
		if (count < 0 && errno == EINTR) {
			continue;
		}
		if (count < 0) {
			throw Failure(name, "cannot read: " + DescribeError(errno));
		}
		if (count == 0) {
			return;
		}
		fLength += (size_t)count;
		if (fLength > kMaxInputBytes) {
			TooLarge(name);
		}
	}
}

ssize_t InputBuffer::ReadAt(off_t position, void *buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	if ((uint64)position >= fLength) {
		return 0;
	}
	size_t at = (size_t)position;
	size_t count = std::min(size, fLength - at);
	uint8 *out = static_cast<uint8 *>(buffer);
	for (size_t done = 0; done < count;) {
		size_t inBlock = (at + done) % kBlockSize;
		size_t piece = std::min(count - done, kBlockSize - inBlock);
		memcpy(out + done, fBlocks[(at + done) / kBlockSize].get() + inBlock,
			piece);
		done += piece;
	}
	return (ssize_t)count;
}

off_t InputBuffer::Seek(off_t position, uint32 seekMode)
{
	off_t target;
	status_t status = BPrivate::SeekTarget(position, seekMode,
		fPosition, (off_t)fLength, &target);
	if (status != B_OK) {
		return status;
	}
	fPosition = target;
	return target;
}

status_t InputBuffer::GetSize(off_t *size) const
{
	if (size == NULL) {
		return B_BAD_VALUE;
	}
	*size = (off_t)fLength;
	return B_OK;
}

std::unique_ptr<BPositionIO> ReadIntoMemory(int fd, const std::string &name)
{
	std::unique_ptr<InputBuffer> buffer(new InputBuffer);
	buffer->ReadAll(fd, name);
	return buffer;
}

} // namespace

std::string DescribeError(int error)
{
	switch (error) {
		case ENOENT:
			return "not found";
		case EACCES:
		case EPERM:
			return "permission denied";
		case EISDIR:
			return "is a folder";
		case ENOSPC:
		case EDQUOT:
			return "disk full";
		case EROFS:
			return "read-only file system";
		case ENAMETOOLONG:
			return "path too long (more than " + std::to_string(PATH_MAX)
				+ " bytes)";
	}
	return strerror(error);
}

std::unique_ptr<BPositionIO> OpenInputFile(const std::string &path)
{
	if (path == "-") {
		return ReadIntoMemory(STDIN_FILENO, "standard input");
	}
	struct stat status;
	if (stat(path.c_str(), &status) != 0) {
		throw Failure(path, DescribeError(errno));
	}
	if (S_ISDIR(status.st_mode)) {
		throw Failure(path, "is a folder");
	}
	if (S_ISREG(status.st_mode)) {
		std::unique_ptr<BFile> file(new BFile(path.c_str(), B_READ_ONLY));
		if (file->InitCheck() == B_OK) {
			return file;
		}
	}
	int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
	if (fd < 0) {
		throw Failure(path, DescribeError(errno));
	}
	try {
		std::unique_ptr<BPositionIO> buffer = ReadIntoMemory(fd, path);
		close(fd);
		return buffer;
	} catch (...) {
		close(fd);
		throw;
	}
}

bool ForEachInputFile(const std::vector<std::string> &paths,
	const std::function<void(const std::string &name, BPositionIO &source)>
		&work)
{
	bool allRead = true;
	for (const std::string &path : paths) {
		std::string name = path == "-" ? "standard input" : path;
		try {
			std::unique_ptr<BPositionIO> source = OpenInputFile(path);
			work(name, *source);
		} catch (const Failure &failure) {
			fflush(stdout);
			fprintf(stderr, "%s\n", failure.Named(name).Line().c_str());
			allRead = false;
		} catch (const std::bad_alloc &) {
			fflush(stdout);
			fprintf(stderr, "%s\n", Failure(name, "out of memory").Line()
				.c_str());
			allRead = false;
		}
	}
	return allRead;
}
