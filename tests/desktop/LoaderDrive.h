// The desktop loader's load driven as gdk-pixbuf drives it, for its tests:
// a file fed in pieces, a size asked for, the pixbuf's greys or the error.
#ifndef QUORVEL_TEST_LOADER_DRIVE_H
#define QUORVEL_TEST_LOADER_DRIVE_H

#include <string>

#include "PilotImageBytes.h"
#include "PilotPixbufLoad.h"
#include "RunLength.h"

struct Outcome {
	int width = 0;
	int height = 0;
	std::string error;
	Bytes greys;
};

struct Asked {
	int width;
	int height;
};

inline void AskSize(int *width, int *height, gpointer data)
{
	const Asked *asked = static_cast<const Asked *>(data);
	if (asked->width >= 0) {
		*width = asked->width;
		*height = asked->height;
	}
}

// Loads file in pieces of chunk bytes, asking for asked's size (-1 keeps
// the picture's own), under limit; the greys are each pixel's red.
inline Outcome Load(const Bytes &file, Asked asked = {-1, -1},
	size_t chunk = 4096, const PixelLimit &limit = PixelLimit())
{
	PilotPixbufLoad load(PixbufCallbacks{AskSize, NULL, NULL, &asked}, limit);
	GError *error = NULL;
	bool going = true;
	for (size_t at = 0; going && at < file.size(); at += chunk) {
		going = load.Append(file.data() + at,
			std::min(chunk, file.size() - at), &error);
	}
	// gdk-pixbuf stops a failed load too, giving no place for an error.
	const bool finished = load.Finish(going ? &error : NULL);
	Outcome outcome;
	if (finished) {
		GdkPixbuf *pixbuf = load.Pixbuf();
		outcome.width = gdk_pixbuf_get_width(pixbuf);
		outcome.height = gdk_pixbuf_get_height(pixbuf);
		const uint8 *pixels = gdk_pixbuf_get_pixels(pixbuf);
		for (int y = 0; y < outcome.height; y++) {
			for (int x = 0; x < outcome.width; x++) {
				outcome.greys.push_back(
					pixels[y * gdk_pixbuf_get_rowstride(pixbuf) + 3 * x]);
			}
		}
	}
	if (error != NULL) {
		outcome.error = error->message;
		g_error_free(error);
	}
	return outcome;
}

inline PilotBytes FourGreys(int16 width, int16 height, bool packed)
{
	PilotBytes pilot;
	pilot.width = width;
	pilot.height = height;
	const Bytes plain = PatternBytes((size_t)width / 4 * height, 3);
	pilot.pixels = plain;
	if (packed) {
		pilot.packing = 1;
		pilot.pixels.resize(PackedInputBound(plain.size()));
		pilot.pixels.resize(PackRuns(pilot.pixels.data(), plain.data(),
			(uint32)plain.size()));
	}
	return pilot;
}

#endif // QUORVEL_TEST_LOADER_DRIVE_H
