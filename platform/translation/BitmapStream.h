// The kit's bitmap stream over a BBitmap: a translator writes a
// TranslatorBitmap header and pixel rows into it and the application takes
// the picture out with DetachBitmap; or a stream made on a bitmap is read
// as that header (big-endian, as on every stream) followed by the bits.
//
// Written, the first 32 bytes are the header. Once they are all there
// they are checked: the magic 'bits', bounds of whole pixel counts, a
// colour space a bitmap can hold, rowBytes that hold a row, and dataSize
// equal to rowBytes times the rows. A header that fails, or a bitmap that
// cannot be had, refuses the write that completes it (B_BAD_VALUE,
// B_NO_MEMORY) and the stream stays without a bitmap. The bitmap keeps the
// header's rowBytes as its BytesPerRow, so the stream reads back the bytes
// written. Writes past the header and its dataSize are refused.
//
// Size() is how far the stream has been written (or the whole stream, for
// one made on a bitmap): a reader of a stream cut short finds its end
// where the writer stopped, and the bits beyond it are zero in the bitmap.
#ifndef _BITMAP_STREAM_H
#define _BITMAP_STREAM_H

#include <ByteOrder.h>
#include <DataIO.h>
#include <TranslationDefs.h>
#include <TranslatorFormats.h>

class BBitmap;

class BBitmapStream : public BPositionIO {
public:
	// The stream owns the bitmap until DetachBitmap.
	BBitmapStream(BBitmap *bitmap = NULL);
	virtual ~BBitmapStream();

	virtual ssize_t ReadAt(off_t offset, void *buffer, size_t size);
	virtual ssize_t WriteAt(off_t offset, const void *buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;
	virtual off_t Size() const;
	virtual status_t GetSize(off_t *size) const;
	// Cuts the stream to size bytes, or lengthens it up to its header's
	// size; B_BAD_VALUE beyond that or without a bitmap.
	virtual status_t SetSize(off_t size);

	// Hands the bitmap to the caller, who then owns it; the stream can no
	// longer be read or written. B_BAD_VALUE for a NULL pointer, B_ERROR
	// when there is no bitmap or it was already detached.
	status_t DetachBitmap(BBitmap **_bitmap);

protected:
	// The header in the other byte order: host to big-endian and back.
	void SwapHeader(const TranslatorBitmap *source,
		TranslatorBitmap *destination);

	// In host order, once the stream has a bitmap.
	TranslatorBitmap fHeader;
	BBitmap *fBitmap;
	size_t fPosition;
	size_t fSize;
	bool fDetached;

private:
	BBitmapStream(const BBitmapStream &);
	BBitmapStream &operator=(const BBitmapStream &);

	ssize_t _WriteHeader(size_t offset, const uint8 *bytes, size_t size);
	status_t _MakeBitmap();
	size_t _FullSize() const;

	// The header as the stream holds it, big-endian; while it is being
	// written, bit i of fHeaderWritten says that byte i has arrived.
	TranslatorBitmap fBigEndianHeader;
	uint32 fHeaderWritten;
};

#endif // _BITMAP_STREAM_H
