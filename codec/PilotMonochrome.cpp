// The 1-bit path of writing a Pilot image: B_GRAY1 rows have the meaning
// of the Pilot's 1-bit pixels, so they are copied as they stand, each to
// the start of its Pilot row. Columns and rows beyond the bitmap stay 0.
#include "PilotTranslate.h"

#include "PilotWriting.h"

status_t PilotTranslate::WriteMonochrome()
{
	const int32 width = imageHeader.width;
	const int32 height = imageHeader.height;
	const size_t rowSize = width / 8;
	// Allocated before the headers go out, so that a failure writes
	// nothing.
	PilotPixelData pixels(rowSize, height, compression);
	if (!pixels.IsValid()) {
		return B_NO_MEMORY;
	}

	status_t status = WritePilotHeaders(destination, imageHeader);
	if (status != B_OK) {
		return status;
	}

	const float lastSourceRow = bitmapHeader.bounds.bottom
		- bitmapHeader.bounds.top;
	for (int32 y = 0; y < height && y <= lastSourceRow; y++) {
		size_t placed;
		if (!ReadSourceRow(source, bitmapHeader.rowBytes, pixels.Row(y),
				rowSize, &placed)) {
			// The short row keeps what arrived; the rest stay 0.
			status = B_ERROR;
			break;
		}
	}

	const status_t written = pixels.WriteTo(destination);
	return written != B_OK ? written : status;
}
