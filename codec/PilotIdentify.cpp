// Recognising a Pilot image: both database layouts.
//
// A stream holds a Pilot image when it starts with a whole database header
// with at least one record, its type is 'vIMG' or its creator 'TlPt', a
// whole first record entry follows, and the image header of that record
// carries the database's name. Nothing else is checked here: the size,
// packing and pixel type are the reader's business.
//
// Databases of creator 'TlPt' (whatever their type) carry no image header:
// the record holds a plain 1-bit picture whose size and data sit at fixed
// places, R being the record's offset:
//   type 'GbDb':  width at R + 0, height at R + 2, pixels at R + 24
//   other types:  width at R + 22, height at R + 24, pixels at R + the
//                 32-bit data offset stored at R + 8
// All of them are big-endian; width and height are signed 16-bit.
#include "PilotTranslate.h"

#include "BigEndian.h"

static bool ReadExactly(BPositionIO *source, void *buffer, size_t size)
{
	return source->Read(buffer, size) == (ssize_t)size;
}

// A stream's Seek reports the new position or a negative error; anything
// but the position asked for means we are not where the file says.
static bool SeekExactly(BPositionIO *source, int64 position)
{
	return position >= 0 && source->Seek(position, SEEK_SET) == position;
}

static bool ReadAt(BPositionIO *source, int64 position, void *buffer,
	size_t size)
{
	return SeekExactly(source, position) && ReadExactly(source, buffer, size);
}

// Builds the image header of a 'TlPt' record and leaves the source at its
// pixels. A short read or a seek that misses refuses the stream: a record
// we cannot read whole is not a picture we can show.
static status_t ReadTealPaintHeader(BPositionIO *source,
	const PilotDatabaseHeader &database, int32 recordOffset,
	PilotImageHeader *header)
{
	const int64 record = recordOffset;
	uint8 size[4];
	uint32 dataOffset;
	if (database.type == kTealPaintGameboyType) {
		if (!ReadAt(source, record, size, sizeof(size))) {
			return B_NO_TRANSLATOR;
		}
		dataOffset = 24;
	} else {
		uint8 offset[4];
		if (!ReadAt(source, record + 22, size, 2)
			|| !ReadAt(source, record + 24, size + 2, 2)
			|| !ReadAt(source, record + 8, offset, sizeof(offset))) {
			return B_NO_TRANSLATOR;
		}
		dataOffset = ReadBE32(offset);
	}

	// The pixels' position is a signed 32-bit sum, as the format's
	// offsets are; one that wraps below zero is refused by the seek.
	const int32 pixels = (int32)((uint32)recordOffset + dataOffset);
	if (!SeekExactly(source, pixels)) {
		return B_NO_TRANSLATOR;
	}
	*header = WrittenImageHeader(database.name, 0, kOneBitPixels,
		(int16)ReadBE16(size), (int16)ReadBE16(size + 2));
	return B_OK;
}

// Reads the image header where the record entry points and leaves the
// source just after it, at the pixels.
static status_t ReadViewerHeader(BPositionIO *source, int32 recordOffset,
	PilotImageHeader *header)
{
	uint8 bytes[kImageHeaderSize];
	if (!ReadAt(source, recordOffset, bytes, sizeof(bytes))) {
		return B_NO_TRANSLATOR;
	}
	*header = ParseImageHeader(bytes);
	return B_OK;
}

status_t PilotTranslate::IdentifyPilotImage()
{
	source->Seek(0, SEEK_SET);
	uint8 databaseBytes[kDatabaseHeaderSize];
	if (!ReadExactly(source, databaseBytes, sizeof(databaseBytes))) {
		return B_NO_TRANSLATOR;
	}
	const PilotDatabaseHeader database = ParseDatabaseHeader(databaseBytes);
	if (database.numRecords <= 0) {
		return B_NO_TRANSLATOR;
	}
	if (database.type != kImageDatabaseType
		&& database.creator != kTealPaintCreator) {
		return B_NO_TRANSLATOR;
	}

	uint8 entryBytes[kRecordEntrySize];
	if (!ReadExactly(source, entryBytes, sizeof(entryBytes))) {
		return B_NO_TRANSLATOR;
	}
	const PilotRecordEntry entry = ParseRecordEntry(entryBytes);

	PilotImageHeader header;
	const status_t status = database.creator == kTealPaintCreator
		? ReadTealPaintHeader(source, database, entry.offset, &header)
		: ReadViewerHeader(source, entry.offset, &header);
	if (status != B_OK) {
		return status;
	}

	imageHeader = header;
	if (!PilotNamesMatch(imageHeader.name, database.name)) {
		return B_NO_TRANSLATOR;
	}
	return B_OK;
}
