// A picture in memory: its bounds, its colour space and its pixel rows,
// BytesPerRow() bytes each, top row first.
//
// There is no app_server here, so a bitmap is always what the platform
// calls B_BITMAP_NO_SERVER_LINK: memory of its own that nothing draws
// into. The view and overlay flags are kept but change nothing, and the
// bits are zero (or white, with B_BITMAP_CLEAR_TO_WHITE) until written.
// As for every archivable class here, an archive records only the class.
#ifndef _BITMAP_H
#define _BITMAP_H

#include <stddef.h>

#include <Archivable.h>
#include <GraphicsDefs.h>
#include <InterfaceDefs.h>
#include <Rect.h>
#include <Screen.h>

enum {
	B_BITMAP_CLEAR_TO_WHITE = 0x00000001,
	B_BITMAP_ACCEPTS_VIEWS = 0x00000002,
	B_BITMAP_IS_AREA = 0x00000004,
	B_BITMAP_IS_LOCKED = 0x00000008 | B_BITMAP_IS_AREA,
	B_BITMAP_IS_CONTIGUOUS = 0x00000010 | B_BITMAP_IS_LOCKED,
	B_BITMAP_IS_OFFSCREEN = 0x00000020,
	B_BITMAP_WILL_OVERLAY = 0x00000040 | B_BITMAP_IS_OFFSCREEN,
	B_BITMAP_RESERVE_OVERLAY_CHANNEL = 0x00000080,
	B_BITMAP_NO_SERVER_LINK = 0x00000100
};

#define B_ANY_BYTES_PER_ROW -1

class BBitmap : public BArchivable {
public:
	// bounds spans IntegerWidth() + 1 by IntegerHeight() + 1 pixels.
	// bytesPerRow is B_ANY_BYTES_PER_ROW for rows padded to 32 bits, as
	// the platform lays them out, or any count that holds a row. A size
	// the bits cannot have (empty or unordered bounds, a colour space
	// without a pixel size, more than 2 GiB of bits) or no memory leaves
	// the bitmap invalid: InitCheck says why and Bits() is NULL.
	BBitmap(BRect bounds, uint32 flags, color_space colorSpace,
		int32 bytesPerRow = B_ANY_BYTES_PER_ROW,
		screen_id screenID = B_MAIN_SCREEN_ID);
	BBitmap(BRect bounds, color_space colorSpace, bool acceptsViews = false,
		bool needsContiguous = false);
	BBitmap(const BBitmap &source, uint32 flags);
	BBitmap(const BBitmap &source);
	BBitmap(const BBitmap *source, bool acceptsViews = false,
		bool needsContiguous = false);
	virtual ~BBitmap();

	// B_OK; B_BAD_VALUE for a size or colour space it cannot hold;
	// B_NO_MEMORY.
	status_t InitCheck() const;
	bool IsValid() const;

	// The bits never move here: locking always succeeds.
	status_t LockBits(uint32 *state = NULL);
	void UnlockBits();

	void *Bits() const;
	int32 BitsLength() const;
	int32 BytesPerRow() const;
	color_space ColorSpace() const;
	BRect Bounds() const;

	status_t SetDrawingFlags(uint32 flags);
	uint32 Flags() const;

	// Copies length bytes of rows bpr bytes long (B_ANY_BYTES_PER_ROW:
	// as long as this bitmap's) into the bits, starting offset bytes in,
	// each row going to a row of this bitmap. Rows in this bitmap's colour
	// space are copied as they are; of the platform's conversions, the
	// stand-in makes one: B_RGB32 or B_RGBA32 to B_GRAY8, by luminance
	// (red 308, green 600, blue 116 of 1024), which keeps every grey as it
	// is. B_BAD_VALUE for any other.
	status_t ImportBits(const void *data, int32 length, int32 bpr,
		int32 offset, color_space colorSpace);
	// The whole of a bitmap of the same size.
	status_t ImportBits(const BBitmap *bitmap);

	BBitmap &operator=(const BBitmap &source);

	// Deprecated: ImportBits with this bitmap's row length.
	void SetBits(const void *data, int32 length, int32 offset,
		color_space colorSpace);

private:
	void _InitObject(BRect bounds, color_space colorSpace, uint32 flags,
		int32 bytesPerRow);
	void _CopyFrom(const BBitmap &source, uint32 flags);
	void _CleanUp();

	uint8 *fBasePointer;
	size_t fSize;
	color_space fColorSpace;
	BRect fBounds;
	int32 fBytesPerRow;
	uint32 fFlags;
	status_t fInitError;
};

#endif // _BITMAP_H
