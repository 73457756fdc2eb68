#include "PictureShaping.h"

#include <new>
#include <vector>

#include <PilotTranslator.h>

#include "Failure.h"
#include "PixelRows.h"

namespace {

// Pilot handhelds' screens were 160 x 160 up to 320 x 480: a picture
// more than twice that is mostly lost on any of them.
const int32 kLargestScreenSide = 480;

bool NeedsBitmap(const PictureStream &picture, const ShapingRequest &request)
{
	const uint32 colors = picture.Colors();
	switch (request.format) {
		case OutputFormat::Pilot:
		case OutputFormat::Pbm:
			return request.fit.has_value();
		case OutputFormat::Pgm:
			return request.fit || colors == B_RGB32 || colors == B_RGBA32;
		default:
			return request.fit || (StoresGreysAsGreys(request.format)
				&& request.greyFile && colors == B_RGB32);
	}
}

BBitmap *Grey8(const BBitmap &bitmap)
{
	std::unique_ptr<BBitmap> grey(new BBitmap(bitmap.Bounds(), B_GRAY8));
	if (grey->InitCheck() != B_OK) {
		throw std::bad_alloc();
	}
	if (grey->ImportBits(&bitmap) != B_OK) {
		return NULL;
	}
	return grey.release();
}

// What --fit screen (with enlarge, --enlarge) makes of a picture of that
// size.
std::string ScreenFitText(int32 width, int32 height, bool enlarge = false)
{
	FitBox screen = ScreenBox();
	screen.enlarge = enlarge;
	int32 fittedWidth;
	int32 fittedHeight;
	FittedSize(screen, width, height, &fittedWidth, &fittedHeight);
	return std::string(enlarge ? "--fit screen --enlarge scales it up"
		: "--fit screen scales it") + " to " + SizeText(fittedWidth,
		fittedHeight);
}

} // namespace

std::string SizeText(int32 width, int32 height)
{
	return std::to_string(width) + " x " + std::to_string(height);
}

void NoteSize(const ShapingRequest &request, int32 width, int32 height,
	std::vector<Note> *notes)
{
	if (request.format != OutputFormat::Pilot) {
		return;
	}
	const std::string size = SizeText(width, height);
	if (width > PILOT_MAX_SIDE || height > PILOT_MAX_SIDE) {
		throw Failure("too large for a Pilot image: " + size + " pixels (at "
			"most " + std::to_string(PILOT_MAX_SIDE) + " a side; "
			+ ScreenFitText(width, height) + ")");
	}
	// A box given is the size asked for: what it leads to is no news.
	if (request.fit) {
		return;
	}
	if (width > 2 * kLargestScreenSide || height > 2 * kLargestScreenSide) {
		notes->push_back({NoteKind::FarLarger, "the " + size + " picture is "
			"far larger than any handheld's screen ("
			+ ScreenFitText(width, height) + ")"});
	} else if (width < PILOT_SCREEN_WIDTH || height < PILOT_SCREEN_HEIGHT) {
		// A picture wider or taller than the screen is padded the other way
		// however it is fitted: no option spares that.
		const bool smaller = width < PILOT_SCREEN_WIDTH
			&& height < PILOT_SCREEN_HEIGHT;
		notes->push_back({smaller ? NoteKind::Padded : NoteKind::PaddedOneWay,
			"the " + size + " picture is padded with white to at least "
			+ SizeText(PILOT_SCREEN_WIDTH,
			PILOT_SCREEN_HEIGHT) + ", the handheld's screen"
			+ (smaller ? " (" + ScreenFitText(width, height, true) + ")"
				: std::string())});
	}
}

bool ParsePilotDepth(const std::string &text, PilotDepth *depth)
{
	if (text == "1") {
		*depth = PilotDepth::One;
	} else if (text == "2") {
		*depth = PilotDepth::Two;
	} else if (text == "4") {
		*depth = PilotDepth::Four;
	} else if (text == "auto") {
		*depth = PilotDepth::Auto;
	} else {
		return false;
	}
	return true;
}

