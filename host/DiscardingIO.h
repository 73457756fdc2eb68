// A destination that keeps nothing but its size: for translations run
// only for what the translator reports about them, such as identify's
// check that a Pilot image is whole, so that no picture is held for it.
#ifndef QUORVEL_HOST_DISCARDING_IO_H
#define QUORVEL_HOST_DISCARDING_IO_H

#include <DataIO.h>

class DiscardingIO : public BPositionIO {
public:
	DiscardingIO() {}

	// Nothing is there to read.
	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size);
	// Takes every byte and drops it.
	virtual ssize_t WriteAt(off_t position, const void *buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const { return fPosition; }

private:
	off_t fPosition = 0;
	off_t fSize = 0;
};

#endif // QUORVEL_HOST_DISCARDING_IO_H
