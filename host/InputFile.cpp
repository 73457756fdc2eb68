#include "InputFile.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "Failure.h"

namespace {

// Closes the descriptor when the read is over, however it ends.
class Descriptor {
public:
	explicit Descriptor(int fd) : fFD(fd) {}
	~Descriptor()
	{
		if (fFD > STDERR_FILENO) {
			close(fFD);
		}
	}
	int Get() const { return fFD; }

private:
	Descriptor(const Descriptor &);
	Descriptor &operator=(const Descriptor &);

	int fFD;
};

[[noreturn]] void TooLarge(const std::string &name)
{
	throw Failure(name, "input too large (more than "
		+ std::to_string(kMaxInputBytes >> 20) + " MiB)");
}

// sizeHint, the size a regular file has now, lets the bytes be read into
// one buffer; the loop still grows it should the file grow meanwhile.
ByteVector ReadAll(int fd, const std::string &name, uint64 sizeHint = 0)
{
	ByteVector bytes;
	if (sizeHint > kMaxInputBytes) {
		TooLarge(name);
	}
	// One byte more than the file, so that the read that finds its end
	// needs no larger buffer.
	if (sizeHint > 0) {
		bytes.resize(sizeHint + 1);
	}
	size_t length = 0;
	for (;;) {
		if (length == bytes.size()) {
			// One byte beyond the limit tells a file of exactly the limit
			// from a larger one.
			if (length > kMaxInputBytes) {
				TooLarge(name);
			}
			bytes.resize(std::min<uint64>(std::max<uint64>(131072,
				(uint64)length * 2), kMaxInputBytes + 1));
		}
		ssize_t count = read(fd, bytes.data() + length, bytes.size() - length);
		if (count < 0 && errno == EINTR) {
			continue;
		}
		if (count < 0) {
			throw Failure(name, "cannot read: " + DescribeError(errno));
		}
		if (count == 0) {
			break;
		}
		length += (size_t)count;
	}
	if (length > kMaxInputBytes) {
		TooLarge(name);
	}
	bytes.resize(length);
	return bytes;
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
	}
	return strerror(error);
}

ByteVector ReadInputFile(const std::string &path)
{
	if (path == "-") {
		return ReadAll(STDIN_FILENO, "standard input");
	}
	Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
	if (file.Get() < 0) {
		throw Failure(path, DescribeError(errno));
	}
	struct stat status;
	if (fstat(file.Get(), &status) != 0) {
		return ReadAll(file.Get(), path);
	}
	if (S_ISDIR(status.st_mode)) {
		throw Failure(path, "is a folder");
	}
	return ReadAll(file.Get(), path,
		S_ISREG(status.st_mode) ? (uint64)status.st_size : 0);
}
