// Bitmap stream to Pilot image.
//
// The bitmap's header is checked before anything is written; then come the
// three headers of the database and the pixel data. 1-bit bitmaps keep
// their bits (WriteMonochrome); indexed and RGB bitmaps become four greys
// (WriteFourGreys). The bitmap fills the top-left corner of the Pilot
// image.
#include "PilotCodec.h"

#include "BitmapHeader.h"
#include "PilotNaming.h"
#include "PilotWriting.h"

status_t SavePilotImage(BPositionIO &source, BPositionIO &destination,
	const PilotOptions &options, const char *sourceName,
	PilotRefusal *refusal)
{
	PilotWrite write = {source, destination, options, {}, {}};
	PilotSize size = {0, 0};
	const HeaderCheck check = CheckBitmapHeader(&source, kConverting,
		&write.bitmap, &size);
	if (check == kBeyondPilotFields) {
		const BRect &bounds = write.bitmap.bounds;
		return Concluded(check, refusal,
			(double)bounds.right - (double)bounds.left + 1.0,
			(double)bounds.bottom - (double)bounds.top + 1.0);
	}
	if (check != kHeaderAccepted) {
		return Concluded(check, refusal, size.width, size.height);
	}

	const bool oneBit = write.bitmap.colors == B_GRAY1;
	char name[PILOT_DB_NAME_SIZE];
	ChooseDatabaseName(options.databaseName, sourceName, size.width,
		size.height, name);
	write.image = WrittenImageHeader(name,
		options.compression ? kPackedRuns : 0,
		oneBit ? kOneBitPixels : kTwoBitPixels, size.width, size.height);
	return oneBit ? WriteMonochrome(write) : WriteFourGreys(write);
}
