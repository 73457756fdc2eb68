// The ways of writing a Pilot image, once its size and name are settled,
// and the stream steps they share: the three headers, the source rows,
// and the pixel data, which is built whole in memory and then sent
// (packed or plain) with one write.
#ifndef QUORVEL_PILOT_WRITING_H
#define QUORVEL_PILOT_WRITING_H

#include <memory>

#include <DataIO.h>
#include <TranslatorFormats.h>

#include "PilotCodec.h"
#include "PilotDatabase.h"
#include "PilotSize.h"

// One Pilot image being written: the streams, the options, where the
// picture came from (may be NULL), the source's checked bitmap header,
// the bitmap's own width and the image header settled for it. The source
// stands at the first pixel row.
struct PilotWrite {
	BPositionIO &source;
	BPositionIO &destination;
	const PilotOptions &options;
	const char *sourceName;
	TranslatorBitmap bitmap;
	int32 pictureWidth;
	PilotImageHeader image;
};

// Names the database and settles the image header for a Pilot image of
// the depth (1, 2 or 4) and size.
void SettleImageHeader(PilotWrite &write, int32 depth,
	const PilotSize &size);

// Each allocates, writes the headers, then converts the rows. B_GRAY1
// rows are copied as 1-bit pixels (PilotMonochrome.cpp); B_CMAP8 and
// B_RGB32 rows become four greys (PilotFourGreys.cpp); any other pairing
// of source and depth goes through a row of darkness (PilotAnyDepth.cpp).
status_t WriteMonochrome(const PilotWrite &write);
status_t WriteFourGreys(const PilotWrite &write);
status_t WriteAnyDepth(const PilotWrite &write);
// A B_CMAP8 or B_RGB32 bitmap of only black and white as a 1-bit image,
// any other as four greys; settles the image header once every row has
// been read, so the headers come last (PilotAutomaticDepth.cpp).
status_t WriteAutomaticDepth(PilotWrite &write);

// Writes the database header, the record entry and the image header, each
// with one Write; the database takes the image header's name. B_ERROR as
// soon as one of them is not written whole.
status_t WritePilotHeaders(BPositionIO *destination,
	const PilotImageHeader &imageHeader);

// Reads one source row of rowBytes bytes. The first min(rowBytes, room)
// bytes go to row (*placed tells how many arrived there); bytes beyond the
// room carry no pixels of the Pilot image and are read and dropped. False
// when fewer than rowBytes bytes could be read.
bool ReadSourceRow(BPositionIO *source, uint32 rowBytes, uint8 *row,
	size_t room, size_t *placed);

// The whole pixel data of a Pilot image, zero-filled, and the room to pack
// it, allocated at once so that a failure comes before anything is written.
class PilotPixelData {
public:
	// With packingRoomLater the room to pack is taken only by
	// TakePackingRoom, for pixel data that may yet be dropped.
	PilotPixelData(size_t rowSize, int32 height, bool packed,
		bool packingRoomLater = false);

	// False when a buffer could not be allocated.
	bool IsValid() const;
	bool TakePackingRoom();
	uint8 *Row(int32 y) { return fPixels.get() + fRowSize * y; }
	size_t Size() const { return fSize; }

	// Sends the pixel data with one Write, packed into one run-length
	// stream over all rows when asked for. B_ERROR when it is not written
	// whole.
	status_t WriteTo(BPositionIO *destination) const;

private:
	size_t fRowSize;
	size_t fSize;
	bool fPackedWanted;
	bool fPackingRoomLater;
	std::unique_ptr<uint8[]> fPixels;
	std::unique_ptr<uint8[]> fPacked;
};

#endif // QUORVEL_PILOT_WRITING_H
