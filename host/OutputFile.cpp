#include "OutputFile.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>

#include "Failure.h"
#include "FileFormats.h"
#include "InputFile.h"
#include "TemporaryFiles.h"

const char *const kNamedTemporaryFilesVariable
	= "QUORVEL_NAMED_TEMPORARY_FILES";

namespace {

// Links to a link to ... are followed this far, as the kernel does.
const int kMaxLinkHops = 40;
const char kTemporaryMark[] = ".quorvel-partial-";
const size_t kRandomLetters = 12;

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

[[noreturn]] void WriteFailed(const std::string &path, int error)
{
	if (error == ENOSPC || error == EDQUOT) {
		throw Failure(path, "disk full");
	}
	throw Failure(path, "write failed: " + DescribeError(error));
}

[[noreturn]] void AlreadyExists(const std::string &path)
{
	throw Failure(path, "already exists; not overwritten (--no-clobber)");
}

// A file its user may not write, though its folder lets it be replaced:
// refused as cp refuses it. A file whose owner took away their own write
// permission counts for the owner even when root, whom the system lets
// write anything.
bool IsWriteProtected(const std::string &target, const struct stat &status)
{
	if (status.st_uid == geteuid() && (status.st_mode & S_IWUSR) == 0) {
		return true;
	}
	return faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0
		&& errno == EACCES;
}

void WriteDescriptor(const std::string &name, int fd, const ByteVector &bytes)
{
	int error = WriteAll(fd, bytes);
	if (error != 0) {
		WriteFailed(name, error);
	}
}

// "/dev/fd/N", "/proc/self/fd/N" (where "/dev/stdout" leads): the process's
// own descriptor N. The kernel's link from there gives no path to write
// beside ("pipe:[...]"), or a file the shell opened, perhaps to append.
bool NamesOwnDescriptor(const std::string &path, int *fd)
{
	for (const char *folder : {"/dev/fd/", "/proc/self/fd/",
			"/proc/thread-self/fd/"}) {
		size_t length = strlen(folder);
		if (path.compare(0, length, folder) == 0 && path.size() > length
			&& path.size() - length < 10
			&& path.find_first_not_of("0123456789", length)
				== std::string::npos) {
			*fd = atoi(path.c_str() + length);
			return true;
		}
	}
	return false;
}

struct FinalTarget {
	std::string path;
	// This process's descriptor the output path names, or -1.
	int descriptor = -1;
};

// The path with every symbolic link it ends in followed; a link to
// nothing gives the path of the file it would create.
FinalTarget FollowLinks(const std::string &path)
{
	FinalTarget target;
	std::string &current = target.path;
	current = path;
	for (int hop = 0; hop < kMaxLinkHops; hop++) {
		if (NamesOwnDescriptor(current, &target.descriptor)) {
			return target;
		}
		struct stat status;
		if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
			return target;
		}
		char link[PATH_MAX];
		ssize_t length = readlink(current.c_str(), link, sizeof(link));
		if (length <= 0 || length == (ssize_t)sizeof(link)) {
			return target;
		}
		std::string next(link, (size_t)length);
		current = next[0] == '/' ? next : FolderOf(current) + "/" + next;
	}
	throw Failure(path, "write failed: too many levels of symbolic links");
}

int ConnectSocket(const std::string &path)
{
	struct sockaddr_un address = {};
	address.sun_family = AF_UNIX;
	if (path.size() >= sizeof(address.sun_path)) {
		errno = ENAMETOOLONG;
		return -1;
	}
	path.copy(address.sun_path, path.size());
	int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr *>(&address),
			sizeof(address)) != 0) {
		int error = errno;
		close(fd);
		errno = error;
		return -1;
	}
	return fd;
}

// A device, FIFO or socket takes the bytes as they come; whatever it
// answers (a full device, a reader gone) is the conversion's result.
void WriteInPlace(const std::string &path, const std::string &target,
	mode_t mode, const ByteVector &bytes)
{
	int fd;
	do {
		fd = S_ISSOCK(mode) ? ConnectSocket(target)
			: open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
	} while (fd < 0 && errno == EINTR);
	if (fd < 0) {
		WriteFailed(path, errno);
	}
	int error = WriteAll(fd, bytes);
	if (close(fd) != 0 && error == 0 && errno != EINTR) {
		error = errno;
	}
	if (error != 0) {
		WriteFailed(path, error);
	}
}

