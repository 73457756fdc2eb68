// The automatic depth: a B_CMAP8 or B_RGB32 picture of only pure black and
// pure white becomes a 1-bit Pilot image, any other four greys. The rows
// are read once, as the source may not go back: each becomes four greys
// exactly as WriteFourGreys makes them, and while the picture is still
// black and white its 1-bit rows are gathered too (the first other pixel
// lets them go). Only then is the depth known, and the headers follow.
// The pixels beyond the picture are white in the 1-bit image.
#include <memory>
#include <new>

#include "BlackAndWhite.h"
#include "DepthConversion.h"
#include "FourGreyRows.h"
#include "ScreenDarkness.h"

namespace {

typedef std::unique_ptr<PilotPixelData> PixelDataPointer;

class BlackAndWhiteWatch : public SourceRowWatcher {
public:
	BlackAndWhiteWatch(const PilotWrite &write, PixelDataPointer &bits)
		: fColors((color_space)write.bitmap.colors),
		  fPictureWidth(write.pictureWidth),
		  fRows(fColors, fColors == B_CMAP8 ? ScreenColorMap() : NULL),
		  fBits(bits), fY(0)
	{
	}

	virtual void WatchRow(const uint8 *row, size_t placed)
	{
		if (fBits == NULL) {
			return;
		}
		const int32 count = PixelsPlaced(fColors, placed, fPictureWidth);
		if (!fRows.TakeRow(row, count, fBits->Row(fY++))) {
			fBits.reset();
		}
	}

private:
	color_space fColors;
	int32 fPictureWidth;
	BlackAndWhiteRows fRows;
	PixelDataPointer &fBits;
	int32 fY;
};

PixelDataPointer NewPixelData(size_t rowSize, int32 height, bool packed)
{
	PixelDataPointer data(new (std::nothrow) PilotPixelData(rowSize, height,
		packed, true));
	if (data != NULL && !data->IsValid()) {
		data.reset();
	}
	return data;
}

} // namespace

status_t WriteAutomaticDepth(PilotWrite &write)
{
	// The header check has passed with the grey size.
	PilotSize greySize;
	PilotSize oneBitSize;
	PilotSizeForBounds(write.bitmap.bounds, false, &greySize);
	write.pictureWidth = greySize.pictureWidth;
	if (PilotSizeForBounds(write.bitmap.bounds, true, &oneBitSize)
			!= kHeaderAccepted) {
		// Too wide for the 16-pixel rounding of 1-bit rows.
		SettleImageHeader(write, 2, greySize);
		return WriteFourGreys(write);
	}

	const bool packed = write.options.compression;
	FourGreyRows rows(write, greySize.width, greySize.height);
	PixelDataPointer greys = NewPixelData(greySize.width / 4,
		greySize.height, packed);
	PixelDataPointer bits = NewPixelData(oneBitSize.width / 8,
		oneBitSize.height, packed);
	if (!rows.IsValid() || greys == NULL || bits == NULL) {
		return B_NO_MEMORY;
	}
	BlackAndWhiteWatch watch(write, bits);
	const status_t status = rows.Convert(*greys, &watch);

	const bool oneBit = bits != NULL;
	if (oneBit) {
		greys.reset();
	}
	PilotPixelData &pixels = oneBit ? *bits : *greys;
	SettleImageHeader(write, oneBit ? 1 : 2, oneBit ? oneBitSize : greySize);
	if (!pixels.TakePackingRoom()) {
		return B_NO_MEMORY;
	}
	const status_t headers = WritePilotHeaders(&write.destination,
		write.image);
	if (headers != B_OK) {
		return headers;
	}
	const status_t written = pixels.WriteTo(&write.destination);
	return written != B_OK ? written : status;
}
