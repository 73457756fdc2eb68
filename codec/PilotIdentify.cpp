// Recognising a source: a Pilot image, or a bitmap stream we can write as
// one. Only headers are read, and nothing is written.
#include "PilotCodec.h"

#include "BitmapHeader.h"
#include "PilotFacts.h"
#include "PilotImageCheck.h"

status_t IdentifyPilotImage(BPositionIO &source, BMessage *facts,
	PilotRefusal *refusal)
{
	PilotImageLayout layout;
	const HeaderCheck check = CheckPilotImage(&source, kIdentifying, &layout);
	off_t size = 0;
	if (check == kHeaderAccepted) {
		ReportImageFacts(facts, layout);
		if (source.GetSize(&size) == B_OK) {
			ReportRecordLength(facts, layout, size);
		}
	}
	return Concluded(check, refusal);
}

status_t IdentifyBitmapStream(BPositionIO &source, PilotRefusal *refusal)
{
	TranslatorBitmap header;
	return Concluded(CheckBitmapHeader(&source, kIdentifying, &header, NULL),
		refusal);
}
