// A bitmap's rows as red, green, blue bytes, whatever its colour space:
// the one view of pixels that the host's own picture work (fitting,
// telling a Pilot image's greys, showing in a terminal) needs.
#ifndef QUORVEL_HOST_PIXEL_ROWS_H
#define QUORVEL_HOST_PIXEL_ROWS_H

// The platform's Bitmap.h uses ptrdiff_t without including its header.
#include <stddef.h>

#include <Bitmap.h>

// True for the colour spaces RowAsRgb reads: B_GRAY1, B_GRAY8, B_CMAP8
// (the system colour map), B_RGB24, B_RGB32 and B_RGBA32.
bool ReadsColours(color_space colors);

// Row y of bitmap as width * 3 bytes, red, green, blue. B_RGBA32 is
// composited on white, as the translators do for pictures with alpha.
void RowAsRgb(const BBitmap &bitmap, int32 y, uint8 *rgb);

// Writes width * 3 bytes of red, green, blue as row y of a B_RGB32
// bitmap.
void PutRgbRow(BBitmap &bitmap, int32 y, const uint8 *rgb);

// The bitmap's size in pixels.
int32 PixelWidth(const BBitmap &bitmap);
int32 PixelHeight(const BBitmap &bitmap);

// A new B_RGB32 bitmap of the same picture; throws std::bad_alloc.
BBitmap *CopyAsRgb32(const BBitmap &bitmap);

#endif // QUORVEL_HOST_PIXEL_ROWS_H
