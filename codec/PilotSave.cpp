// Bitmap stream to Pilot image.
//
// The bitmap's header is checked before anything is written; then come the
// three headers of the database and the pixel data. The depth is the
// caller's, or else follows the source: 1-bit bitmaps keep their bits
// (WriteMonochrome), indexed and RGB bitmaps become four greys
// (WriteFourGreys). Every other pairing goes through a row of darkness
// (WriteAnyDepth), and the automatic depth looks at the pixels first
// (WriteAutomaticDepth). The bitmap fills the top-left corner of the Pilot
// image.
#include "PilotCodec.h"

#include "BitmapHeader.h"
#include "PilotNaming.h"
#include "PilotWriting.h"

namespace {

bool IsKnownDepth(int32 depth)
{
	return depth == kDepthOfSource || depth == PILOT_DEPTH_AUTO
		|| depth == 1 || depth == 2 || depth == 4;
}

// The depth written: 1, 2 or 4, or PILOT_DEPTH_AUTO for a colour source,
// whose pixels decide. A B_GRAY1 source holds only black and white.
int32 DepthFor(int32 depth, uint32 colors)
{
	const bool oneBit = colors == B_GRAY1;
	if (depth == kDepthOfSource || (depth == PILOT_DEPTH_AUTO && oneBit)) {
		return oneBit ? 1 : 2;
	}
	return depth;
}

uint8 PixelTypeOf(int32 depth)
{
	if (depth == 1) {
		return kOneBitPixels;
	}
	return depth == 4 ? kFourBitPixels : kTwoBitPixels;
}

} // namespace

void SettleImageHeader(PilotWrite &write, int32 depth, const PilotSize &size)
{
	char name[PILOT_DB_NAME_SIZE];
	ChooseDatabaseName(write.options.databaseName, write.sourceName,
		size.width, size.height, name);
	// Packed runs are marked 1 at every depth: of the peers that write
	// sixteen greys, both read 1 as packed, ImageMagick no other value
	// but 9, and Netpbm trusts only 1 (it guesses at 9 from the size).
	write.image = WrittenImageHeader(name,
		write.options.compression ? kPackedRuns : 0, PixelTypeOf(depth),
		size.width, size.height);
	write.pictureWidth = size.pictureWidth;
}

status_t SavePilotImage(BPositionIO &source, BPositionIO &destination,
	const PilotOptions &options, const char *sourceName,
	PilotRefusal *refusal)
{
	if (!IsKnownDepth(options.depth)) {
		return B_BAD_VALUE;
	}
	PilotWrite write = {source, destination, options, sourceName, {}, 0, {}};
	PilotSize size = {0, 0, 0};
	HeaderCheck check = CheckBitmapHeader(&source, kConverting,
		&write.bitmap, &size);
	int32 depth = PILOT_DEPTH_AUTO;
	if (check == kHeaderAccepted) {
		depth = DepthFor(options.depth, write.bitmap.colors);
		// A 1-bit image's rows are rounded to 16 pixels, a grey one's to 8.
		if (depth != PILOT_DEPTH_AUTO) {
			check = PilotSizeForBounds(write.bitmap.bounds, depth == 1, &size);
		}
	}
	if (check == kBeyondPilotFields) {
		const BRect &bounds = write.bitmap.bounds;
		return Concluded(check, refusal,
			(double)bounds.right - (double)bounds.left + 1.0,
			(double)bounds.bottom - (double)bounds.top + 1.0);
	}
	if (check != kHeaderAccepted) {
		return Concluded(check, refusal, size.width, size.height);
	}

	if (depth == PILOT_DEPTH_AUTO) {
		return WriteAutomaticDepth(write);
	}
	SettleImageHeader(write, depth, size);
	const bool oneBitSource = write.bitmap.colors == B_GRAY1;
	if (depth == 1 && oneBitSource) {
		return WriteMonochrome(write);
	}
	if (depth == 2 && !oneBitSource) {
		return WriteFourGreys(write);
	}
	return WriteAnyDepth(write);
}
