#include "StoredRows.h"

#include <string.h>

#include <algorithm>
#include <new>

#include "RunLength.h"
#include "StreamIO.h"

namespace {

// Packed input is read in blocks of this size.
const size_t kBlockSize = 64 * 1024;
// The most output one run makes, and the most input it takes.
const uint32 kLongestRun = 128;
const size_t kLongestRunBytes = kLongestRun + 1;

uint32 RunLengthAt(const uint8 *cursor)
{
	return *cursor >= 128 ? *cursor - 127u : *cursor + 1u;
}

} // namespace

StoredRows::StoredRows(BPositionIO *source, const PilotImageLayout &layout)
	:
	fSource(source),
	fRowBytes(layout.storedRowBytes),
	fPacked(layout.packed)
{
	if (!fPacked) {
		return;
	}
	fInputLeft = PackedInputBound(layout.storedSize);
	fRoomLeft = layout.unpackRoom;
	fBlock.reset(new (std::nothrow) uint8[kBlockSize]);
	// A row, and room for a whole run after any part of one.
	fStaging.reset(new (std::nothrow) uint8[fRowBytes + kLongestRun]);
	fCursor = fEnd = fBlock.get();
}

bool StoredRows::InitCheck() const
{
	return !fPacked || (fBlock != NULL && fStaging != NULL);
}

void StoredRows::Next(uint8 *row)
{
	if (fPacked) {
		NextPacked(row);
	} else {
		NextPlain(row);
	}
}

void StoredRows::NextPlain(uint8 *row)
{
	const size_t arrived = ReadAvailable(fSource, row, fRowBytes);
	memset(row + arrived, 0, fRowBytes - arrived);
	fFilled += arrived;
}

void StoredRows::NextPacked(uint8 *row)
{
	Stage();
	const uint32 taken = std::min(fStaged, fRowBytes);
	memcpy(row, fStaging.get(), taken);
	memset(row + taken, 0, fRowBytes - taken);
	memmove(fStaging.get(), fStaging.get() + taken, fStaged - taken);
	fStaged -= taken;
	fFilled += taken;
}

void StoredRows::Stage()
{
	while (!fEnded && fStaged < fRowBytes) {
		uint8 *out = fStaging.get() + fStaged;
		// With less than a row staged there is room for any run, so only
		// the unpacking room or the block's end stops one.
		const size_t space = std::min<size_t>(fRoomLeft,
			fRowBytes + kLongestRun - fStaged);
		UnpackRuns(fCursor, fEnd, (int32)space, out);
		const uint32 made = (uint32)(out - (fStaging.get() + fStaged));
		fStaged += made;
		fRoomLeft -= made;
		if (made > 0) {
			continue;
		}
		if (fCursor < fEnd && RunLengthAt(fCursor) > fRoomLeft) {
			fEnded = true;
		} else if (!Refill()) {
			fEnded = true;
		}
	}
}

bool StoredRows::Refill()
{
	const size_t kept = (size_t)(fEnd - fCursor);
	if (kept >= kLongestRunBytes || fInputLeft == 0) {
		return false;
	}
	memmove(fBlock.get(), fCursor, kept);
	const size_t arrived = ReadAvailable(fSource, fBlock.get() + kept,
		std::min(kBlockSize - kept, fInputLeft));
	fInputLeft -= arrived;
	fCursor = fBlock.get();
	fEnd = fCursor + kept + arrived;
	return arrived > 0;
}
