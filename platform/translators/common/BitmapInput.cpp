#include "BitmapInput.h"

#include <Screen.h>

#include "TranslationError.h"

namespace {

size_t StoredBytesPerPixel(uint32 colors)
{
	switch (colors) {
		case B_GRAY8:
		case B_CMAP8:
			return 1;
		case B_RGB24:
			return 3;
		case B_RGB32:
		case B_RGBA32:
			return 4;
	}
	return 0;
}

// Whether any byte's flag is set.
QUORVEL_LOOKUP_LOOP uint8 AnyFlagged(const uint8 *bytes, uint32 count,
	const uint8 flags[256])
{
	uint8 any = 0;
	for (uint32 x = 0; x < count; x++) {
		any |= flags[bytes[x]];
	}
	return any;
}

// Each byte through a table. Writes to out cannot change the table or
// the count, so neither is read again a pixel.
QUORVEL_LOOKUP_LOOP void MapBytes(const uint8 *in, uint32 count,
	const uint8 table[256], uint8 *__restrict out)
{
	for (uint32 x = 0; x < count; x++) {
		out[x] = table[in[x]];
	}
}

[[noreturn]] void Unreadable(const std::string &why)
{
	Refuse("not a readable bitmap stream (" + why + ")");
}

} // namespace

bool IsReadableBitmapHeader(const TranslatorBitmap &header,
	std::string *reason)
{
	std::string why;
	uint32 width;
	uint32 height;
	uint32 colors = ColorSpaceCode(header);
	if (header.magic != B_TRANSLATOR_BITMAP) {
		why = "not a readable bitmap stream (no 'bits' magic)";
	} else if (!BoundsSize(header.bounds, &width, &height)) {
		why = "not a readable bitmap stream (its bounds are not a whole "
			"number of pixels)";
	} else if (colors != B_GRAY1 && StoredBytesPerPixel(colors) == 0) {
		why = "unsupported depth: colour space " + ColorSpaceName(colors)
			+ " (B_GRAY1, B_GRAY8, B_CMAP8, B_RGB24, B_RGB32 and B_RGBA32 "
			"are read)";
	} else if (header.rowBytes < (colors == B_GRAY1
			? ((uint64)width + 7) / 8
			: (uint64)width * StoredBytesPerPixel(colors))) {
		why = "not a readable bitmap stream (rowBytes is too small for its "
			"width)";
	}
	if (reason != NULL) {
		*reason = why;
	}
	return why.empty();
}

uint32 IdentifyBitmapStream(BPositionIO *source)
{
	ByteSource bytes(source);
	TranslatorBitmap header;
	if (!ReadBitmapHeader(bytes, &header) || !IsReadableBitmapHeader(header)) {
		Refuse("not a bitmap stream");
	}
	return ColorSpaceCode(header);
}

BitmapInput::BitmapInput(BPositionIO *source)
	: fSource(source), fBytes(source)
{
	TranslatorBitmap header;
	if (!ReadBitmapHeader(fBytes, &header)) {
		Unreadable("shorter than its 32-byte header");
	}
	std::string reason;
	if (!IsReadableBitmapHeader(header, &reason)) {
		Refuse(reason);
	}
	BoundsSize(header.bounds, &fWidth, &fHeight);
	CheckPictureSize(fWidth, fHeight);
	fColors = ColorSpaceCode(header);
	fRowBytes = header.rowBytes;
	fUsedBytes = fColors == B_GRAY1 ? RowBytesOf(fWidth, PixelKind::Mono)
		: (size_t)fWidth * StoredBytesPerPixel(fColors);
	// The rows are all there before anything is written.
	uint64 remaining;
	if (fBytes.Remaining(&remaining)
		&& (uint64)fRowBytes * fHeight > remaining) {
		Damaged("not a readable bitmap stream (the stream is cut short)");
	}
	fStored.resize(fUsedBytes);
	if (fColors == B_CMAP8) {
		// Entry by entry: the whole colour map would also build its
		// inverse tables, which are not needed here.
		BScreen screen(B_MAIN_SCREEN_ID);
		fPalette.resize(256);
		for (int i = 0; i < 256; i++) {
			fPalette[i] = screen.ColorForIndex((uint8)i);
			fGreys[i] = fPalette[i].red;
		}
		if (IsLarge()) {
			fGreyPairs.reset(new BytePairTable(fGreys));
		}
	}
}

