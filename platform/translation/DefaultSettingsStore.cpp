#include <DefaultSettingsStore.h>

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <vector>

#include <DataIO.h>
#include <ErrnoStatus.h>
#include <Message.h>
#include <StorageDefs.h>

#include "XdgBaseDirectory.h"

namespace BPrivate {

namespace {

const char *kNameField = "translator:name";
const char *kVersionField = "translator:version";
const char *kSuffix = ".settings";
const char *kLockSuffix = ".lock";

bool IsSafeName(const char *name)
{
	if (name == NULL || name[0] == '\0' || name[0] == '.') {
		return false;
	}
	size_t length = strnlen(name, B_FILE_NAME_LENGTH);
	return length + strlen(kSuffix) + strlen(kLockSuffix) < B_FILE_NAME_LENGTH
		&& strchr(name, '/') == NULL;
}


// mkdir -p: creates each missing folder of the path, private to the user
// as the configuration folders are meant to be.
status_t MakeFolders(const std::string &folder)
{
	for (size_t slash = folder.find('/', 1); ;
			slash = folder.find('/', slash + 1)) {
		std::string part = folder.substr(0, slash);
		if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
			return StatusForErrno(errno);
		}
		if (slash == std::string::npos) {
			break;
		}
	}
	struct stat info;
	if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
		return B_NOT_A_DIRECTORY;
	}
	return B_OK;
}


// Only a regular file holds settings. A FIFO or a device is never opened:
// opening or reading one could wait for ever, or have an effect of its own.
status_t SettingsFileKind(const struct stat &status)
{
	if (S_ISDIR(status.st_mode)) {
		return B_IS_A_DIRECTORY;
	}
	return S_ISREG(status.st_mode) ? B_OK : B_BAD_TYPE;
}


class Descriptor {
public:
	explicit Descriptor(int fd) : fDescriptor(fd) {}
	~Descriptor()
	{
		if (fDescriptor >= 0) {
			close(fDescriptor);
		}
	}
	int Get() const { return fDescriptor; }
	int Release()
	{
		int fd = fDescriptor;
		fDescriptor = -1;
		return fd;
	}

private:
	Descriptor(const Descriptor &) = delete;
	Descriptor &operator=(const Descriptor &) = delete;

	int fDescriptor;
};


// The whole file, if it is a regular file not larger than the store
// allows. A file that grows while it is read is not trusted either.
status_t ReadSettingsFile(const std::string &path, std::vector<char> *data)
{
	struct stat status;
	if (stat(path.c_str(), &status) != 0) {
		return StatusForErrno(errno);
	}
	if (SettingsFileKind(status) != B_OK) {
		return SettingsFileKind(status);
	}
	// O_NONBLOCK: should a FIFO take the file's place meanwhile, opening
	// it does not wait for a writer; it is then refused as above.
	int fd;
	do {
		fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
	} while (fd < 0 && errno == EINTR);
	if (fd < 0) {
		return StatusForErrno(errno);
	}
	Descriptor file(fd);
	if (fstat(file.Get(), &status) != 0) {
		return StatusForErrno(errno);
	}
	if (SettingsFileKind(status) != B_OK) {
		return SettingsFileKind(status);
	}
	off_t size = status.st_size;
	if (size <= 0) {
		return B_BAD_DATA;
	}
	if (size > kMaxDefaultSettingsSize) {
		return B_FILE_TOO_LARGE;
	}
	data->resize((size_t)size + 1);
	size_t filled = 0;
	while (filled < data->size()) {
		ssize_t got = read(file.Get(), data->data() + filled,
			data->size() - filled);
		if (got < 0 && errno == EINTR) {
			continue;
		}
		if (got < 0) {
			return StatusForErrno(errno);
		}
		if (got == 0) {
			break;
		}
		filled += (size_t)got;
	}
	if (filled > (size_t)size) {
		return B_FILE_TOO_LARGE;
	}
	data->resize(filled);
	return filled == 0 ? B_BAD_DATA : B_OK;
}


// An exclusive advisory lock on the translator's lock file, held from
// construction to destruction. The lock file stays: removing it would let
// a process that opened it before the removal lock a file nobody else
// locks any more.
class SettingsLock {
public:
	explicit SettingsLock(const std::string &settingsPath)
	{
		std::string path = settingsPath + kLockSuffix;
		do {
			fDescriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC,
				0600);
		} while (fDescriptor < 0 && errno == EINTR);
		if (fDescriptor < 0) {
			fStatus = StatusForErrno(errno);
			return;
		}
		int result;
		do {
			result = flock(fDescriptor, LOCK_EX);
		} while (result != 0 && errno == EINTR);
		fStatus = result == 0 ? B_OK : StatusForErrno(errno);
	}

	~SettingsLock()
	{
		if (fDescriptor >= 0) {
			close(fDescriptor);
		}
	}

	status_t InitCheck() const { return fStatus; }

private:
	SettingsLock(const SettingsLock &) = delete;
	SettingsLock &operator=(const SettingsLock &) = delete;

	int fDescriptor = -1;
	status_t fStatus = B_NO_INIT;
};


// A name for the file written aside: it starts with '.', which no
// settings file's name may, and is unique within the process.
std::string TemporaryPath(const std::string &folder)
{
	static std::atomic<uint32> sCounter(0);
	return folder + "/.settings-" + std::to_string(getpid()) + "-"
		+ std::to_string(sCounter++);
}


