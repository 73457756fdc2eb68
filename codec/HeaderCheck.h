// Why the codec refused a header, or that it took it. Each check function
// (CheckPilotImage, CheckBitmapHeader) tests its fields in the order that
// decides the result and names the first that fails. Every refusal reaches
// the kit as B_NO_TRANSLATOR (StatusOf); tests and the crasher manifest
// name the reason (HeaderCheckName).
#ifndef QUORVEL_HEADER_CHECK_H
#define QUORVEL_HEADER_CHECK_H

#include <SupportDefs.h>

enum HeaderCheck {
	kHeaderAccepted,
	// A Pilot image, in the order CheckPilotImage tests them.
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
	// A bitmap stream, in the order CheckBitmapHeader tests them; the
	// Pilot size it asks for may also be kPictureBeyondCap.
	kBitmapHeaderCut,
	kNotBitmapStream,
	kBoundsDisordered,
	kColorSpaceNotConverted,
	kDataSizeDisagrees,
	kBeyondPilotFields,
	kHeaderCheckCount
};

// What a header is checked for. Identify names a stream's format, so the
// limits of what we convert (the picture's size) are none of its business;
// Translate converts, and needs every check.
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
