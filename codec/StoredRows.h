// The stored rows of a Pilot image's pixel data, handed out one at a time
// as they arrive from the source, so that reading a picture (or only
// counting what a cut-short file lacks) holds one row and one block of
// input, never the whole pixel data.
//
// Plain data is read a row at a time. Packed data is one run-length stream
// over all rows (RunLength.h) whose runs may cross rows: it is read in
// blocks and unpacked into a row and a run's worth of room, and a run cut
// by the end of a block waits for the next. The runs decoded are those
// that UnpackPrefix decodes from the whole stream with the layout's
// unpackRoom: a run crossing the end of the data still counts when it fits
// within that room. At most PackedInputBound(storedSize) packed bytes are
// read, the most that data can take.
#ifndef QUORVEL_STORED_ROWS_H
#define QUORVEL_STORED_ROWS_H

#include <memory>

#include <DataIO.h>

#include "PilotImageCheck.h"

class StoredRows {
public:
	// source stands at the first byte of the pixel data.
	StoredRows(BPositionIO *source, const PilotImageLayout &layout);

	// False when the buffers could not be allocated.
	bool InitCheck() const;

	// Fills row (the layout's storedRowBytes) with the next stored row;
	// what never arrived is 0, which is white in every pixel type.
	void Next(uint8 *row);

	// Of the stored data handed out so far, the bytes that arrived.
	size_t Filled() const { return fFilled; }

private:
	void NextPlain(uint8 *row);
	void NextPacked(uint8 *row);
	// Unpacks into the staging room until it holds a whole row or the
	// stream has nothing more that fits.
	void Stage();
	// Moves what is left of the block to its start and reads more behind
	// it; false when nothing more came.
	bool Refill();

	BPositionIO *fSource;
	const uint32 fRowBytes;
	const bool fPacked;
	size_t fFilled = 0;

	// Packed data only.
	std::unique_ptr<uint8[]> fBlock;
	const uint8 *fCursor = NULL;
	const uint8 *fEnd = NULL;
	size_t fInputLeft = 0;
	std::unique_ptr<uint8[]> fStaging;
	uint32 fStaged = 0;
	size_t fRoomLeft = 0;
	bool fEnded = false;
};

#endif // QUORVEL_STORED_ROWS_H
