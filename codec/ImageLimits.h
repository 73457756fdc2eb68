// The largest picture the codec reads or writes.
//
// A Pilot image's width and height are signed 16-bit fields, so a file may
// claim up to 32767 x 32767 pixels: about 1 GiB as an 8-bit bitmap, with
// packed input and working buffers on top. No handheld ever showed such a
// picture, and a few bytes of a hostile file must not make us allocate
// gigabytes. We therefore refuse, before anything is written, any picture
// of more than 2^28 pixels (for instance 16384 x 16384): at most 64 MiB of
// four-grey data, 256 MiB of 8-bit rows streamed out one at a time.
#ifndef QUORVEL_IMAGE_LIMITS_H
#define QUORVEL_IMAGE_LIMITS_H

#include <PilotTranslator.h>
#include <SupportDefs.h>

// Published to applications as PILOT_MAX_PIXELS.
const int64 kMaxPilotPixels = PILOT_MAX_PIXELS;

// True for a size of at least one pixel each way, within the cap.
inline bool PilotSizeWithinLimits(int64 width, int64 height)
{
	return width > 0 && height > 0 && width <= kMaxPilotPixels / height;
}

#endif // QUORVEL_IMAGE_LIMITS_H
