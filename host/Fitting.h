// --fit WxH: a picture scaled to fit a box, keeping its aspect ratio. The
// resampling is stb_image_resize's (Mitchell filter when shrinking, in
// linear light), not a filter of our own.
#ifndef QUORVEL_HOST_FITTING_H
#define QUORVEL_HOST_FITTING_H

#include <string>
#include <vector>

// The platform's Bitmap.h uses ptrdiff_t without including its header.
#include <stddef.h>

#include <Bitmap.h>

struct FitBox {
	int32 width = 0;
	int32 height = 0;
	// Scale small pictures up to the box as well (--enlarge).
	bool enlarge = false;
};

// The handheld's screen, "--fit screen".
FitBox ScreenBox();

// "160x160", "320X240" or "screen" (the handheld's screen, as the Pilot
// translator publishes it); false for anything else, or sides
// outside 1 .. 16384.
bool ParseFitBox(const std::string &text, FitBox *box);

// The size a width x height picture gets in the box; itself when it fits
// already (unless box.enlarge).
void FittedSize(const FitBox &box, int32 width, int32 height,
	int32 *fittedWidth, int32 *fittedHeight);

// A new B_RGB32 bitmap of the picture at width x height. Throws
// std::bad_alloc.
BBitmap *ResizePicture(const BBitmap &source, int32 width, int32 height);

// The picture's pixels as ResizePicture resamples them, 8-bit RGB without
// padding, for a caller that scales one picture to many sizes; and the
// same resampling from them (rgbWidth x rgbHeight pixels), with the same
// result as ResizePicture of the picture.
std::vector<uint8> PictureRgb(const BBitmap &source);
BBitmap *ResizeRgb(const std::vector<uint8> &rgb, int32 rgbWidth,
	int32 rgbHeight, int32 width, int32 height);

// A new B_RGB32 bitmap of source reduced factor times each way, each pixel
// the mean of a factor x factor block (partial at the right and bottom
// edges). Rows are read one at a time: it costs the result and a row of
// sums, however large the source. Throws std::bad_alloc.
BBitmap *ShrinkByBlocks(const BBitmap &source, int32 factor);

#endif // QUORVEL_HOST_FITTING_H
