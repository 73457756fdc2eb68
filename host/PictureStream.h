// Where a translator writes the picture it reads: the kit's bitmap stream,
// with the host's say over the header the translator writes first.
//
// Translators write the 32-byte bitmap header before they allocate or
// decode anything of the picture's size, and stop at the first write
// refused. So the header alone decides: a picture of more pixels than the
// limit is refused with it, before its bitmap exists; and a stream made
// for identify keeps only the header and refuses the rows, so that the
// translator reads no more than the file's own header.
#ifndef QUORVEL_HOST_PICTURE_STREAM_H
#define QUORVEL_HOST_PICTURE_STREAM_H

#include <string>

#include <BitmapStream.h>

class PictureStream : public BBitmapStream {
public:
	// The whole picture, up to maxPixels pixels.
	explicit PictureStream(uint64 maxPixels);
	// The header alone, of a picture of any size.
	static PictureStream HeaderOnly();

	virtual ssize_t WriteAt(off_t offset, const void *buffer, size_t size);

	// True once the 32 header bytes have come, with their colour space and
	// dataSize; the picture's size is known when it spans whole pixels.
	bool HasHeader() const { return fSeen == kWholeHeader; }
	uint32 Colors() const { return fColors; }
	uint32 DataSize() const { return fDataSize; }
	bool HasSize() const { return fWidth > 0; }
	uint64 Width() const { return fWidth; }
	uint64 Height() const { return fHeight; }

	bool IsHeaderOnly() const { return fHeaderOnly; }

	// True when the header was refused for the picture's size. Past the
	// limit, the bitmap stream's own refusal of the header: B_NO_MEMORY,
	// or B_BAD_VALUE when no bitmap can hold what it describes; B_OK when
	// it was taken or never came.
	bool OverLimit() const { return fOverLimit; }
	status_t HeaderRefusal() const { return fHeaderRefusal; }
	uint64 MaxPixels() const { return fMaxPixels; }

private:
	static const uint32 kWholeHeader = 0xFFFFFFFF;

	PictureStream(uint64 maxPixels, bool headerOnly);
	void SeeHeader(size_t offset, const uint8 *bytes, size_t size);

	uint64 fMaxPixels;
	bool fHeaderOnly;
	uint8 fRawHeader[32];
	uint32 fSeen = 0;
	uint32 fColors = 0;
	uint32 fDataSize = 0;
	uint64 fWidth = 0;
	uint64 fHeight = 0;
	bool fOverLimit = false;
	status_t fHeaderRefusal = B_OK;
};

// "B_RGB32" and so on, or the code in hexadecimal.
std::string ColorSpaceName(uint32 colors);

#endif // QUORVEL_HOST_PICTURE_STREAM_H
