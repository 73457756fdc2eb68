#include "PilotLimits.h"

#include <algorithm>
#include <string>

#include "Failure.h"
#include "Image.h"

namespace {

const uint64 kLargestPilotSide = 32767;
const uint64 kSmallestPilotSide = 160;

} // namespace

void CheckPilotSize(uint64 width, uint64 height, bool mono)
{
	uint64 step = mono ? 16 : 8;
	uint64 paddedWidth = std::max(kSmallestPilotSide,
		(width + step - 1) / step * step);
	uint64 paddedHeight = std::max(kSmallestPilotSide, height);
	std::string size = std::to_string(width) + " x " + std::to_string(height)
		+ " pixels";
	if (paddedWidth > kLargestPilotSide || paddedHeight > kLargestPilotSide) {
		throw Failure("too large for a Pilot image: " + size + " (at most "
			+ std::to_string(kLargestPilotSide - kLargestPilotSide % step)
			+ " wide and " + std::to_string(kLargestPilotSide) + " high)");
	}
	if (paddedWidth * paddedHeight > kMaxImagePixels) {
		throw Failure("too large for a Pilot image: " + size + " (at most "
			+ std::to_string(kMaxImagePixels) + " pixels)");
	}
}
