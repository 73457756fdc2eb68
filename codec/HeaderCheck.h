// Why the codec refused a header, or that it took it: CheckPilotImage and
// CheckBitmapHeader test the fields in the order that decides the result
// and name the first that fails. Every refusal reaches the kit as
// B_NO_TRANSLATOR (StatusOf) and a person as a line of words
// (RefusalText); tests and the crasher manifest name it.
#ifndef QUORVEL_HEADER_CHECK_H
#define QUORVEL_HEADER_CHECK_H

#include <string>

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

// Why a source was refused (kHeaderAccepted when it was not), with the
// size that decided it: a Pilot image's, or the Pilot image's that a
// bitmap would become (the bitmap's own when it has none). 0 x 0 for the
// refusals that no size decides.
struct PilotRefusal {
	HeaderCheck check = kHeaderAccepted;
	double width = 0;
	double height = 0;
};

// The refusal as one line for a person, for instance "20000 x 20000 is
// more pixels than a Pilot image may hold (at most 268435456, such as
// 16384 x 16384)".
std::string RefusalText(const PilotRefusal &refusal);

// The status of a check, noted in refusal when there is one.
status_t Concluded(HeaderCheck check, PilotRefusal *refusal,
	double width = 0, double height = 0);

#endif // QUORVEL_HEADER_CHECK_H
