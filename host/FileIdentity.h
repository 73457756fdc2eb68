// What makes two paths one file: its device and inode. Another path, a
// hard link or a symbolic link to a file all lead to the same identity.
#ifndef QUORVEL_HOST_FILE_IDENTITY_H
#define QUORVEL_HOST_FILE_IDENTITY_H

#include <sys/stat.h>

#include <string>
#include <tuple>

struct FileIdentity {
	dev_t device = 0;
	ino_t inode = 0;

	bool operator<(const FileIdentity &other) const
	{
		return std::tie(device, inode) < std::tie(other.device, other.inode);
	}
	bool operator==(const FileIdentity &other) const
	{
		return device == other.device && inode == other.inode;
	}
};

// Takes the identity and type of a file from what stat told of it.
inline bool TakeIdentity(const struct stat &status, FileIdentity *identity,
	mode_t *mode)
{
	identity->device = status.st_dev;
	identity->inode = status.st_ino;
	if (mode != nullptr) {
		*mode = status.st_mode;
	}
	return true;
}

// The identity of the file path leads to, symbolic links followed, and
// its type in mode when asked; false when there is no such file.
inline bool IdentifyFile(const std::string &path, FileIdentity *identity,
	mode_t *mode = nullptr)
{
	struct stat status;
	return stat(path.c_str(), &status) == 0
		&& TakeIdentity(status, identity, mode);
}

// The identity of the file open on descriptor, as IdentifyFile.
inline bool IdentifyDescriptor(int descriptor, FileIdentity *identity,
	mode_t *mode = nullptr)
{
	struct stat status;
	return fstat(descriptor, &status) == 0
		&& TakeIdentity(status, identity, mode);
}

#endif // QUORVEL_HOST_FILE_IDENTITY_H
