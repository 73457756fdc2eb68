// The 1-bit path of writing a Pilot image: B_GRAY1 rows have the meaning
// of the Pilot's 1-bit pixels, so they are copied as they stand, each to
// the start of its Pilot row. Columns and rows beyond the bitmap stay 0.
#include "PilotWriting.h"

status_t WriteMonochrome(const PilotWrite &write)
{
	const int32 width = write.image.width;
	const int32 height = write.image.height;
	const size_t rowSize = width / 8;
	// Allocated before the headers go out, so that a failure writes
	// nothing.
	PilotPixelData pixels(rowSize, height, write.options.compression);
	if (!pixels.IsValid()) {
		return B_NO_MEMORY;
	}

	status_t status = WritePilotHeaders(&write.destination, write.image);
	if (status != B_OK) {
		return status;
	}

	const float lastSourceRow = write.bitmap.bounds.bottom
		- write.bitmap.bounds.top;
	for (int32 y = 0; y < height && y <= lastSourceRow; y++) {
		size_t placed;
		if (!ReadSourceRow(&write.source, write.bitmap.rowBytes,
				pixels.Row(y), rowSize, &placed)) {
			// The short row keeps what arrived; the rest stay 0.
			status = B_ERROR;
			break;
		}
	}

	const status_t written = pixels.WriteTo(&write.destination);
	return written != B_OK ? written : status;
}
