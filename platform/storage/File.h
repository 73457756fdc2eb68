// A positionable stream over a file of the file system.
#ifndef _FILE_H
#define _FILE_H

#include <DataIO.h>
#include <StorageDefs.h>

class BFile : public BPositionIO {
public:
	BFile();
	// openMode combines B_READ_ONLY, B_WRITE_ONLY or B_READ_WRITE with
	// B_CREATE_FILE, B_ERASE_FILE, B_FAIL_IF_EXISTS and B_OPEN_AT_END.
	BFile(const char *path, uint32 openMode);
	virtual ~BFile();

	status_t SetTo(const char *path, uint32 openMode);
	void Unset();
	// B_OK once a file is open; otherwise why it could not be opened
	// (B_ENTRY_NOT_FOUND, B_PERMISSION_DENIED, ...).
	status_t InitCheck() const;

	bool IsReadable() const;
	bool IsWritable() const;

	virtual ssize_t Read(void *buffer, size_t size);
	virtual ssize_t Write(const void *buffer, size_t size);
	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size);
	virtual ssize_t WriteAt(off_t position, const void *buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;
	virtual status_t SetSize(off_t size);
	virtual status_t GetSize(off_t *size) const;

	// Flushes written data to the device.
	status_t Sync();

private:
	BFile(const BFile &);
	BFile &operator=(const BFile &);

	int fDescriptor;
	uint32 fMode;
	status_t fStatus;
};

#endif // _FILE_H
