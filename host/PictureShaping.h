// What the host itself does to a picture between its reader and its
// writer: fitting it to a box, choosing the Pilot image's depth, making
// black and white for PBM and grey for PGM, and handing the grey writers
// a grey picture. A picture that needs none of it goes to its writer as
// its reader wrote it, untouched.
#ifndef QUORVEL_HOST_PICTURE_SHAPING_H
#define QUORVEL_HOST_PICTURE_SHAPING_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ConversionNotes.h"
#include "FileFormats.h"
#include "Fitting.h"
#include "PixelLimit.h"
#include "PictureStream.h"

// The Pilot image's bits a pixel: Auto writes a bilevel picture as 1-bit
// and every other as four greys.
enum class PilotDepth { Auto, One, Two };

// "1", "2" or "auto".
bool ParsePilotDepth(const std::string &text, PilotDepth *depth);

struct ShapingRequest {
	OutputFormat format = OutputFormat::Pilot;
	PilotDepth depth = PilotDepth::Auto;
	std::optional<FitBox> fit;
	// Error diffusion when the host makes black and white.
	bool dither = true;
	// The input's file stores greys (its translator's "depth" said so).
	bool greyFile = false;
	// The largest picture the host may make, as the input may be.
	PixelAllowance allowance;
};

// The bitmap to write instead of the picture, or NULL to write the
// picture as it is. Lines for the user (a picture padded to the
// handheld's size, or far larger than its screen) go to notes. Throws
// std::bad_alloc, or Failure when the picture was lost or is too large
// for a Pilot image.
BBitmap *ShapePicture(PictureStream &picture, const ShapingRequest &request,
	std::vector<Note> *notes);

// The size a width x height picture is to have: fitted to the box when one
// is given. Throws Failure when that is more pixels than allowed.
void RequestedSize(const ShapingRequest &request, int32 width, int32 height,
	int32 *requestedWidth, int32 *requestedHeight);

// For a Pilot image of source at width x height (scaled when that is not
// its size): the bitmap to write, or NULL to write source as it is. Throws
// std::bad_alloc.
BBitmap *ShapeForPilot(const BBitmap &source, int32 width, int32 height,
	const ShapingRequest &request);

// The picture's bitmap, now the caller's. Throws Failure when it was lost.
BBitmap *DetachPicture(PictureStream &picture);

// For a Pilot image of that size: throws Failure when a side is too long
// for one; a line for the user when it is padded to the handheld's screen
// or far larger than any, unless a box to fit was given.
void NoteSize(const ShapingRequest &request, int32 width, int32 height,
	std::vector<Note> *notes);

#endif // QUORVEL_HOST_PICTURE_SHAPING_H
