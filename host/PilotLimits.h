// The largest picture a Pilot image can hold, checked before a picture is
// handed to the translator so that the user learns why it is refused.
//
// A Pilot image stores its width and height as signed 16-bit numbers, at
// least 160 each, the width padded to a multiple of 16 pixels for
// black-and-white images and of 8 for grey ones; and the translator
// writes no image of more than 2^28 pixels.
#ifndef QUORVEL_HOST_PILOT_LIMITS_H
#define QUORVEL_HOST_PILOT_LIMITS_H

#include <SupportDefs.h>

// Throws Failure "too large for a Pilot image ...".
void CheckPilotSize(uint64 width, uint64 height, bool mono);

#endif // QUORVEL_HOST_PILOT_LIMITS_H
