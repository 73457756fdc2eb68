#include "PilotImageCheck.h"

#include "BigEndian.h"
#include "ImageLimits.h"
#include "StreamIO.h"

namespace {

// Reads size bytes of the record at position. A short read or a seek that
// misses refuses the stream: a record we cannot read whole is not a
// picture we can show. A missed seek sets *why to kRecordUnreachable; for
// a short read it keeps the reason it holds.
bool ReadRecordBytes(BPositionIO *source, int64 position, void *buffer,
	size_t size, HeaderCheck *why)
{
	if (!SeekExactly(source, position)) {
		*why = kRecordUnreachable;
		return false;
	}
	return ReadExactly(source, buffer, size);
}

// Builds the image header of a 'TlPt' record and leaves the source at its
// pixels.
HeaderCheck ReadTealPaintHeader(BPositionIO *source,
	const PilotDatabaseHeader &database, int32 recordOffset,
	PilotImageHeader *header)
{
	const int64 record = recordOffset;
	uint8 size[4];
	// 'GbDb' records keep their pixels at 24.
	uint8 offset[4] = {0, 0, 0, 24};
	HeaderCheck why = kTealPaintRecordCut;
	const bool read = database.type == kTealPaintGameboyType
		? ReadRecordBytes(source, record, size, sizeof(size), &why)
		: ReadRecordBytes(source, record + 22, size, 2, &why)
			&& ReadRecordBytes(source, record + 24, size + 2, 2, &why)
			&& ReadRecordBytes(source, record + 8, offset, 4, &why);
	if (!read) {
		return why;
	}

	// The pixels' position is a signed 32-bit sum, as the format's
	// offsets are; one that wraps below zero is refused by the seek.
	const int32 pixels = (int32)((uint32)recordOffset + ReadBE32(offset));
	if (!SeekExactly(source, pixels)) {
		return kPixelsUnreachable;
	}
	*header = WrittenImageHeader(database.name, 0, kOneBitPixels,
		(int16)ReadBE16(size), (int16)ReadBE16(size + 2));
	return kHeaderAccepted;
}

// Reads the image header where the record entry points and leaves the
// source just after it, at the pixels.
HeaderCheck ReadViewerHeader(BPositionIO *source, int32 recordOffset,
	PilotImageHeader *header)
{
	uint8 bytes[kImageHeaderSize];
	HeaderCheck why = kImageHeaderCut;
	if (!ReadRecordBytes(source, recordOffset, bytes, sizeof(bytes), &why)) {
		return why;
	}
	*header = ParseImageHeader(bytes);
	return kHeaderAccepted;
}

// The acceptance rule; fills header and the record's offset.
HeaderCheck CheckDatabase(BPositionIO *source, PilotImageHeader *header,
	int32 *recordOffset)
{
	source->Seek(0, SEEK_SET);
	uint8 databaseBytes[kDatabaseHeaderSize];
	if (!ReadExactly(source, databaseBytes, sizeof(databaseBytes))) {
		return kDatabaseHeaderCut;
	}
	const PilotDatabaseHeader database = ParseDatabaseHeader(databaseBytes);
	if (database.numRecords <= 0) {
		return kNoRecords;
	}
	if (database.type != kImageDatabaseType
		&& database.creator != kTealPaintCreator) {
		return kNotImageDatabase;
	}

	uint8 entryBytes[kRecordEntrySize];
	if (!ReadExactly(source, entryBytes, sizeof(entryBytes))) {
		return kRecordEntryCut;
	}
	*recordOffset = (int32)ReadBE32(entryBytes);

	const HeaderCheck check = database.creator == kTealPaintCreator
		? ReadTealPaintHeader(source, database, *recordOffset, header)
		: ReadViewerHeader(source, *recordOffset, header);
	if (check != kHeaderAccepted) {
		return check;
	}
	return PilotNamesMatch(header->name, database.name)
		? kHeaderAccepted : kNamesDiffer;
}

// Every size below fits 32 bits: the cap allows at most 2^28 pixels.
void SetSizes(PilotImageLayout *layout)
{
	layout->width = (uint32)layout->header.width;
	layout->height = (uint32)layout->header.height;
	const bool oneBit = layout->bitsPerPixel == 1;
	layout->storedRowBytes = StoredRowBytes(layout->header.width,
		layout->bitsPerPixel);
	layout->storedSize = layout->storedRowBytes * layout->height;
	layout->rowBytes = oneBit ? (layout->width + 7) / 8 : layout->width;
	layout->dataSize = layout->rowBytes * layout->height;
	layout->unpackRoom = oneBit ? layout->storedSize : layout->dataSize;
}

} // namespace

uint32 StoredRowBytes(int32 width, uint32 bitsPerPixel)
{
	return width > 0 ? (uint32)width / (8 / bitsPerPixel) : 0;
}

HeaderCheck CheckPilotImage(BPositionIO *source, HeaderUse use,
	PilotImageLayout *layout)
{
	const HeaderCheck accepted = CheckDatabase(source, &layout->header,
		&layout->recordOffset);
	if (accepted != kHeaderAccepted) {
		return accepted;
	}
	// Sixteen-grey images are packed when the low three bits of packing
	// are 1, every other pixel type when the low four are.
	const PilotImageHeader &header = layout->header;
	const bool sixteenGreys = header.pixelType == kFourBitPixels;
	layout->bitsPerPixel = BitsPerPixelOfType(header.pixelType);
	layout->packed = (header.packing & (sixteenGreys
		? kSixteenGreyPackingMask : kPackingMask)) == kPackedRuns;
	if (use == kIdentifying) {
		return kHeaderAccepted;
	}
	// A size of zero or less has nothing to show, and one beyond the cap
	// would make a few header bytes cost gigabytes.
	if (header.width <= 0 || header.height <= 0) {
		return kPictureEmpty;
	}
	if (!PilotSizeWithinLimits(header.width, header.height)) {
		return kPictureBeyondCap;
	}
	SetSizes(layout);
	return kHeaderAccepted;
}
