// A positionable stream over a file of the file system. Its status
// (InitCheck) and closing (Unset) come from BNode.
#ifndef _FILE_H
#define _FILE_H

#include <DataIO.h>
#include <Node.h>
#include <StorageDefs.h>

class BFile : public BNode, public BPositionIO {
public:
	BFile();
	// openMode combines B_READ_ONLY, B_WRITE_ONLY or B_READ_WRITE with
	// B_CREATE_FILE, B_ERASE_FILE, B_FAIL_IF_EXISTS and B_OPEN_AT_END.
	BFile(const char *path, uint32 openMode);
	virtual ~BFile();

	// B_OK once the file is open, as InitCheck then says; otherwise why
	// it could not be opened (B_ENTRY_NOT_FOUND, B_PERMISSION_DENIED, ...).
	status_t SetTo(const char *path, uint32 openMode);

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

	uint32 fMode;
};

#endif // _FILE_H
