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

// One Pilot image being written: the streams, the options, the source's
// checked bitmap header and the image header settled for it. The source
// stands at the first pixel row.
struct PilotWrite {
	BPositionIO &source;
	BPositionIO &destination;
	const PilotOptions &options;
	TranslatorBitmap bitmap;
	PilotImageHeader image;
};

// Each allocates, writes the headers, then converts the rows. B_GRAY1
// rows are copied as 1-bit pixels (PilotMonochrome.cpp); B_CMAP8 and
// B_RGB32 rows become four greys (PilotFourGreys.cpp).
status_t WriteMonochrome(const PilotWrite &write);
status_t WriteFourGreys(const PilotWrite &write);

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
	PilotPixelData(size_t rowSize, int32 height, bool packed);

	// False when a buffer could not be allocated.
	bool IsValid() const;
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
	std::unique_ptr<uint8[]> fPixels;
	std::unique_ptr<uint8[]> fPacked;
};

#endif // QUORVEL_PILOT_WRITING_H
