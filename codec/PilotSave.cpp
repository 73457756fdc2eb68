// Bitmap stream to Pilot image.
//
// The bitmap's header is checked before anything is written; then come the
// three headers of the database and the pixel data. 1-bit bitmaps keep
// their bits (WriteMonochrome); indexed and RGB bitmaps become four greys,
// row by row, through a GreyRowConverter. The bitmap fills the top-left
// corner of the Pilot image; the rest is converted as white source bytes
// (0xFF), or left 0 on the 1-bit path.
#include "PilotTranslate.h"

#include <string.h>

#include <memory>
#include <new>

#include <Screen.h>

#include "BitmapHeader.h"
#include "GreyConversion.h"
#include "PilotNaming.h"
#include "PilotSize.h"
#include "PilotWriting.h"

namespace {

// The darkness of each colour-map index of the main screen.
void BuildScreenDarknessTable(float table[256])
{
	BScreen screen(B_MAIN_SCREEN_ID);
	BuildDarknessTable(screen.IsValid() ? screen.ColorMap() : NULL, table);
}

// The grey path: B_CMAP8 and B_RGB32 bitmaps, two bits per Pilot pixel.
status_t WriteGreyImage(PilotTranslate &job)
{
	const TranslatorBitmap &bitmap = job.bitmapHeader;
	const int32 width = job.imageHeader.width;
	const int32 height = job.imageHeader.height;

	float darkness[256];
	if (bitmap.colors == B_CMAP8) {
		BuildScreenDarknessTable(darkness);
	}
	const GreyRowConverter converter(bitmap.colors,
		bitmap.colors == B_CMAP8 ? darkness : NULL, job.dithering,
		job.highContrast);
	// Room for the pixels of one Pilot row; source bytes beyond it are
	// dropped. Rows are converted a few at a time (see ConvertRows).
	const size_t room = (size_t)width * converter.BytesPerPixel();
	const int kGroup = GreyRowConverter::kRowsAtOnce;
	std::unique_ptr<uint8[]> rows(new (std::nothrow) uint8[room * kGroup]);
	std::unique_ptr<float[]> errorRow(new (std::nothrow) float[width + 2]());
	PilotPixelData pixels(width / 4, height, job.compression);
	if (rows == NULL || errorRow == NULL || !pixels.IsValid()) {
		return B_NO_MEMORY;
	}

	status_t status = WritePilotHeaders(job.destination, job.imageHeader);
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
			if (y + count <= lastSourceRow && !ReadSourceRow(job.source,
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

	const status_t written = pixels.WriteTo(job.destination);
	return written != B_OK ? written : status;
}

} // namespace

status_t PilotTranslate::SavePilotImage()
{
	if (ReadBitmapHeader(source, &bitmapHeader) != B_OK
		|| bitmapHeader.magic != B_TRANSLATOR_BITMAP
		|| !HasOrderedBounds(bitmapHeader.bounds)
		|| !IsPilotSourceColorSpace(ColorSpaceCode(bitmapHeader))) {
		return B_NO_TRANSLATOR;
	}

	const bool oneBit = bitmapHeader.colors == B_GRAY1;
	PilotSize size;
	if (PilotSizeForBounds(bitmapHeader.bounds, oneBit, &size) != B_OK) {
		return B_NO_TRANSLATOR;
	}

	const char *comment = NULL;
	if (extension == NULL
		|| extension->FindString(B_TRANSLATOR_EXT_COMMENT, &comment)
			!= B_OK) {
		comment = NULL;
	}
	char name[PILOT_DB_NAME_SIZE];
	ChooseDatabaseName(databaseName, comment, size.width, size.height, name);
	imageHeader = WrittenImageHeader(name, compression ? kPackedRuns : 0,
		oneBit ? kOneBitPixels : kTwoBitPixels, size.width, size.height);

	if (oneBit) {
		return WriteMonochrome();
	}
	return WriteGreyImage(*this);
}
