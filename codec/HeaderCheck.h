// Why the codec refused a header, or that it took it: CheckPilotImage and
// CheckBitmapHeader test the fields in the order that decides the result
// and name the first that fails. Every refusal reaches the kit as
// B_NO_TRANSLATOR (StatusOf); tests and the crasher manifest name it.
#ifndef QUORVEL_HEADER_CHECK_H
#define QUORVEL_HEADER_CHECK_H

#include <SupportDefs.h>

enum HeaderCheck {
	kHeaderAccepted,
	// A Pilot image.
	kDatabaseHeaderCut,
	kNoRecords,
	kNotImageDatabase,
	kRecordEntryCut,
	kRecordUnreachable,
	kImageHeaderCut,
	kTealPaintRecordCut,
	kPixelsUnreachable,
	kNamesDiffer,
	kPictureEmpty,
	kPictureBeyondCap,
	// A bitmap stream (its Pilot size may also be kPictureBeyondCap).
	kBitmapHeaderCut,
	kNotBitmapStream,
	kBoundsDisordered,
	kColorSpaceNotConverted,
	kDataSizeDisagrees,
	kBeyondPilotFields,
	kHeaderCheckCount
};

// Identify names a stream's format, so the limits of what we convert are
// none of its business; Translate converts, and needs every check.
enum HeaderUse {
	kIdentifying,
	kConverting
};

// "accepted", "names-differ" ...: the manifest's spelling of the reason.
const char *HeaderCheckName(HeaderCheck check);

inline status_t StatusOf(HeaderCheck check)
{
	return check == kHeaderAccepted ? (status_t)B_OK
		: (status_t)B_NO_TRANSLATOR;
}

#endif // QUORVEL_HEADER_CHECK_H
