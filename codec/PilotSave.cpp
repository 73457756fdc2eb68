// Bitmap stream to Pilot image.
//
// The bitmap's header is checked before anything is written; then come the
// three headers of the database and the pixel data. 1-bit bitmaps keep
// their bits (WriteMonochrome); indexed and RGB bitmaps become four greys
// (WriteFourGreys). The bitmap fills the top-left corner of the Pilot
// image.
#include "PilotTranslate.h"

#include "BitmapHeader.h"
#include "PilotNaming.h"

status_t PilotTranslate::SavePilotImage()
{
	PilotSize size;
	const HeaderCheck check = CheckBitmapHeader(source, kConverting,
		&bitmapHeader, &size);
	if (check != kHeaderAccepted) {
		return StatusOf(check);
	}

	const bool oneBit = bitmapHeader.colors == B_GRAY1;
	char name[PILOT_DB_NAME_SIZE];
	ChooseDatabaseName(databaseName, extension, size.width, size.height,
		name);
	imageHeader = WrittenImageHeader(name, compression ? kPackedRuns : 0,
		oneBit ? kOneBitPixels : kTwoBitPixels, size.width, size.height);
	return oneBit ? WriteMonochrome() : WriteFourGreys();
}