PixelKind BitmapInput::Kind()
{
	if (fKindKnown) {
		return fKind;
	}
	switch (fColors) {
		case B_GRAY1:
			fKind = PixelKind::Mono;
			break;
		case B_GRAY8:
			fKind = PixelKind::Grey;
			break;
		case B_CMAP8:
		{
			// Grey when every pixel's entry is; the padding past the width
			// holds no pixels. One flag a palette entry, ORed over a row.
			uint8 notGrey[256];
			for (int i = 0; i < 256; i++) {
				const rgb_color &c = fPalette[i];
				notGrey[i] = c.red != c.green || c.green != c.blue;
			}
			std::unique_ptr<BytePairTable> pairs;
			if (IsLarge()) {
				pairs.reset(new BytePairTable(notGrey));
			}
			uint8 seen = 0;
			for (uint32 y = 0; y < fHeight && seen == 0; y++) {
				const uint8 *row = NextStoredRow();
				seen = pairs ? pairs->Any(row, fWidth)
					: AnyFlagged(row, fWidth, notGrey);
			}
			Rewind();
			fKind = seen == 0 ? PixelKind::Grey : PixelKind::Rgb;
			break;
		}
		default:
			fKind = PixelKind::Rgb;
			break;
	}
	fKindKnown = true;
	return fKind;
}

void BitmapInput::Rewind()
{
	fBytes = ByteSource(fSource, kBitmapHeaderBytes);
}

// The row where the buffer holds it: skipping the padding moves on
// without touching the buffer's bytes.
const uint8 *BitmapInput::NextStoredRow()
{
	const uint8 *row = fBytes.Contiguous(fUsedBytes);
	if (row != NULL) {
		fBytes.Consume(fUsedBytes);
	}
	if (row == NULL || !fBytes.Skip(fRowBytes - fUsedBytes)) {
		Damaged("not a readable bitmap stream (the stream is cut short)");
	}
	return row;
}

void BitmapInput::ReadRow(PixelKind kind, uint8 *out)
{
	ConvertRow(NextStoredRow(), kind, out);
}

void BitmapInput::ReadRowAt(uint32 y, PixelKind kind, uint8 *out)
{
	off_t at = (off_t)(kBitmapHeaderBytes + (uint64)fRowBytes * y);
	if (fSource->ReadAt(at, fStored.data(), fUsedBytes)
			!= (ssize_t)fUsedBytes) {
		Damaged("not a readable bitmap stream (the stream is cut short)");
	}
	ConvertRow(fStored.data(), kind, out);
}

void BitmapInput::ConvertRow(const uint8 *in, PixelKind kind, uint8 *out)
	const
{
	switch (fColors) {
		case B_GRAY1:
			WidenRow(in, PixelKind::Mono, fWidth, kind, out);
			return;
		case B_GRAY8:
			WidenRow(in, PixelKind::Grey, fWidth, kind, out);
			return;
		case B_CMAP8:
			if (kind == PixelKind::Grey) {
				if (fGreyPairs) {
					fGreyPairs->Map(in, fWidth, out);
				} else {
					MapBytes(in, fWidth, fGreys, out);
				}
				return;
			}
			for (uint32 x = 0; x < fWidth; x++, out += 3) {
				const rgb_color &c = fPalette[in[x]];
				out[0] = c.red;
				out[1] = c.green;
				out[2] = c.blue;
			}
			return;
		default:
			ReadColourRow(in, out);
			return;
	}
}

// B_RGB24 holds blue, green, red; B_RGB32 and B_RGBA32 blue, green, red,
// alpha (ignored for B_RGB32).
void BitmapInput::ReadColourRow(const uint8 *in, uint8 *out) const
{
	size_t step = StoredBytesPerPixel(fColors);
	bool alpha = fColors == B_RGBA32;
	for (uint32 x = 0; x < fWidth; x++, in += step, out += 3) {
		uint8 a = alpha ? in[3] : 255;
		out[0] = OverWhite(in[2], a);
		out[1] = OverWhite(in[1], a);
		out[2] = OverWhite(in[0], a);
	}
}
