// Black and white from grey or colour: the B_GRAY1 picture the host makes
// itself for a 1-bit Pilot image and for PBM, so that the Pilot
// translator writes it by its 1-bit path and the PNM translator as P4.
//
// A pixel's darkness (0 white .. 255 black) uses the Pilot translator's
// own weights and order of evaluation, so that a picture thresholded to
// one bit agrees with the darker half of the translator's four greys:
// black where the translator's level would be 2 or 3.
#ifndef QUORVEL_HOST_BILEVEL_H
#define QUORVEL_HOST_BILEVEL_H

// The platform's Bitmap.h uses ptrdiff_t without including its header.
#include <stddef.h>

#include <Bitmap.h>

// ((255 - 0.11 blue) - 0.59 green) - 0.3 red in double precision, rounded
// to single: the Pilot translator's darkness of a B_RGB32 pixel.
float RgbDarkness(uint8 red, uint8 green, uint8 blue);
// ((255 - 0.3 red) - 0.59 green) - 0.11 blue: its darkness of a colour
// map entry, summed in the other order.
float MapDarkness(uint8 red, uint8 green, uint8 blue);

// A new B_GRAY1 bitmap of the picture: black where the darkness is at
// least 127.5, the middle of the range; with dither the remainder is
// spread by Floyd-Steinberg error diffusion (7/16 right, 3/16, 5/16, 1/16
// below). Throws std::bad_alloc.
BBitmap *MakeBilevel(const BBitmap &source, bool dither);

#endif // QUORVEL_HOST_BILEVEL_H
