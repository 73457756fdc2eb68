// The stream steps the codec's readers and writers share. A stream may
// move fewer bytes than asked for; each helper says what it makes of that.
#ifndef QUORVEL_STREAM_IO_H
#define QUORVEL_STREAM_IO_H

#include <stdio.h>

#include <DataIO.h>

// One Read; true when all size bytes arrived.
inline bool ReadExactly(BPositionIO *source, void *buffer, size_t size)
{
	return source->Read(buffer, size) == (ssize_t)size;
}

// One Write; true when the stream took all size bytes.
inline bool WriteExactly(BPositionIO *destination, const void *buffer,
	size_t size)
{
	return destination->Write(buffer, size) == (ssize_t)size;
}

// A stream's Seek reports the new position or a negative error; anything
// but the position asked for means we are not where the file says.
inline bool SeekExactly(BPositionIO *source, int64 position)
{
	return position >= 0 && source->Seek(position, SEEK_SET) == position;
}

// Reads until size bytes have arrived or the source has no more, so that
// streams handing out less than asked for still give the whole picture;
// returns the count that arrived.
inline size_t ReadAvailable(BPositionIO *source, uint8 *buffer, size_t size)
{
	size_t done = 0;
	while (done < size) {
		const ssize_t count = source->Read(buffer + done, size - done);
		if (count <= 0) {
			break;
		}
		done += (size_t)count;
	}
	return done;
}

#endif // QUORVEL_STREAM_IO_H