status_t WriteAll(int fd, const BMallocIO &bytes)
{
	const char *data = static_cast<const char *>(bytes.Buffer());
	size_t done = 0;
	while (done < bytes.BufferLength()) {
		ssize_t count = write(fd, data + done, bytes.BufferLength() - done);
		if (count < 0 && errno == EINTR) {
			continue;
		}
		if (count <= 0) {
			return count < 0 ? StatusForErrno(errno) : B_IO_ERROR;
		}
		done += (size_t)count;
	}
	return fsync(fd) == 0 ? B_OK : StatusForErrno(errno);
}


status_t WriteAside(const std::string &folder, const BMessage &message,
	TemporaryFileKeeper *keeper, std::string *_temporary)
{
	BMallocIO flattened;
	status_t status = message.Flatten(&flattened);
	if (status != B_OK) {
		return status;
	}
	for (int attempt = 0; attempt < 100; attempt++) {
		std::string temporary = TemporaryPath(folder);
		auto create = [&]() {
			int fd;
			do {
				fd = open(temporary.c_str(),
					O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
			} while (fd < 0 && errno == EINTR);
			return fd;
		};
		int fd = keeper != NULL ? keeper->Create(temporary, create)
			: create();
		if (fd < 0) {
			// A leftover of an earlier process with the same id.
			if (errno == EEXIST) {
				continue;
			}
			return StatusForErrno(errno);
		}
		Descriptor file(fd);
		*_temporary = temporary;
		status = WriteAll(file.Get(), flattened);
		if (status == B_OK && close(file.Release()) != 0 && errno != EINTR) {
			status = StatusForErrno(errno);
		}
		return status;
	}
	return B_FILE_EXISTS;
}

} // namespace


std::string
DefaultSettingsPath(const char *translatorName)
{
	if (!IsSafeName(translatorName)) {
		return std::string();
	}
	std::string configHome = XdgBaseDirectory("XDG_CONFIG_HOME", ".config");
	if (configHome.empty()) {
		return configHome;
	}
	return configHome + "/TranslationKit/" + translatorName + kSuffix;
}


status_t
ReadDefaultSettings(const char *translatorName, BMessage *_settings)
{
	std::string path = DefaultSettingsPath(translatorName);
	if (path.empty() || _settings == NULL) {
		return B_BAD_VALUE;
	}
	std::vector<char> data;
	status_t status = ReadSettingsFile(path, &data);
	if (status != B_OK) {
		return status;
	}

	// One whole message, nothing after it.
	BMemoryIO stream(static_cast<const void *>(data.data()), data.size());
	BMessage settings;
	if (settings.Unflatten(&stream) != B_OK
		|| stream.Position() != (off_t)data.size()) {
		return B_BAD_DATA;
	}

	type_code type;
	if (settings.GetInfo(kNameField, &type) == B_OK) {
		const char *storedName;
		if (settings.FindString(kNameField, &storedName) != B_OK
			|| strcmp(storedName, translatorName) != 0) {
			return B_MISMATCHED_VALUES;
		}
	}
	settings.RemoveName(kNameField);
	settings.RemoveName(kVersionField);
	*_settings = settings;
	return B_OK;
}


BMessage *
LoadDefaultSettings(const char *translatorName)
{
	BMessage settings;
	if (ReadDefaultSettings(translatorName, &settings) != B_OK) {
		return NULL;
	}
	return new BMessage(settings);
}


status_t
StoreDefaultSettings(const char *translatorName, int32 translatorVersion,
	const BMessage &settings)
{
	return UpdateDefaultSettings(translatorName, translatorVersion,
		[&](BMessage &stored) {
			stored = settings;
			return B_OK;
		});
}


status_t
UpdateDefaultSettings(const char *translatorName, int32 translatorVersion,
	const std::function<status_t(BMessage &settings)> &change,
	TemporaryFileKeeper *keeper)
{
	std::string path = DefaultSettingsPath(translatorName);
	if (path.empty()) {
		return B_BAD_VALUE;
	}
	std::string folder = path.substr(0, path.rfind('/'));
	status_t status = MakeFolders(folder);
	if (status != B_OK) {
		return status;
	}
	SettingsLock lock(path);
	if (lock.InitCheck() != B_OK) {
		return lock.InitCheck();
	}
	// A FIFO or a device in the file's place, or at the end of a link
	// there (to /dev/null, say, to keep nothing), was put there by the
	// user: not ours to replace.
	struct stat existing;
	if (stat(path.c_str(), &existing) == 0
		&& SettingsFileKind(existing) != B_OK) {
		return SettingsFileKind(existing);
	}

	BMessage stored;
	if (ReadDefaultSettings(translatorName, &stored) != B_OK) {
		stored.MakeEmpty();
	}
	status = change(stored);
	if (status != B_OK) {
		return status;
	}
	stored.RemoveName(kNameField);
	stored.RemoveName(kVersionField);
	if (stored.AddString(kNameField, translatorName) != B_OK
		|| stored.AddInt32(kVersionField, translatorVersion) != B_OK) {
		return B_NO_MEMORY;
	}

	std::string temporary;
	status_t result = WriteAside(folder, stored, keeper, &temporary);
	if (result == B_OK && rename(temporary.c_str(), path.c_str()) != 0) {
		result = StatusForErrno(errno);
	}
	if (result != B_OK && !temporary.empty()) {
		unlink(temporary.c_str());
	}
	if (keeper != NULL) {
		keeper->Forget();
	}
	return result;
}

} // namespace BPrivate
