#include "BmpWriter.h"

#include <string.h>

#include <vector>

#include "BitmapInput.h"
#include "BmpHeader.h"
#include "TranslationError.h"

namespace {

// 72 dots an inch.
const uint32 kPixelsPerMetre = 2835;

void PutLittle(std::vector<uint8> &out, uint32 value, int bytes)
{
	for (int i = 0; i < bytes; i++) {
		out.push_back((uint8)(value >> (8 * i)));
	}
}

int BitsFor(PixelKind kind)
{
	return kind == PixelKind::Mono ? 1 : kind == PixelKind::Grey ? 8 : 24;
}

std::vector<uint8> Headers(uint32 width, uint32 height, PixelKind kind,
	uint32 rowBytes)
{
	const uint32 colours = kind == PixelKind::Mono ? 2
		: kind == PixelKind::Grey ? 256 : 0;
	const uint32 dataOffset = kBmpFileHeaderBytes + 40 + 4 * colours;
	std::vector<uint8> out = {'B', 'M'};
	// At most 2^28 pixels of 3 bytes and their padding: within 32 bits.
	PutLittle(out, dataOffset + rowBytes * height, 4);
	PutLittle(out, 0, 4);
	PutLittle(out, dataOffset, 4);
	PutLittle(out, 40, 4);
	PutLittle(out, width, 4);
	PutLittle(out, height, 4);
	PutLittle(out, 1, 2);
	PutLittle(out, (uint32)BitsFor(kind), 2);
	PutLittle(out, kBmpUncompressed, 4);
	PutLittle(out, rowBytes * height, 4);
	PutLittle(out, kPixelsPerMetre, 4);
	PutLittle(out, kPixelsPerMetre, 4);
	PutLittle(out, colours, 4);
	PutLittle(out, 0, 4);
	for (uint32 i = 0; i < colours; i++) {
		// Black then white for 1 bit; the greys in order for 8.
		uint8 grey = kind == PixelKind::Mono ? (uint8)(i * 255) : (uint8)i;
		out.insert(out.end(), {grey, grey, grey, 0});
	}
	return out;
}

// A stream row (red, green, blue; greys; or 1-bit with 1 black) as stored.
void StoreRow(const uint8 *row, uint32 width, PixelKind kind, uint8 *out)
{
	if (kind == PixelKind::Mono) {
		// Index 1 is white.
		for (size_t i = 0; i < RowBytesOf(width, kind); i++) {
			out[i] = (uint8)~row[i];
		}
		if (width % 8 != 0) {
			out[width / 8] &= (uint8)(0xFF << (8 - width % 8));
		}
	} else if (kind == PixelKind::Grey) {
		memcpy(out, row, width);
	} else {
		for (uint32 x = 0; x < width; x++) {
			out[3 * x] = row[3 * x + 2];
			out[3 * x + 1] = row[3 * x + 1];
			out[3 * x + 2] = row[3 * x];
		}
	}
}

} // namespace

void WriteBitmapAsBmp(BPositionIO *source, BPositionIO *destination)
{
	BitmapInput input(source);
	const PixelKind kind = input.Kind();
	const uint32 width = input.Width();
	const uint32 rowBytes = (uint32)(((uint64)width * BitsFor(kind) + 31)
		/ 32 * 4);
	std::vector<uint8> headers = Headers(width, input.Height(), kind,
		rowBytes);
	WriteRow(destination, headers.data(), headers.size());
	std::vector<uint8> row(RowBytesOf(width, kind));
	std::vector<uint8> stored(rowBytes, 0);
	for (uint32 y = input.Height(); y-- > 0;) {
		input.ReadRowAt(y, kind, row.data());
		StoreRow(row.data(), width, kind, stored.data());
		WriteRow(destination, stored.data(), stored.size());
	}
}
