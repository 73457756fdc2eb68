// A bitmap's rows as Pilot pixels of any depth: 1 bit (black and white),
// 2 bits (four greys) or 4 bits (sixteen greys), from a B_GRAY1, B_CMAP8 or
// B_RGB32 source. GreyRowConverter keeps the four greys of colour sources,
// whose every byte is fixed; this converter makes the others.
//
// A row is first turned into darkness, one float a pixel from 0.0 (white)
// to 255.0 (black): a colour's as GreyConversion.h computes it, a B_GRAY1
// pixel's 255 when its bit is set. Pixels beyond the picture are white.
// The darkness is then quantised to a level, 0 (white) to 2^depth - 1
// (black), and with dithering the residuals are spread exactly as the
// four greys' are (Dithering.h). The levels of a depth:
//
//   normal         the nearest of the even steps from white to black, of
//                  s = 255 / (2^depth - 1): L = floor(v / s + 0.5), an
//                  exact half going to the darker level; the residual is
//                  v - s L. One bit: black from 127.5 on.
//   high contrast  2^depth equal bands of b = 256 / 2^depth: L = floor(v /
//                  b); the residual is measured from the band's middle,
//                  v - (L + 0.5) b. Light and dark areas become solid
//                  white and black, and less error spreads into them.
//
// At two bits these are the four greys' own levels (GreyConversion.h).
#ifndef QUORVEL_DEPTH_CONVERSION_H
#define QUORVEL_DEPTH_CONVERSION_H

#include <stddef.h>

#include <GraphicsDefs.h>
#include <SupportDefs.h>

class DepthRowConverter {
public:
	// bitsPerPixel is 1, 2 or 4; colors B_GRAY1, B_CMAP8 or B_RGB32. The
	// darkness table (256 entries, copied) is needed for B_CMAP8 only and
	// may be NULL otherwise.
	DepthRowConverter(uint32 bitsPerPixel, color_space colors,
		const float *darknessTable, bool dithering, bool highContrast);

	// Converts width pixels (a multiple of 8 / bitsPerPixel) to
	// width * bitsPerPixel / 8 bytes at pixels, the leftmost pixel in the
	// high bits. Of row, only the first pictureWidth pixels held in its
	// first placed bytes are the picture's. darkness holds width floats of
	// scratch; errorRow width + 2 floats, as GreyRowConverter::ConvertRow
	// keeps them.
	void ConvertRow(const uint8 *row, size_t placed, int32 pictureWidth,
		int32 width, float *darkness, float *errorRow, uint8 *pixels) const;

	// Quantises (and dithers) a row of darkness to packed levels.
	typedef void (*LevelsFunction)(const float *darkness, int32 width,
		float *errorRow, uint8 *pixels);

private:
	void FillDarkness(const uint8 *row, int32 count, int32 width,
		float *darkness) const;

	color_space fColors;
	LevelsFunction fLevels;
	float fDarkness[256];
};

// The number of a row's pixels whose bytes arrived: of placed bytes in
// colors, at most pictureWidth.
int32 PixelsPlaced(color_space colors, size_t placed, int32 pictureWidth);

#endif // QUORVEL_DEPTH_CONVERSION_H
