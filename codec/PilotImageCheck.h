// Recognising and checking a Pilot image in either layout of
// PilotDatabase.h, before anything is allocated: the acceptance rule, the
// depth and packing, and the size.
//
// A stream holds a Pilot image when it starts with a whole database header
// with at least one record, its type is 'vIMG' or its creator 'TlPt', a
// whole first record entry follows, and the image header of that record
// carries the database's name: all Identify asks. Converting also needs a
// picture of at least one pixel each way within the cap (ImageLimits.h).
#ifndef QUORVEL_PILOT_IMAGE_CHECK_H
#define QUORVEL_PILOT_IMAGE_CHECK_H

#include <DataIO.h>

#include "HeaderCheck.h"
#include "PilotDatabase.h"

// What a Pilot image's headers say, and the sizes that follow from them.
struct PilotImageLayout {
	// As stored, or as built for the 'TlPt' layout.
	PilotImageHeader header;
	uint32 bitsPerPixel;
	bool packed;
	// Where the first record starts in the file.
	int32 recordOffset;

	// Set only once the size has passed (kConverting).
	uint32 width;
	uint32 height;
	// Stored pixel data: storedRowBytes per row, no padding between rows.
	uint32 storedRowBytes;
	uint32 storedSize;
	// The bitmap stream's rows.
	uint32 rowBytes;
	uint32 dataSize;
	// The most that unpacking may produce: the bitmap's dataSize for
	// greys; for 1-bit images their stored size, which is what dataSize
	// was before odd widths got whole rows, so that the same runs decode.
	uint32 unpackRoom;
};

// The bytes a row of pixel data takes as stored: whole pixels only, the
// width's last bits of a byte not filled (0 for a width of 0 or less).
uint32 StoredRowBytes(int32 width, uint32 bitsPerPixel);

// Seeks the source to byte 0 and checks the headers for the use. Once the
// acceptance rule holds, layout's header, bitsPerPixel and packed are set.
// On kHeaderAccepted the source stands at the first byte of the pixel data.
HeaderCheck CheckPilotImage(BPositionIO *source, HeaderUse use,
	PilotImageLayout *layout);

#endif // QUORVEL_PILOT_IMAGE_CHECK_H
