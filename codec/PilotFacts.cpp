#include "PilotFacts.h"

#include <stdint.h>
#include <string.h>

#include <PilotTranslator.h>

// Each fact holds one value: a message passed to Identify and then to
// Translate, or to several calls, must not gather stale ones.
static void ReplaceInt32(BMessage *message, const char *name, int32 value)
{
	message->RemoveName(name);
	message->AddInt32(name, value);
}

void ReportImageFacts(BMessage *message, const PilotImageLayout &layout)
{
	if (message == NULL) {
		return;
	}
	const PilotImageHeader &header = layout.header;
	// The stored name need not end with a NUL inside its 32 bytes.
	char name[PILOT_DB_NAME_SIZE + 1];
	memcpy(name, header.name, PILOT_DB_NAME_SIZE);
	name[PILOT_DB_NAME_SIZE] = '\0';
	message->RemoveName(PILOT_DB_NAME_INFO);
	message->AddString(PILOT_DB_NAME_INFO, name);
	ReplaceInt32(message, PILOT_BITS_PER_PIXEL_INFO,
		(int32)layout.bitsPerPixel);
	message->RemoveName(PILOT_PACKED_INFO);
	message->AddBool(PILOT_PACKED_INFO, layout.packed);
	ReplaceInt32(message, PILOT_WIDTH_INFO, header.width);
	ReplaceInt32(message, PILOT_HEIGHT_INFO, header.height);
	ReplaceInt32(message, PILOT_ROW_BYTES_INFO, (int32)StoredRowBytes(
		header.width, layout.bitsPerPixel));
}

void ReportRecordLength(BMessage *message, const PilotImageLayout &layout,
	off_t size)
{
	const off_t length = size - layout.recordOffset;
	if (message == NULL || layout.recordOffset < 0 || length < 0
		|| length > INT32_MAX) {
		return;
	}
	ReplaceInt32(message, PILOT_RECORD_BYTES_INFO, (int32)length);
}

void ReportMissingPixels(BMessage *message, uint32 rows, uint32 pixels)
{
	if (message == NULL) {
		return;
	}
	ReplaceInt32(message, PILOT_MISSING_ROWS_INFO, (int32)rows);
	ReplaceInt32(message, PILOT_MISSING_PIXELS_INFO, (int32)pixels);
}
