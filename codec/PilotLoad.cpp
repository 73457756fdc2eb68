// Pilot image to bitmap stream.
//
// 1-bit images become B_GRAY1 rows of width / 8 bytes rounded up, the
// stored bytes as they stand; where the width is not a
// multiple of 8 each row's last pixels are not stored and are white.
// Four-grey and sixteen-grey images become B_CMAP8 rows of width bytes,
// each 2- or 4-bit value turned into the main screen's palette index of
// its grey. Rows are written one at a time, as they are read.
//
// Old Pilot files are often cut short, so missing pixel data is no error:
// what never arrived reads as 0 (white, in every pixel type), and how
// much that was goes back with the facts (PilotFacts.h).
#include "PilotCodec.h"

#include <string.h>

#include <memory>
#include <new>

#include <Screen.h>

#include "BitmapHeader.h"
#include "GreyExpansion.h"
#include "PilotFacts.h"
#include "PilotImageCheck.h"
#include "StoredRows.h"
#include "StreamIO.h"

namespace {

// Of the stored data, the first filled bytes arrived. The rows from the
// first incomplete one on are missing, less the pixels of the bytes of
// that row which did arrive.
void ReportMissing(BMessage *facts, const PilotImageLayout &layout,
	size_t filled)
{
	uint32 rows = 0;
	uint32 pixels = 0;
	if (filled < layout.storedSize) {
		const uint32 wholeRows = (uint32)filled / layout.storedRowBytes;
		const uint32 partBytes = (uint32)filled % layout.storedRowBytes;
		rows = layout.height - wholeRows;
		pixels = rows * layout.width
			- partBytes * (8 / layout.bitsPerPixel);
	}
	ReportMissingPixels(facts, rows, pixels);
}

bool WriteBitmapHeader(BPositionIO *destination,
	const PilotImageLayout &layout, color_space colors)
{
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.bounds = BRect(0, 0, (float)layout.width - 1,
		(float)layout.height - 1);
	header.rowBytes = layout.rowBytes;
	header.colors = colors;
	header.dataSize = layout.dataSize;
	uint8 bytes[kBitmapHeaderSize];
	SerializeBitmapHeader(header, bytes);
	return WriteExactly(destination, bytes, sizeof(bytes));
}

// The palette indexes of the greys by stored value, from 0 (white) to
// levels - 1 (black) in even steps: 255, 170, 85 and 0 for four greys,
// 255 - 17 x value for sixteen.
void GetGreyIndexes(uint32 levels, uint8 *greys)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	const uint32 step = 255 / (levels - 1);
	for (uint32 value = 0; value < levels; value++) {
		const uint8 level = (uint8)(255 - step * value);
		greys[value] = screen.IndexForColor(level, level, level, 255);
	}
}

GreyExpansion GreyExpansionOf(const PilotImageLayout &layout)
{
	uint8 greys[16];
	if (layout.bitsPerPixel == 4) {
		GetGreyIndexes(16, greys);
		return MakeSixteenGreyExpansion(greys);
	}
	GetGreyIndexes(4, greys);
	return MakeGreyExpansion(greys);
}

// Each stored row is widened to the stream's row: 1-bit rows padded with
// white to whole bytes of the width, grey rows expanded to palette
// indexes.
status_t WriteRows(BPositionIO &destination, const PilotImageLayout &layout,
	StoredRows &rows, uint8 *stored, uint8 *row)
{
	const bool oneBit = layout.bitsPerPixel == 1;
	const GreyExpansion expansion = oneBit
		? GreyExpansion() : GreyExpansionOf(layout);
	if (oneBit) {
		memset(row, 0, layout.rowBytes);
	}
	for (uint32 y = 0; y < layout.height; y++) {
		rows.Next(stored);
		if (!oneBit) {
			ExpandGreyRow(expansion, stored, layout.width, row);
		}
		if (!WriteExactly(&destination, row, layout.rowBytes)) {
			return B_ERROR;
		}
	}
	return B_OK;
}

} // namespace

// Every buffer is allocated before the header is written, so a picture we
// cannot hold leaves the destination untouched. Only a row and a block of
// input are held (StoredRows.h), so even counting what a large file cut
// short lacks costs no more than its rows.
status_t LoadPilotImage(BPositionIO &source, BPositionIO &destination,
	BMessage *facts, PilotRefusal *refusal)
{
	PilotImageLayout layout = PilotImageLayout();
	const HeaderCheck check = CheckPilotImage(&source, kConverting, &layout);
	if (check != kHeaderAccepted) {
		return Concluded(check, refusal, layout.header.width,
			layout.header.height);
	}
	const bool oneBit = layout.bitsPerPixel == 1;

	StoredRows rows(&source, layout);
	std::unique_ptr<uint8[]> rowBuffer(
		new (std::nothrow) uint8[layout.rowBytes + 1]);
	// A 1-bit row is read straight into the stream's row, whose bytes
	// past the stored ones stay white.
	std::unique_ptr<uint8[]> storedBuffer(oneBit ? NULL
		: new (std::nothrow) uint8[layout.storedRowBytes + 1]);
	if (!rows.InitCheck() || rowBuffer == NULL
		|| (!oneBit && storedBuffer == NULL)) {
		return B_NO_MEMORY;
	}

	if (!WriteBitmapHeader(&destination, layout, oneBit ? B_GRAY1 : B_CMAP8)) {
		return B_ERROR;
	}
	ReportImageFacts(facts, layout);
	const status_t status = WriteRows(destination, layout, rows,
		oneBit ? rowBuffer.get() : storedBuffer.get(), rowBuffer.get());
	if (status == B_OK) {
		ReportMissing(facts, layout, rows.Filled());
	}
	return status;
}
