#include "BitmapStreamSink.h"

#include <string.h>

#include <algorithm>

#include <Screen.h>


namespace {

// Rec. 601 weights, rounded: a grey entry (red, green and blue equal), as
// the codec's always are, keeps its value.
uint8 GreyOf(rgb_color colour)
{
	return (uint8)((299u * colour.red + 587u * colour.green
		+ 114u * colour.blue + 500u) / 1000u);
}

} // namespace

BitmapStreamSink::BitmapStreamSink(uint32 width, uint32 height,
	GreyDownscaler &scaler)
	: fWidth(width),
	  fHeight(height),
	  fScaler(scaler),
	  fGreys(width)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	for (uint32 index = 0; index < 256; index++) {
		fGreyOfIndex[index] = GreyOf(screen.ColorForIndex((uint8)index));
	}
}

ssize_t BitmapStreamSink::WriteAt(off_t position, const void *buffer,
	size_t size)
{
	if (position != fPosition || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	const uint8 *bytes = static_cast<const uint8 *>(buffer);
	size_t left = size;
	while (left > 0) {
		size_t taken;
		if (!fHeaderTaken) {
			taken = std::min(left, sizeof(fHeaderBytes) - fHeaderFilled);
			memcpy(fHeaderBytes + fHeaderFilled, bytes, taken);
			fHeaderFilled += taken;
			if (fHeaderFilled == sizeof(fHeaderBytes) && !TakeHeader()) {
				return B_BAD_VALUE;
			}
		} else {
			if (fRowsTaken == fHeight) {
				return B_BAD_VALUE;
			}
			taken = std::min(left, fRow.size() - fRowFilled);
			memcpy(fRow.data() + fRowFilled, bytes, taken);
			fRowFilled += taken;
			if (fRowFilled == fRow.size()) {
				TakeRow();
			}
		}
		bytes += taken;
		left -= taken;
	}
	fPosition += (off_t)size;
	return (ssize_t)size;
}

ssize_t BitmapStreamSink::ReadAt(off_t, void *, size_t)
{
	return B_NOT_ALLOWED;
}

off_t BitmapStreamSink::Seek(off_t position, uint32 seekMode)
{
	// Only where the stream already stands.
	const bool here = (seekMode == SEEK_SET && position == fPosition)
		|| (seekMode == SEEK_CUR && position == 0);
	return here ? fPosition : (off_t)B_NOT_ALLOWED;
}

off_t BitmapStreamSink::Position() const
{
	return fPosition;
}

bool BitmapStreamSink::Complete() const
{
	return fHeaderTaken && fRowsTaken == fHeight;
}

// The header must describe the picture the codec identified, in one of the
// two colour spaces it writes, with rows just wide enough.
bool BitmapStreamSink::TakeHeader()
{
	BMemoryIO bytes((const void *)fHeaderBytes, sizeof(fHeaderBytes));
	TranslatorBitmap header;
	if (CheckBitmapHeader(&bytes, kIdentifying, &header, NULL)
		!= kHeaderAccepted) {
		return false;
	}
	const bool oneBit = header.colors == B_GRAY1;
	const uint32 rowBytes = oneBit ? (fWidth + 7) / 8 : fWidth;
	if ((!oneBit && header.colors != B_CMAP8)
		|| header.bounds.left != 0 || header.bounds.top != 0
		|| header.bounds.right != (float)fWidth - 1
		|| header.bounds.bottom != (float)fHeight - 1
		|| header.rowBytes != rowBytes) {
		return false;
	}
	fColors = header.colors;
	fRow.assign(rowBytes, 0);
	fPreviousRow.assign(rowBytes, 0);
	fHeaderTaken = true;
	return true;
}

void BitmapStreamSink::TakeRow()
{
	fRowFilled = 0;
	fRowsTaken++;
	if (fRowsTaken > 1 && fRow == fPreviousRow) {
		fScaler.RepeatRow();
		return;
	}
	if (fColors == B_GRAY1) {
		for (uint32 x = 0; x < fWidth; x++) {
			const bool black = (fRow[x / 8] & (0x80 >> (x % 8))) != 0;
			fGreys[x] = black ? 0 : 255;
		}
	} else {
		for (uint32 x = 0; x < fWidth; x++) {
			fGreys[x] = fGreyOfIndex[fRow[x]];
		}
	}
	fScaler.AddRow(fGreys.data());
	fRow.swap(fPreviousRow);
}
