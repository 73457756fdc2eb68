// Pilot image to bitmap stream.
//
// 1-bit images become B_GRAY1 rows of width / 8 bytes rounded up, the
// stored bytes as they stand, written at once; where the width is not a
// multiple of 8 each row's last pixels are not stored and are white.
// Four-grey and sixteen-grey images become B_CMAP8 rows of width bytes,
// each 2- or 4-bit value turned into the main screen's palette index of
// its grey, written one row at a time.
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
#include "RowPadding.h"
#include "RunLength.h"
#include "StreamIO.h"

namespace {

typedef std::unique_ptr<uint8[]> Buffer;

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

uint8 *Allocate(Buffer &buffer, size_t size)
{
	buffer.reset(new (std::nothrow) uint8[size > 0 ? size : 1]);
	return buffer.get();
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

status_t WriteGreyRows(BPositionIO *destination, const PilotImageLayout &layout,
	const uint8 *pixels, uint8 *row)
{
	const GreyExpansion expansion = GreyExpansionOf(layout);
	for (uint32 y = 0; y < layout.height; y++) {
		ExpandGreyRow(expansion, pixels + (size_t)y * layout.storedRowBytes,
			layout.width, row);
		if (!WriteExactly(destination, row, layout.rowBytes)) {
			return B_ERROR;
		}
	}
	return B_OK;
}

} // namespace

// Every buffer is allocated before the header is written, so a picture we
// cannot hold leaves the destination untouched. Only the stored pixel data
// is kept in memory (a quarter of the bitmap for four greys, half for
// sixteen), and packed input is read up to the most its runs can take for
// that data (twice its size and one run: RunLength.h), which holds even
// the worst packers' files. A run crossing the end of the data is still
// decoded when it fits within the bitmap's dataSize, as reading into a
// dataSize buffer does, so every picture comes out the same as with such a
// buffer.
status_t LoadPilotImage(BPositionIO &source, BPositionIO &destination,
	BMessage *facts, PilotRefusal *refusal)
{
	PilotImageLayout layout;
	const HeaderCheck check = CheckPilotImage(&source, kConverting, &layout);
	if (refusal != NULL) {
		refusal->check = check;
	}
	if (check != kHeaderAccepted) {
		return StatusOf(check);
	}
	const bool oneBit = layout.bitsPerPixel == 1;

	Buffer pixelBuffer;
	Buffer packedBuffer;
	Buffer rowBuffer;
	const size_t packedSize = layout.packed
		? PackedInputBound(layout.storedSize) : 0;
	// 1-bit rows are widened in place to the stream's rows.
	uint8 *pixels = Allocate(pixelBuffer,
		oneBit ? layout.dataSize : layout.storedSize);
	uint8 *packedInput = layout.packed
		? Allocate(packedBuffer, packedSize) : pixels;
	uint8 *row = oneBit ? pixels : Allocate(rowBuffer, layout.width);
	if (pixels == NULL || packedInput == NULL || row == NULL) {
		return B_NO_MEMORY;
	}

	if (!WriteBitmapHeader(&destination, layout, oneBit ? B_GRAY1 : B_CMAP8)) {
		return B_ERROR;
	}

	size_t filled;
	if (layout.packed) {
		const size_t arrived = ReadAvailable(&source, packedInput,
			packedSize);
		filled = UnpackPrefix(packedInput, packedInput + arrived,
			layout.storedSize, layout.unpackRoom, pixels);
		packedBuffer.reset();
	} else {
		filled = ReadAvailable(&source, pixels, layout.storedSize);
	}
	memset(pixels + filled, 0, layout.storedSize - filled);
	ReportImageFacts(facts, layout);
	ReportMissing(facts, layout, filled);

	if (oneBit) {
		if (layout.rowBytes != layout.storedRowBytes) {
			PadRowsInPlace(pixels, layout.storedRowBytes, layout.rowBytes,
				layout.height);
		}
		return WriteExactly(&destination, pixels, layout.dataSize)
			? B_OK : B_ERROR;
	}
	return WriteGreyRows(&destination, layout, pixels, row);
}
