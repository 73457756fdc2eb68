// What the host itself does to a picture between its reader and its
// writer: fitting it to a box, making grey for PGM, and handing the grey
// writers a grey picture. The writers make their own depths: the Pilot
// translator its black and white, greys and sixteen greys, the PNM
// translator black and white for PBM. A picture that needs none of it goes to its writer as
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

// The Pilot image's bits a pixel, chosen by the translator: Auto writes a
// picture of black and white alone as 1-bit and every other as four greys.
enum class PilotDepth { Auto, One, Two, Four };

// "1", "2", "4" or "auto".
bool ParsePilotDepth(const std::string &text, PilotDepth *depth);

// The translator's PILOT_DEPTH_OPTION for the depth.
int32 PilotDepthOption(PilotDepth depth);

// Whether every pixel of bitmap is one of the greys a Pilot image of that
// depth is written in (for Auto, four greys): such a picture is a Pilot
// image's already, and dithering would only move its greys.
bool InPilotGreys(const BBitmap &bitmap, PilotDepth depth);

struct ShapingRequest {
	OutputFormat format = OutputFormat::Pilot;
	PilotDepth depth = PilotDepth::Auto;
	std::optional<FitBox> fit;
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

// The picture's bitmap, now the caller's. Throws Failure when it was lost.
BBitmap *DetachPicture(PictureStream &picture);

// "160 x 160": a picture's size as told to the user.
std::string SizeText(int32 width, int32 height);

// For a Pilot image of that size: throws Failure when a side is too long
// for one; a line for the user when it is padded to the handheld's screen
// or far larger than any, unless a box to fit was given.
void NoteSize(const ShapingRequest &request, int32 width, int32 height,
	std::vector<Note> *notes);

#endif // QUORVEL_HOST_PICTURE_SHAPING_H
