#include "OutputFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

#include "Failure.h"
#include "FileFormats.h"
#include "InputFile.h"

namespace {

// Writes every byte, or returns the errno of the write that failed.
int WriteAll(int fd, const ByteVector &bytes)
{
	size_t done = 0;
	while (done < bytes.size()) {
		ssize_t count = write(fd, bytes.data() + done, bytes.size() - done);
		if (count < 0 && errno == EINTR) {
			continue;
		}
		if (count <= 0) {
			return count < 0 ? errno : EIO;
		}
		done += (size_t)count;
	}
	return 0;
}

std::string FolderOf(const std::string &path)
{
	size_t slash = path.rfind('/');
	if (slash == std::string::npos) {
		return ".";
	}
	return slash == 0 ? "/" : path.substr(0, slash);
}

// A hidden name beside the output that no other writer uses: the
// process id tells processes apart, the counter threads and attempts.
int CreateTemporary(const std::string &path, std::string *temporary)
{
	static std::atomic<uint32> counter(0);
	std::string prefix = FolderOf(path) + "/." + BaseName(path) + ".quorvel-"
		+ std::to_string(getpid()) + "-";
	for (int attempt = 0; attempt < 100; attempt++) {
		*temporary = prefix + std::to_string(counter++);
		// The mode lets the umask decide, as for any new file.
		int fd = open(temporary->c_str(),
			O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
		if (fd >= 0 || errno != EEXIST) {
			return fd;
		}
	}
	errno = EEXIST;
	return -1;
}

[[noreturn]] void WriteFailed(const std::string &path, int error)
{
	if (error == ENOSPC || error == EDQUOT) {
		throw Failure(path, "disk full");
	}
	throw Failure(path, "write failed: " + DescribeError(error));
}

void WriteStandardOutput(const ByteVector &bytes)
{
	int error = WriteAll(STDOUT_FILENO, bytes);
	if (error != 0) {
		WriteFailed("standard output", error);
	}
}

} // namespace

void WriteOutputFile(const std::string &path, const ByteVector &bytes)
{
	if (path == "-") {
		WriteStandardOutput(bytes);
		return;
	}
	struct stat existing;
	bool exists = stat(path.c_str(), &existing) == 0;
	if (exists && S_ISDIR(existing.st_mode)) {
		throw Failure(path, "is a folder");
	}

	std::string temporary;
	int fd = CreateTemporary(path, &temporary);
	if (fd < 0) {
		int error = errno;
		if (error == ENOENT) {
			throw Failure(path, "cannot write: folder " + FolderOf(path)
				+ " not found");
		}
		WriteFailed(path, error);
	}
	int error = WriteAll(fd, bytes);
	// A file that replaces another keeps the other's permissions.
	if (error == 0 && exists && fchmod(fd, existing.st_mode & 07777) != 0) {
		error = errno;
	}
	// Replacing a file: the new bytes reach the disk before the rename,
	// so that a crash leaves the old file or the new one, never an empty
	// one in place of the old. A new file has nothing to lose that its
	// input cannot give again, and syncing each file of a batch would let
	// the disk, not the conversion, set the pace.
	if (error == 0 && exists && fsync(fd) != 0) {
		error = errno;
	}
	if (close(fd) != 0 && error == 0) {
		error = errno;
	}
	if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) {
		error = errno;
	}
	if (error != 0) {
		unlink(temporary.c_str());
		WriteFailed(path, error);
	}
}
