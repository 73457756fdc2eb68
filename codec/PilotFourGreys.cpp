// The four-grey path of writing a Pilot image: B_CMAP8 and B_RGB32 rows
// become two bits a Pilot pixel.
#include "FourGreyRows.h"

#include <string.h>

#include <new>

#include "ScreenDarkness.h"

FourGreyRows::FourGreyRows(const PilotWrite &write, int32 width,
	int32 height)
	: fWrite(write), fWidth(width), fHeight(height),
	  fConverter(write.bitmap.colors,
		  ScreenDarknessTable(write.bitmap.colors, fDarkness),
		  write.options.dithering, write.options.highContrast),
	  fRoom((size_t)width * fConverter.BytesPerPixel()),
	  fRows(new (std::nothrow)
		  uint8[fRoom * GreyRowConverter::kRowsAtOnce]),
	  fErrorRow(new (std::nothrow) float[width + 2]())
{
}

bool FourGreyRows::IsValid() const
{
	return fRows != NULL && fErrorRow != NULL;
}

// Rows are converted a few at a time (see ConvertRows).
status_t FourGreyRows::Convert(PilotPixelData &pixels,
	SourceRowWatcher *watcher)
{
	const TranslatorBitmap &bitmap = fWrite.bitmap;
	const int kGroup = GreyRowConverter::kRowsAtOnce;
	const float lastSourceRow = bitmap.bounds.bottom - bitmap.bounds.top;
	status_t status = B_OK;
	for (int32 y = 0; y < fHeight && status == B_OK;) {
		const uint8 *group[kGroup];
		int count = 0;
		for (; count < kGroup && y + count < fHeight; count++) {
			uint8 *row = fRows.get() + fRoom * count;
			size_t placed = 0;
			if (y + count <= lastSourceRow) {
				if (!ReadSourceRow(&fWrite.source, bitmap.rowBytes, row,
						fRoom, &placed)) {
					// This row and those below are not converted: they
					// stay 0 (white).
					status = B_ERROR;
					break;
				}
				if (watcher != NULL) {
					watcher->WatchRow(row, placed);
				}
			}
			memset(row + placed, 0xFF, fRoom - placed);
			group[count] = row;
		}
		fConverter.ConvertRows(group, count, fWidth, fErrorRow.get(),
			pixels.Row(y));
		y += count;
	}
	return status;
}

status_t WriteFourGreys(const PilotWrite &write)
{
	FourGreyRows rows(write, write.image.width, write.image.height);
	PilotPixelData pixels(write.image.width / 4, write.image.height,
		write.options.compression);
	if (!rows.IsValid() || !pixels.IsValid()) {
		return B_NO_MEMORY;
	}

	status_t status = WritePilotHeaders(&write.destination, write.image);
	if (status != B_OK) {
		return status;
	}
	status = rows.Convert(pixels, NULL);
	const status_t written = pixels.WriteTo(&write.destination);
	return written != B_OK ? written : status;
}
