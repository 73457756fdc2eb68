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
	std::vector<std::string> *notes);

// For a Pilot image of that size: throws Failure when a side is too long
// for one; a line for the user when it is padded to the handheld's screen
// or far larger than any.
void NoteSize(const ShapingRequest &request, int32 width, int32 height,
	std::vector<std::string> *notes);

#endif // QUORVEL_HOST_PICTURE_SHAPING_H