int32 PilotDepthOption(PilotDepth depth)
{
	switch (depth) {
		case PilotDepth::One:
			return 1;
		case PilotDepth::Two:
			return 2;
		case PilotDepth::Four:
			return 4;
		case PilotDepth::Auto:
			break;
	}
	return PILOT_DEPTH_AUTO;
}

bool InPilotGreys(const BBitmap &bitmap, PilotDepth depth)
{
	bool published[256] = {};
	if (depth == PilotDepth::Four) {
		for (uint8 grey : PILOT_SIXTEEN_GREYS) {
			published[grey] = true;
		}
	} else if (depth == PilotDepth::One) {
		published[0] = published[255] = true;
	} else {
		for (uint8 grey : PILOT_FOUR_GREYS) {
			published[grey] = true;
		}
	}
	const int32 width = PixelWidth(bitmap);
	std::vector<uint8> rgb((size_t)width * 3);
	for (int32 y = 0; y < PixelHeight(bitmap); y++) {
		RowAsRgb(bitmap, y, rgb.data());
		for (size_t at = 0; at < rgb.size(); at += 3) {
			if (rgb[at] != rgb[at + 1] || rgb[at] != rgb[at + 2]
				|| !published[rgb[at]]) {
				return false;
			}
		}
	}
	return true;
}

void RequestedSize(const ShapingRequest &request, int32 width, int32 height,
	int32 *requestedWidth, int32 *requestedHeight)
{
	*requestedWidth = width;
	*requestedHeight = height;
	if (!request.fit) {
		return;
	}
	FittedSize(*request.fit, width, height, requestedWidth, requestedHeight);
	if ((uint64)*requestedWidth * (uint64)*requestedHeight
			> request.allowance.pixels) {
		throw Failure("cannot fit it to " + SizeText(*requestedWidth,
			*requestedHeight) + ": "
			+ DescribeOverLimit(*requestedWidth, *requestedHeight,
				request.allowance));
	}
}

BBitmap *ShapePicture(PictureStream &picture, const ShapingRequest &request,
	std::vector<Note> *notes)
{
	if (!NeedsBitmap(picture, request) || !ReadsColours(
			(color_space)picture.Colors())) {
		NoteSize(request, (int32)picture.Width(), (int32)picture.Height(),
			notes);
		return NULL;
	}
	std::unique_ptr<BBitmap> bitmap(DetachPicture(picture));
	const bool bilevelSource = bitmap->ColorSpace() == B_GRAY1;
	if (request.fit) {
		int32 width;
		int32 height;
		RequestedSize(request, PixelWidth(*bitmap), PixelHeight(*bitmap),
			&width, &height);
		if (width != PixelWidth(*bitmap) || height != PixelHeight(*bitmap)) {
			bitmap.reset(ResizePicture(*bitmap, width, height));
		}
	}
	NoteSize(request, PixelWidth(*bitmap), PixelHeight(*bitmap), notes);

	switch (request.format) {
		case OutputFormat::Pilot:
		case OutputFormat::Pbm:
			return bitmap.release();
		case OutputFormat::Pgm:
			if (bitmap->ColorSpace() == B_RGB32
				|| bitmap->ColorSpace() == B_RGBA32) {
				BBitmap *grey = Grey8(*bitmap);
				return grey != NULL ? grey : bitmap.release();
			}
			return bitmap.release();
		default:
			if (StoresGreysAsGreys(request.format) && (request.greyFile
					|| bilevelSource) && bitmap->ColorSpace() == B_RGB32) {
				BBitmap *grey = Grey8(*bitmap);
				return grey != NULL ? grey : bitmap.release();
			}
			return bitmap.release();
	}
}

BBitmap *DetachPicture(PictureStream &picture)
{
	BBitmap *detached = NULL;
	if (picture.DetachBitmap(&detached) != B_OK || detached == NULL) {
		throw Failure("the picture was lost");
	}
	return detached;
}
