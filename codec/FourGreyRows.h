// The rows of a four-grey Pilot image made from a B_CMAP8 or B_RGB32
// bitmap, a few at a time through a GreyRowConverter: its buffers are
// taken first, before anything is written, then every source row is read
// and converted. Source bytes missing to the right of and below the
// bitmap are converted as white (0xFF).
#ifndef QUORVEL_FOUR_GREY_ROWS_H
#define QUORVEL_FOUR_GREY_ROWS_H

#include <memory>

#include "GreyConversion.h"
#include "PilotWriting.h"

// Sees each source row as it arrives: the bytes of it that arrived, at
// most a Pilot row's room.
class SourceRowWatcher {
public:
	virtual void WatchRow(const uint8 *row, size_t placed) = 0;

protected:
	~SourceRowWatcher() {}
};

class FourGreyRows {
public:
	// For a Pilot image of width x height pixels.
	FourGreyRows(const PilotWrite &write, int32 width, int32 height);

	// False when a buffer could not be allocated.
	bool IsValid() const;

	// Reads the source rows and converts them into pixels (width / 4
	// bytes a row), showing each to watcher when it is not NULL. B_ERROR
	// when the source ends early: the rows from there on stay 0 (white).
	status_t Convert(PilotPixelData &pixels, SourceRowWatcher *watcher);

private:
	const PilotWrite &fWrite;
	int32 fWidth;
	int32 fHeight;
	float fDarkness[256];
	GreyRowConverter fConverter;
	// Room for the pixels of one Pilot row; source bytes beyond it are
	// dropped.
	size_t fRoom;
	std::unique_ptr<uint8[]> fRows;
	std::unique_ptr<float[]> fErrorRow;
};

#endif // QUORVEL_FOUR_GREY_ROWS_H
