// The four-grey path of writing a Pilot image: B_CMAP8 and B_RGB32 rows
// become two bits a Pilot pixel, a few rows at a time, through a
// GreyRowConverter. Source bytes missing to the right of and below the
// bitmap are converted as white (0xFF).
#include <string.h>

#include <memory>
#include <new>

#include <Screen.h>

#include "GreyConversion.h"
#include "PilotWriting.h"

// The darkness of each colour-map index of the main screen.
static void BuildScreenDarknessTable(float table[256])
{
	BScreen screen(B_MAIN_SCREEN_ID);
	BuildDarknessTable(screen.IsValid() ? screen.ColorMap() : NULL, table);
}

status_t WriteFourGreys(const PilotWrite &write)
{
	const TranslatorBitmap &bitmap = write.bitmap;
	const PilotOptions &options = write.options;
	const int32 width = write.image.width;
	const int32 height = write.image.height;

	float darkness[256];
	if (bitmap.colors == B_CMAP8) {
		BuildScreenDarknessTable(darkness);
	}
	const GreyRowConverter converter(bitmap.colors,
		bitmap.colors == B_CMAP8 ? darkness : NULL, options.dithering,
		options.highContrast);
	// Room for the pixels of one Pilot row; source bytes beyond it are
	// dropped. Rows are converted a few at a time (see ConvertRows).
	const size_t room = (size_t)width * converter.BytesPerPixel();
	const int kGroup = GreyRowConverter::kRowsAtOnce;
	std::unique_ptr<uint8[]> rows(new (std::nothrow) uint8[room * kGroup]);
	std::unique_ptr<float[]> errorRow(new (std::nothrow) float[width + 2]());
	PilotPixelData pixels(width / 4, height, options.compression);
	if (rows == NULL || errorRow == NULL || !pixels.IsValid()) {
		return B_NO_MEMORY;
	}

	status_t status = WritePilotHeaders(&write.destination, write.image);
	if (status != B_OK) {
		return status;
	}

	const float lastSourceRow = bitmap.bounds.bottom - bitmap.bounds.top;
	for (int32 y = 0; y < height && status == B_OK;) {
		const uint8 *group[kGroup];
		int count = 0;
		for (; count < kGroup && y + count < height; count++) {
			uint8 *row = rows.get() + room * count;
			size_t placed = 0;
			if (y + count <= lastSourceRow && !ReadSourceRow(&write.source,
					bitmap.rowBytes, row, room, &placed)) {
				// This row and those below are not converted: they stay
				// 0 (white).
				status = B_ERROR;
				break;
			}
			memset(row + placed, 0xFF, room - placed);
			group[count] = row;
		}
		converter.ConvertRows(group, count, width, errorRow.get(),
			pixels.Row(y));
		y += count;
	}

	const status_t written = pixels.WriteTo(&write.destination);
	return written != B_OK ? written : status;
}
