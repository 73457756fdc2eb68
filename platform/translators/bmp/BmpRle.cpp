#include "BmpRle.h"

RleDecoder::RleDecoder(BPositionIO *stream, const BmpHeader &header,
	const RleState &start)
	: fBytes(stream, start.offset), fWidth(header.width),
	  fFourBits(header.compression == kBmpRle4),
	  fX(start.x), fY(start.y)
{
}

RleState RleDecoder::State() const
{
	RleState state;
	state.offset = fBytes.Position();
	state.x = fX;
	state.y = fY;
	return state;
}

void RleDecoder::Restart(const RleState &state)
{
	fBytes.Seek(state.offset);
	fX = state.x;
	fY = state.y;
}

void RleDecoder::Put(RleBand *band, uint8 index)
{
	if (band != NULL && fX < fWidth && fY >= band->firstRow
		&& fY < (uint64)band->firstRow + band->rows) {
		uint8 *row = band->pixels + (fY - band->firstRow) * band->rowBytes;
		if (band->kind == PixelKind::Mono) {
			if (band->black[index]) {
				row[fX / 8] |= (uint8)(0x80 >> (fX % 8));
			}
		} else {
			for (int c = 0; c < 4; c++) {
				row[fX * 4 + c] = band->table[index][c];
			}
		}
	}
	fX++;
}

RleStep RleDecoder::Next(RleBand *band)
{
	int count = fBytes.Next();
	int value = fBytes.Next();
	if (value < 0) {
		return RleStep::EndOfData;
	}
	if (count > 0) {
		// Past the width nothing more is put; skip the rest of the run.
		for (int i = 0; i < count && fX < fWidth; i++) {
			Put(band, (uint8)(fFourBits
				? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value));
		}
		return RleStep::Code;
	}
	switch (value) {
		case 0:
			fX = 0;
			fY++;
			return RleStep::Code;
		case 1:
			return RleStep::EndOfPicture;
		case 2:
		{
			int dx = fBytes.Next();
			int dy = fBytes.Next();
			if (dy < 0) {
				return RleStep::EndOfData;
			}
			fX += (uint64)dx;
			fY += (uint64)dy;
			return RleStep::Code;
		}
	}
	// value pixels as they are, in whole 16-bit words.
	int bytes = fFourBits ? (value + 1) / 2 : value;
	bytes += bytes % 2;
	int pixel = 0;
	for (int i = 0; i < bytes; i++) {
		int stored = fBytes.Next();
		if (stored < 0) {
			return RleStep::EndOfData;
		}
		if (fFourBits) {
			for (int half = 0; half < 2 && pixel < value; half++, pixel++) {
				Put(band, (uint8)(half == 0 ? stored >> 4 : stored & 0x0F));
			}
		} else if (pixel < value) {
			Put(band, (uint8)stored);
			pixel++;
		}
	}
	return RleStep::Code;
}
