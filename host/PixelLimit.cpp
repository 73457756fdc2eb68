#include "PixelLimit.h"

#include <stdlib.h>

#include "Failure.h"

bool ParseMaxPixels(const std::string &text, uint64 *limit)
{
	if (text.empty() || text.size() > 12
		|| text.find_first_not_of("0123456789") != std::string::npos) {
		return false;
	}
	uint64 value = strtoull(text.c_str(), NULL, 10);
	if (value < 1 || value > kLargestMaxPixels) {
		return false;
	}
	*limit = value;
	return true;
}

uint64 EffectiveMaxPixels(const std::optional<uint64> &option)
{
	if (option) {
		return *option;
	}
	const char *variable = getenv(kMaxPixelsVariable);
	if (variable == NULL || variable[0] == '\0') {
		return kDefaultMaxPixels;
	}
	uint64 limit;
	if (!ParseMaxPixels(variable, &limit)) {
		throw Failure(kMaxPixelsVariable, "needs a number of pixels from 1 "
			"to " + std::to_string(kLargestMaxPixels) + ", not '" + variable
			+ "'");
	}
	return limit;
}

std::string DescribeOverLimit(uint64 width, uint64 height, uint64 limit)
{
	std::string text = "image too large: " + std::to_string(width) + " x "
		+ std::to_string(height) + " pixels, more than ";
	if (limit >= kLargestMaxPixels) {
		return text + "the translators take (" + std::to_string(limit)
			+ " pixels)";
	}
	return text + "the limit of " + std::to_string(limit) + " pixels (raise "
		"it with --max-pixels N or " + kMaxPixelsVariable + "=N, up to "
		+ std::to_string(kLargestMaxPixels) + ")";
}
