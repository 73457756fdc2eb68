// Writing a Pilot image at a depth its source does not come in: 1-bit
// images from B_CMAP8 and B_RGB32 bitmaps, four greys from B_GRAY1 ones,
// and sixteen greys from any, one row at a time through a row of darkness
// (DepthConversion.h). Pixels beyond the bitmap are white.
#include <memory>
#include <new>

#include "DepthConversion.h"
#include "PilotWriting.h"
#include "ScreenDarkness.h"

namespace {

// The bytes of a source row that hold pixels of the Pilot row.
size_t RowRoom(uint32 colors, int32 width)
{
	if (colors == B_GRAY1) {
		return (size_t)width / 8;
	}
	return (size_t)width * (colors == B_CMAP8 ? 1 : 4);
}

} // namespace

status_t WriteAnyDepth(const PilotWrite &write)
{
	const TranslatorBitmap &bitmap = write.bitmap;
	const int32 width = write.image.width;
	const int32 height = write.image.height;
	const uint32 bitsPerPixel = BitsPerPixelOfType(write.image.pixelType);

	float table[256];
	const DepthRowConverter converter(bitsPerPixel, bitmap.colors,
		ScreenDarknessTable(bitmap.colors, table), write.options.dithering,
		write.options.highContrast);
	const size_t room = RowRoom(bitmap.colors, width);
	std::unique_ptr<uint8[]> row(new (std::nothrow) uint8[room]);
	std::unique_ptr<float[]> darkness(new (std::nothrow) float[width]);
	std::unique_ptr<float[]> errorRow(new (std::nothrow) float[width + 2]());
	PilotPixelData pixels((size_t)width * bitsPerPixel / 8, height,
		write.options.compression);
	if (row == NULL || darkness == NULL || errorRow == NULL
		|| !pixels.IsValid()) {
		return B_NO_MEMORY;
	}

	status_t status = WritePilotHeaders(&write.destination, write.image);
	if (status != B_OK) {
		return status;
	}

	const float lastSourceRow = bitmap.bounds.bottom - bitmap.bounds.top;
	for (int32 y = 0; y < height; y++) {
		size_t placed = 0;
		if (y <= lastSourceRow && !ReadSourceRow(&write.source,
				bitmap.rowBytes, row.get(), room, &placed)) {
			// This row and those below stay 0 (white).
			status = B_ERROR;
			break;
		}
		converter.ConvertRow(row.get(), placed, write.pictureWidth, width,
			darkness.get(), errorRow.get(), pixels.Row(y));
	}

	const status_t written = pixels.WriteTo(&write.destination);
	return written != B_OK ? written : status;
}
