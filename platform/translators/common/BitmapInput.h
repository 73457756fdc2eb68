// A bitmap stream read row by row for a writer, in the kind of picture it
// holds: B_GRAY1 is 1-bit; B_GRAY8 grey; B_CMAP8 (through the main screen's
// colour map) grey when every pixel's entry is a grey, else colour; B_RGB24,
// B_RGB32 and B_RGBA32 (alpha composited on white) colour. Only the rows
// and one row's worth of memory are read at a time; dataSize is not used,
// the rows come from the bounds and rowBytes.
#ifndef QUORVEL_BITMAP_INPUT_H
#define QUORVEL_BITMAP_INPUT_H

#include <memory>
#include <vector>

#include <GraphicsDefs.h>

#include "BitmapStreamHeader.h"
#include "BytePairTable.h"
#include "PixelRows.h"

// Whether the header is one BitmapInput reads, from its 32 bytes alone;
// the reason when it is not.
bool IsReadableBitmapHeader(const TranslatorBitmap &header,
	std::string *reason = NULL);

// Refuses (B_NO_TRANSLATOR) a source whose first bytes are not a bitmap
// stream header BitmapInput reads; its colour space when they are.
uint32 IdentifyBitmapStream(BPositionIO *source);

class BitmapInput {
public:
	// Reads and checks the header; throws TranslationError.
	explicit BitmapInput(BPositionIO *source);

	uint32 Width() const { return fWidth; }
	uint32 Height() const { return fHeight; }
	uint32 ColorSpace() const { return fColors; }

	// The picture's kind; for B_CMAP8 one pass over the rows decides.
	PixelKind Kind();

	// Fills out with the next row (RowBytesOf(Width(), kind) bytes) in
	// kind, which is Kind() or wider. Throws when the stream is cut short.
	void ReadRow(PixelKind kind, uint8 *out);
	// The same for row y, read alone, for writers that store the last row
	// first.
	void ReadRowAt(uint32 y, PixelKind kind, uint8 *out);

	// For B_GRAY8 and B_CMAP8: the next row's bytes as stored (Width() of
	// them, valid until the next read), and the colour a byte stands for.
	// Throws when the stream is cut short.
	const uint8 *ReadStoredRow() { return NextStoredRow(); }
	rgb_color ColourOfByte(uint8 value) const
	{
		return fColors == B_CMAP8 ? fPalette[value]
			: rgb_color{value, value, value, 255};
	}

	// Goes back to the first row, for a writer that looks at the picture
	// before it writes it.
	void Rewind();

private:
	const uint8 *NextStoredRow();
	void ConvertRow(const uint8 *in, PixelKind kind, uint8 *out) const;
	void ReadColourRow(const uint8 *in, uint8 *out) const;
	bool IsLarge() const
	{
		return (uint64)fWidth * fHeight >= kBytePairTablePixels;
	}

	BPositionIO *fSource;
	ByteSource fBytes;
	uint32 fWidth = 0;
	uint32 fHeight = 0;
	uint32 fColors = 0;
	uint32 fRowBytes = 0;
	// The bytes of a row that hold pixels.
	size_t fUsedBytes = 0;
	PixelKind fKind = PixelKind::Rgb;
	bool fKindKnown = false;
	std::vector<uint8> fStored;
	std::vector<rgb_color> fPalette;
	// Each entry's grey, for a picture whose entries are all greys.
	uint8 fGreys[256] = {};
	// The same two at a time, for a large picture.
	std::unique_ptr<BytePairTable> fGreyPairs;
};

#endif // QUORVEL_BITMAP_INPUT_H
