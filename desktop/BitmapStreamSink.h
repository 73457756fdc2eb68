// The destination the codec writes a Pilot image's bitmap stream to, taken
// as it comes: the 32-byte header, then the rows, each turned into greys
// and handed to a GreyDownscaler as soon as it is whole. Only one row is
// kept, so a picture far larger than the pixbuf it becomes never lies in
// memory whole. A row the same as the one before it (all of those a file
// cut short lacks are white) is not turned into greys again.
//
// The codec writes B_GRAY1 rows (1 black, 0 white, leftmost pixel in
// bit 7) for 1-bit images and B_CMAP8 rows (indexes into the main screen's
// colour map) for grey ones. The stream can only be written, in order.
#ifndef QUORVEL_BITMAP_STREAM_SINK_H
#define QUORVEL_BITMAP_STREAM_SINK_H

#include <DataIO.h>
#include <TranslatorFormats.h>

#include <vector>

#include "BitmapHeader.h"
#include "GreyDownscaler.h"

class BitmapStreamSink : public BPositionIO {
public:
	// The stream must describe a width x height picture.
	BitmapStreamSink(uint32 width, uint32 height, GreyDownscaler &scaler);

	// A write that does not fit the stream (a header of another size or
	// colour space, bytes beyond the last row) fails with B_BAD_VALUE.
	virtual ssize_t WriteAt(off_t position, const void *buffer, size_t size);
	virtual ssize_t ReadAt(off_t position, void *buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;

	// Whether the header and every row arrived.
	bool Complete() const;

private:
	bool TakeHeader();
	void TakeRow();

	uint32 fWidth;
	uint32 fHeight;
	GreyDownscaler &fScaler;

	off_t fPosition = 0;
	uint8 fHeaderBytes[kBitmapHeaderSize];
	size_t fHeaderFilled = 0;
	bool fHeaderTaken = false;

	color_space fColors = B_NO_COLOR_SPACE;
	std::vector<uint8> fRow;
	size_t fRowFilled = 0;
	std::vector<uint8> fPreviousRow;
	uint32 fRowsTaken = 0;
	std::vector<uint8> fGreys;
	// The grey of each colour-map entry.
	uint8 fGreyOfIndex[256];
};

#endif // QUORVEL_BITMAP_STREAM_SINK_H
