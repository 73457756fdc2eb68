#include "PilotWriting.h"

#include <algorithm>
#include <new>

#include "RunLength.h"
#include "StreamIO.h"

status_t WritePilotHeaders(BPositionIO *destination,
	const PilotImageHeader &imageHeader)
{
	uint8 database[kWrittenRecordOffset];
	uint8 image[kImageHeaderSize];
	SerializeWrittenDatabase(imageHeader.name, database);
	SerializeImageHeader(imageHeader, image);
	if (!WriteExactly(destination, database, kDatabaseHeaderSize)
		|| !WriteExactly(destination, database + kDatabaseHeaderSize,
			kRecordEntrySize)
		|| !WriteExactly(destination, image, sizeof(image))) {
		return B_ERROR;
	}
	return B_OK;
}

bool ReadSourceRow(BPositionIO *source, uint32 rowBytes, uint8 *row,
	size_t room, size_t *placed)
{
	const size_t wanted = std::min((size_t)rowBytes, room);
	const ssize_t got = source->Read(row, wanted);
	*placed = got > 0 ? (size_t)got : 0;
	if (got != (ssize_t)wanted) {
		return false;
	}
	// Typically the few bytes that pad a row to a multiple of four.
	size_t excess = rowBytes - wanted;
	uint8 dropped[4096];
	while (excess > 0) {
		const size_t chunk = std::min(excess, sizeof(dropped));
		if (!ReadExactly(source, dropped, chunk)) {
			return false;
		}
		excess -= chunk;
	}
	return true;
}

PilotPixelData::PilotPixelData(size_t rowSize, int32 height, bool packed,
	bool packingRoomLater)
	: fRowSize(rowSize), fSize(rowSize * (size_t)height),
	  fPackedWanted(packed), fPackingRoomLater(packingRoomLater),
	  fPixels(new (std::nothrow) uint8[fSize]())
{
	if (!packingRoomLater) {
		TakePackingRoom();
	}
}

bool PilotPixelData::IsValid() const
{
	return fPixels != NULL
		&& (fPackingRoomLater || !fPackedWanted || fPacked != NULL);
}

bool PilotPixelData::TakePackingRoom()
{
	if (fPackedWanted && fPacked == NULL) {
		fPacked.reset(new (std::nothrow) uint8[PackedSizeBound(fSize)]);
	}
	return !fPackedWanted || fPacked != NULL;
}

status_t PilotPixelData::WriteTo(BPositionIO *destination) const
{
	const uint8 *data = fPixels.get();
	size_t size = fSize;
	if (fPackedWanted) {
		if (fPacked == NULL) {
			return B_NO_MEMORY;
		}
		// The pixel cap keeps the size far below 2^32.
		size = PackRuns(fPacked.get(), fPixels.get(), (uint32)fSize);
		data = fPacked.get();
	}
	return WriteExactly(destination, data, size) ? B_OK : B_ERROR;
}
