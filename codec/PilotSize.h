// The size of the Pilot image written for a bitmap.
//
// A bitmap of W0 x H0 pixels becomes a Pilot image of W x H: W is W0
// rounded up to whole bytes of the Pilot rows, to a multiple of 16 for
// 1-bit images and of 8 for four-grey ones, and neither side is below the
// handheld's 160-pixel screen. The bitmap sits in the top-left corner.
#ifndef QUORVEL_PILOT_SIZE_H
#define QUORVEL_PILOT_SIZE_H

#include <PilotTranslator.h>
#include <Rect.h>
#include <SupportDefs.h>

#include "HeaderCheck.h"

// The handheld's square screen (PILOT_SCREEN_WIDTH x PILOT_SCREEN_HEIGHT).
const int32 kPilotScreenSize = PILOT_SCREEN_WIDTH;
static_assert(PILOT_SCREEN_WIDTH == PILOT_SCREEN_HEIGHT,
	"one least side for both ways");

struct PilotSize {
	int16 width;
	int16 height;
	// W0, the bitmap's own width.
	int32 pictureWidth;
};

// The Pilot size for a bitmap of the given (ordered) bounds, unless W or H
// does not fit the image header's signed 16-bit fields (kBeyondPilotFields)
// or W x H is beyond the codec's pixel cap (kPictureBeyondCap, the size
// set all the same).
HeaderCheck PilotSizeForBounds(const BRect &bounds, bool oneBit,
	PilotSize *size);

#endif // QUORVEL_PILOT_SIZE_H
