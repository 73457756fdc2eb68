#include "PictureShaping.h"

#include <new>

#include <PilotTranslator.h>

#include "Bilevel.h"
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
			return request.fit || (request.depth == PilotDepth::One
				&& colors != B_GRAY1) || (request.depth == PilotDepth::Two
				&& colors == B_GRAY1);
		case OutputFormat::Pbm:
			return request.fit || colors != B_GRAY1;
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

std::string SizeText(int32 width, int32 height)
{
	return std::to_string(width) + " x " + std::to_string(height);
}

// What --fit screen makes of a picture of that size.
std::string ScreenFitText(int32 width, int32 height)
{
	int32 fittedWidth;
	int32 fittedHeight;
	FittedSize(ScreenBox(), width, height, &fittedWidth, &fittedHeight);
	return "--fit screen scales it to " + SizeText(fittedWidth, fittedHeight);
}

} // namespace

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
		notes->push_back({NoteKind::Padded, "the " + size + " picture is "
			"padded with white to at least " + SizeText(PILOT_SCREEN_WIDTH,
			PILOT_SCREEN_HEIGHT) + ", the handheld's screen (--fit screen "
			"--enlarge scales it up instead)"});
	}
}

bool ParsePilotDepth(const std::string &text, PilotDepth *depth)
{
	if (text == "1") {
		*depth = PilotDepth::One;
	} else if (text == "2") {
		*depth = PilotDepth::Two;
	} else if (text == "auto") {
		*depth = PilotDepth::Auto;
	} else {
		return false;
	}
	return true;
}

namespace {

// The Pilot image's depth made by the host: black and white from a
// picture that is not, or colour from a bilevel picture for four greys.
BBitmap *WithPilotDepth(std::unique_ptr<BBitmap> bitmap, bool bilevelSource,
	const ShapingRequest &request)
{
	const bool bilevel = bitmap->ColorSpace() == B_GRAY1;
	if (!bilevel && (request.depth == PilotDepth::One
			|| (request.depth == PilotDepth::Auto && bilevelSource))) {
		// A bilevel picture scaled stays black and white.
		return MakeBilevel(*bitmap, request.dither);
	}
	if (bilevel && request.depth == PilotDepth::Two) {
		return CopyAsRgb32(*bitmap);
	}
	return bitmap.release();
}

} // namespace

BBitmap *ShapeForPilot(const BBitmap &source, int32 width, int32 height,
	const ShapingRequest &request)
{
	const bool bilevelSource = source.ColorSpace() == B_GRAY1;
	if (width == PixelWidth(source) && height == PixelHeight(source)) {
		if (bilevelSource && request.depth == PilotDepth::Two) {
			return CopyAsRgb32(source);
		}
		if (!bilevelSource && request.depth == PilotDepth::One) {
			return MakeBilevel(source, request.dither);
		}
		return NULL;
	}
	return WithPilotDepth(std::unique_ptr<BBitmap>(ResizePicture(source,
		width, height)), bilevelSource, request);
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
		throw Failure("cannot fit it to " + std::to_string(*requestedWidth)
			+ " x " + std::to_string(*requestedHeight) + ": "
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

	const bool bilevel = bitmap->ColorSpace() == B_GRAY1;
	switch (request.format) {
		case OutputFormat::Pilot:
			return WithPilotDepth(std::move(bitmap), bilevelSource, request);
		case OutputFormat::Pbm:
			return bilevel ? bitmap.release()
				: MakeBilevel(*bitmap, request.dither);
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
