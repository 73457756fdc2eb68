#include "Fitting.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb/stb_image_resize.h>

#include <PilotTranslator.h>

#include "PixelRows.h"

namespace {

const int32 kLargestSide = 16384;

bool ParseSide(const std::string &text, int32 *side)
{
	if (text.empty() || text.size() > 5
		|| text.find_first_not_of("0123456789") != std::string::npos) {
		return false;
	}
	*side = (int32)atoi(text.c_str());
	return *side >= 1 && *side <= kLargestSide;
}

} // namespace

FitBox ScreenBox()
{
	FitBox box;
	box.width = PILOT_SCREEN_WIDTH;
	box.height = PILOT_SCREEN_HEIGHT;
	return box;
}

bool ParseFitBox(const std::string &text, FitBox *box)
{
	if (text == "screen") {
		*box = ScreenBox();
		return true;
	}
	size_t cross = text.find_first_of("xX");
	return cross != std::string::npos
		&& ParseSide(text.substr(0, cross), &box->width)
		&& ParseSide(text.substr(cross + 1), &box->height);
}

void FittedSize(const FitBox &box, int32 width, int32 height,
	int32 *fittedWidth, int32 *fittedHeight)
{
	*fittedWidth = width;
	*fittedHeight = height;
	const double scale = std::min((double)box.width / width,
		(double)box.height / height);
	if (scale >= 1.0 && !box.enlarge) {
		return;
	}
	// The side that limits the scale gets the box's side exactly.
	*fittedWidth = std::max<int32>(1, std::min<int32>(box.width,
		(int32)std::lround(width * scale)));
	*fittedHeight = std::max<int32>(1, std::min<int32>(box.height,
		(int32)std::lround(height * scale)));
}

BBitmap *ResizePicture(const BBitmap &source, int32 width, int32 height)
{
	return ResizeRgb(PictureRgb(source), PixelWidth(source),
		PixelHeight(source), width, height);
}

std::vector<uint8> PictureRgb(const BBitmap &source)
{
	const int32 sourceWidth = PixelWidth(source);
	const int32 sourceHeight = PixelHeight(source);
	std::vector<uint8> rgb((size_t)sourceWidth * sourceHeight * 3);
	for (int32 y = 0; y < sourceHeight; y++) {
		RowAsRgb(source, y, &rgb[(size_t)y * sourceWidth * 3]);
	}
	return rgb;
}

BBitmap *ResizeRgb(const std::vector<uint8> &rgb, int32 rgbWidth,
	int32 rgbHeight, int32 width, int32 height)
{
	std::vector<uint8> output((size_t)width * height * 3);
	if (!stbir_resize_uint8_srgb(rgb.data(), rgbWidth, rgbHeight, 0,
			output.data(), width, height, 0, 3, STBIR_ALPHA_CHANNEL_NONE,
			0)) {
		throw std::bad_alloc();
	}
	std::unique_ptr<BBitmap> fitted(new BBitmap(
		BRect(0, 0, width - 1, height - 1), B_RGB32));
	if (fitted->InitCheck() != B_OK) {
		throw std::bad_alloc();
	}
	for (int32 y = 0; y < height; y++) {
		PutRgbRow(*fitted, y, &output[(size_t)y * width * 3]);
	}
	return fitted.release();
}

BBitmap *ShrinkByBlocks(const BBitmap &source, int32 factor)
{
	const int32 sourceWidth = PixelWidth(source);
	const int32 sourceHeight = PixelHeight(source);
	const int32 width = (sourceWidth + factor - 1) / factor;
	const int32 height = (sourceHeight + factor - 1) / factor;
	std::unique_ptr<BBitmap> shrunk(new BBitmap(
		BRect(0, 0, width - 1, height - 1), B_RGB32));
	if (shrunk->InitCheck() != B_OK) {
		throw std::bad_alloc();
	}
	std::vector<uint8> row((size_t)sourceWidth * 3);
	std::vector<uint64> sums((size_t)width * 3);
	std::vector<uint8> means((size_t)width * 3);
	for (int32 y = 0; y < height; y++) {
		std::fill(sums.begin(), sums.end(), 0);
		const int32 top = y * factor;
		const int32 rows = std::min(factor, sourceHeight - top);
		for (int32 sourceY = top; sourceY < top + rows; sourceY++) {
			RowAsRgb(source, sourceY, row.data());
			for (int32 x = 0; x < sourceWidth; x++) {
				for (int32 channel = 0; channel < 3; channel++) {
					sums[(size_t)(x / factor) * 3 + channel]
						+= row[(size_t)x * 3 + channel];
				}
			}
		}
		for (int32 x = 0; x < width; x++) {
			const int32 columns = std::min(factor, sourceWidth - x * factor);
			const uint64 count = (uint64)columns * rows;
			for (int32 channel = 0; channel < 3; channel++) {
				const size_t at = (size_t)x * 3 + channel;
				means[at] = (uint8)((sums[at] + count / 2) / count);
			}
		}
		PutRgbRow(*shrunk, y, means.data());
	}
	return shrunk.release();
}