// Letters a file name may hold, 64 of them, so that each stands for six
// random bits.
std::string RandomLetters()
{
	static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
		"abcdefghijklmnopqrstuvwxyz0123456789-_";
	unsigned char random[kRandomLetters];
	if (getrandom(random, sizeof(random), 0) != (ssize_t)sizeof(random)) {
		// Unique still, through the counter and O_EXCL; only guessable.
		static std::atomic<uint64> counter(0);
		uint64 mixed = (uint64)std::chrono::steady_clock::now()
			.time_since_epoch().count() * 0x9E3779B97F4A7C15ull
			+ (uint64)getpid() * 0x100000001B3ull + counter++;
		for (unsigned char &byte : random) {
			byte = (unsigned char)mixed;
			mixed = (mixed >> 8) | (mixed << 56);
			mixed *= 0xD6E8FEB86659FD93ull;
		}
	}
	std::string letters;
	for (unsigned char byte : random) {
		letters += kLetters[byte & 63];
	}
	return letters;
}

// ".NAME.quorvel-partial-RANDOM" beside target, NAME cut (at a character
// boundary of UTF-8) so that the whole fits in a file name of 255 bytes.
std::string TemporaryPathFor(const std::string &target)
{
	std::string name = BaseName(target);
	size_t room = NAME_MAX - 1 - (sizeof(kTemporaryMark) - 1)
		- kRandomLetters;
	if (name.size() > room) {
		size_t cut = room;
		while (cut > 0 && ((unsigned char)name[cut] & 0xC0) == 0x80) {
			cut--;
		}
		name.resize(cut);
	}
	return FolderOf(target) + "/." + name + kTemporaryMark + RandomLetters();
}

// O_TMPFILE files get their name through /proc/self/fd, which any process
// may link from; without /proc they are not used.
bool AnonymousFilesUsable()
{
	static const bool usable = getenv(kNamedTemporaryFilesVariable) == NULL
		&& access("/proc/self/fd", X_OK) == 0;
	return usable;
}

// The file the bytes go to before they take the output's name, removed
// (when it has a name) unless Commit gave it the output's name.
class PendingOutput {
public:
	explicit PendingOutput(const std::string &target)
		: fTarget(target) {}

	~PendingOutput()
	{
		if (fDescriptor >= 0) {
			close(fDescriptor);
		}
		if (fName.Registered()) {
			unlink(fName.Path().c_str());
		}
	}

	int Descriptor() const { return fDescriptor; }

