// Pilot images a handheld can load. A handheld keeps a Pilot image as one
// database record and loads none longer than the translator's
// PILOT_MAX_RECORD_BYTES, so by default a picture whose record would be
// longer is written at the largest size, aspect kept, whose record fits.
// How long a record is the translator tells (PILOT_RECORD_BYTES_INFO),
// packed or not as it was written; the host computes no Pilot layout.
#ifndef QUORVEL_HOST_HANDHELD_RECORD_H
#define QUORVEL_HOST_HANDHELD_RECORD_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <Bitmap.h>

#include "ByteVectorIO.h"
#include "ConversionNotes.h"
#include "PictureShaping.h"
#include "TranslatorHost.h"

// What the translator says of a Pilot image it wrote.
struct WrittenPilot {
	// The translator recognised it and gave its record's length.
	bool described = false;
	std::string name;
	int32 recordBytes = 0;

	bool HandheldLoads() const;
};

WrittenPilot DescribeWrittenPilot(TranslatorHost &host,
	const ByteVector &bytes);

// Of the longer sides from 1 to fullSide - 1, the largest whose record
// fits, given the record at fullSide (too long) and recordAt for any
// other side; recordAt is asked a few times, each aimed where the records
// seen so far point.
int32 LargestFittingSide(int32 fullSide, int32 fullRecord,
	const std::function<int32(int32 side)> &recordAt);

// The Pilot image of source (fitted to request.fit first, if given) at its
// size, or (unless fullSize) scaled down so that a handheld loads its
// record; a note says when it was, or when it is padded or far larger than
// a screen. A picture kept in the greys of its depth is written without
// dithering, so that a Pilot image's picture comes back as it was. Throws
// what WritePicture throws, and Failure for a picture too large for a
// Pilot image.
ByteVector WriteForHandheld(TranslatorHost &host,
	std::unique_ptr<BBitmap> source, const ShapingRequest &request,
	bool fullSize, const std::string &described, BMessage *extension,
	std::vector<Note> *notes);

#endif // QUORVEL_HOST_HANDHELD_RECORD_H
