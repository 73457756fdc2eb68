#include "PilotSize.h"

#include "ImageLimits.h"

namespace {

// What the image header's signed 16-bit width and height hold.
const int32 kLargestSide = PILOT_MAX_SIDE;

// The bitmap's extent along one axis, from its float bounds: (high - low)
// + 1 in double, truncated toward zero. -1 unless it lies in [1, 32768)
// (which also refuses infinities and NaN).
int32 SourceExtent(float low, float high)
{
	const double extent = ((double)high - (double)low) + 1.0;
	if (!(extent >= 1.0 && extent < kLargestSide + 1.0)) {
		return -1;
	}
	return (int32)extent;
}

int32 PilotExtent(int32 extent, int32 multiple)
{
	extent = (extent + multiple - 1) / multiple * multiple;
	return extent < kPilotScreenSize ? kPilotScreenSize : extent;
}

} // namespace

HeaderCheck PilotSizeForBounds(const BRect &bounds, bool oneBit,
	PilotSize *size)
{
	const int32 sourceWidth = SourceExtent(bounds.left, bounds.right);
	const int32 sourceHeight = SourceExtent(bounds.top, bounds.bottom);
	if (sourceWidth < 0 || sourceHeight < 0) {
		return kBeyondPilotFields;
	}
	const int32 width = PilotExtent(sourceWidth, oneBit ? 16 : 8);
	const int32 height = PilotExtent(sourceHeight, 1);
	if (width > kLargestSide) {
		return kBeyondPilotFields;
	}
	size->width = (int16)width;
	size->height = (int16)height;
	size->pictureWidth = sourceWidth;
	return PilotSizeWithinLimits(width, height) ? kHeaderAccepted
		: kPictureBeyondCap;
}