	// 0, or the errno of the failure.
	int Open()
	{
		if (AnonymousFilesUsable()) {
			fDescriptor = open(FolderOf(fTarget).c_str(),
				O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
			if (fDescriptor >= 0) {
				fAnonymous = true;
				return 0;
			}
			// EISDIR, EINVAL: a kernel or C library without O_TMPFILE;
			// EOPNOTSUPP: a file system without it.
			if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
				return errno;
			}
		}
		return CreateNamed([this](const std::string &path) {
			// The mode lets the umask decide, as for any new file.
			fDescriptor = open(path.c_str(),
				O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
			return fDescriptor;
		});
	}

	// Gives the file the target's name, replacing a file there or, to
	// keep it, failing with EEXIST. 0, or the errno of the failure.
	int Commit(ExistingOutput existing)
	{
		if (fAnonymous) {
			int error = NameAnonymous(existing);
			if (error != 0) {
				return error;
			}
		}
		int error = CloseDescriptor();
		if (error != 0) {
			return error;
		}
		if (fName.Registered()) {
			error = existing == ExistingOutput::Replace ? Rename()
				: LinkWithoutReplacing();
		}
		return error;
	}

private:
	int CreateNamed(const std::function<int(const std::string &)> &create)
	{
		for (int attempt = 0; attempt < 100; attempt++) {
			std::string path = TemporaryPathFor(fTarget);
			if (fName.Create(path, [&]() { return create(path); }) >= 0) {
				return 0;
			}
			if (errno != EEXIST) {
				return errno;
			}
		}
		return EEXIST;
	}

	// A new output takes its name at once, so that nothing named is ever
	// left behind. Replacing needs a name of its own for the rename.
	int NameAnonymous(ExistingOutput existing)
	{
		std::string self = "/proc/self/fd/" + std::to_string(fDescriptor);
		if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, fTarget.c_str(),
				AT_SYMLINK_FOLLOW) == 0) {
			return 0;
		}
		if (errno != EEXIST || existing == ExistingOutput::Keep) {
			return errno;
		}
		return CreateNamed([&](const std::string &path) {
			return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(),
				AT_SYMLINK_FOLLOW);
		});
	}

	int CloseDescriptor()
	{
		int result = close(fDescriptor);
		fDescriptor = -1;
		return result != 0 && errno != EINTR ? errno : 0;
	}

	int Rename()
	{
		if (rename(fName.Path().c_str(), fTarget.c_str()) != 0) {
			return errno;
		}
		fName.Forget();
		return 0;
	}

	// link fails when the target exists, where a rename would replace it.
	// A file system without hard links can only check first.
	int LinkWithoutReplacing()
	{
		if (link(fName.Path().c_str(), fTarget.c_str()) != 0) {
			struct stat status;
			if (errno == EEXIST || lstat(fTarget.c_str(), &status) == 0) {
				return EEXIST;
			}
			return Rename();
		}
		unlink(fName.Path().c_str());
		fName.Forget();
		return 0;
	}

	std::string fTarget;
	int fDescriptor = -1;
	bool fAnonymous = false;
	TemporaryName fName;
};

void WriteRegularFile(const std::string &path, const std::string &target,
	const struct stat *replaced, const ByteVector &bytes,
	ExistingOutput existing)
{
	PendingOutput pending(target);
	int error = pending.Open();
	if (error == ENOENT) {
		throw Failure(path, "cannot write: folder " + FolderOf(target)
			+ " not found");
	}
	if (error == 0) {
		error = WriteAll(pending.Descriptor(), bytes);
	}
	// A file that replaces another keeps the other's permissions.
	if (error == 0 && replaced != NULL
		&& fchmod(pending.Descriptor(), replaced->st_mode & 07777) != 0) {
		error = errno;
	}
	// Replacing a file: the new bytes reach the disk before the rename,
	// so that a crash leaves the old file or the new one, never an empty
	// one in place of the old. A new file has nothing to lose that its
	// input cannot give again, and syncing each file of a batch would let
	// the disk, not the conversion, set the pace.
	if (error == 0 && replaced != NULL && fsync(pending.Descriptor()) != 0) {
		error = errno;
	}
	if (error == 0) {
		error = pending.Commit(existing);
	}
	if (error == EEXIST && existing == ExistingOutput::Keep) {
		AlreadyExists(path);
	}
	if (error != 0) {
		WriteFailed(path, error);
	}
}

} // namespace

std::string FollowOutputLinks(const std::string &path)
{
	return FollowLinks(path).path;
}

void WriteOutputFile(const std::string &path, const ByteVector &bytes,
	ExistingOutput existing)
{
	if (path == "-") {
		WriteDescriptor("standard output", STDOUT_FILENO, bytes);
		return;
	}
	FinalTarget followed = FollowLinks(path);
	if (followed.descriptor >= 0) {
		WriteDescriptor(path, followed.descriptor, bytes);
		return;
	}
	const std::string &target = followed.path;
	struct stat status;
	bool exists = stat(target.c_str(), &status) == 0;
	if (exists && S_ISDIR(status.st_mode)) {
		throw Failure(path, "is a folder");
	}
	if (exists && !S_ISREG(status.st_mode)) {
		WriteInPlace(path, target, status.st_mode, bytes);
		return;
	}
	if (exists && existing == ExistingOutput::Keep) {
		AlreadyExists(path);
	}
	if (exists && IsWriteProtected(target, status)) {
		throw Failure(path, "write-protected; not overwritten (make it "
			"writable, or remove it, first)");
	}
	WriteRegularFile(path, target, exists ? &status : NULL, bytes, existing);
}
