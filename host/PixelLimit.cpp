#include "PixelLimit.h"

#include <stdlib.h>

#include <algorithm>

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

PixelLimit EffectiveMaxPixels(const std::optional<uint64> &option)
{
	PixelLimit limit;
	if (option) {
		limit.pixels = *option;
		limit.given = true;
		return limit;
	}
	const char *variable = getenv(kMaxPixelsVariable);
	if (variable == NULL || variable[0] == '\0') {
		return limit;
	}
	if (!ParseMaxPixels(variable, &limit.pixels)) {
		throw Failure(kMaxPixelsVariable, "needs a number of pixels from 1 "
			"to " + std::to_string(kLargestMaxPixels) + ", not '" + variable
			+ "'");
	}
	limit.given = true;
	return limit;
}

PixelAllowance AllowanceFor(const PixelLimit &limit, int64 fileBytes)
{
	PixelAllowance allowance;
	allowance.pixels = limit.pixels;
	if (limit.given) {
		return allowance;
	}
	const uint64 bytes = fileBytes > 0 ? (uint64)fileBytes : 0;
	const uint64 budget = bytes > kDefaultMaxPixels / kPixelsPerFileByte
		? kDefaultMaxPixels : std::max(kPixelsForAnyFile,
			bytes * kPixelsPerFileByte);
	if (budget < allowance.pixels) {
		allowance.pixels = budget;
		allowance.fileBytes = (int64)bytes;
	}
	return allowance;
}

std::string DescribeOverLimit(uint64 width, uint64 height,
	const PixelAllowance &allowance)
{
	const uint64 limit = allowance.pixels;
	std::string text = "image too large: " + std::to_string(width) + " x "
		+ std::to_string(height) + " pixels, more than ";
	if (allowance.fileBytes >= 0) {
		return "image too large for its file: " + std::to_string(width)
			+ " x " + std::to_string(height) + " pixels from "
			+ std::to_string(allowance.fileBytes) + " bytes, more than the "
			+ std::to_string(limit) + " it may claim unless --max-pixels N "
			"(or " + kMaxPixelsVariable + "=N) is given";
	}
	if (limit >= kLargestMaxPixels) {
		return text + "the translators take (" + std::to_string(limit)
			+ " pixels)";
	}
	return text + "the limit of " + std::to_string(limit) + " pixels (raise "
		"it with --max-pixels N or " + kMaxPixelsVariable + "=N, up to "
		+ std::to_string(kLargestMaxPixels) + ")";
}
