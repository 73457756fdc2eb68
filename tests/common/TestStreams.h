// Streams for tests: the bytes a BMallocIO holds, a source over given
// bytes, and a destination that accepts only so many bytes.
#ifndef QUORVEL_TEST_STREAMS_H
#define QUORVEL_TEST_STREAMS_H

#include <string.h>

#include <DataIO.h>

#include "TestBytes.h"

inline Bytes BytesOf(const BMallocIO &stream)
{
	const uint8 *data = static_cast<const uint8 *>(stream.Buffer());
	return Bytes(data, data + stream.BufferLength());
}

// A stream holding a copy of the bytes, positioned at the start.
inline void Fill(BMallocIO &stream, const Bytes &bytes)
{
	stream.SetSize(0);
	stream.Seek(0, SEEK_SET);
	if (!bytes.empty()) {
		stream.Write(bytes.data(), bytes.size());
	}
	stream.Seek(0, SEEK_SET);
}

// A destination that takes at most limit bytes in all: the write that
// reaches the limit is cut short, and later writes transfer nothing.
class LimitedWriteIO : public BMallocIO {
public:
	explicit LimitedWriteIO(size_t limit) : fLimit(limit) {}

	ssize_t WriteAt(off_t position, const void *buffer, size_t size) override
	{
		fWriteCalls++;
		if ((size_t)position >= fLimit) {
			return 0;
		}
		if (size > fLimit - (size_t)position) {
			size = fLimit - (size_t)position;
		}
		return BMallocIO::WriteAt(position, buffer, size);
	}

	int WriteCalls() const { return fWriteCalls; }

private:
	size_t fLimit;
	int fWriteCalls = 0;
};

#endif // QUORVEL_TEST_STREAMS_H
