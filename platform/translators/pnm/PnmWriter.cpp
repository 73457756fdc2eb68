#include "PnmWriter.h"

#include <string>
#include <vector>

#include "BitmapInput.h"
#include "BlackAndWhite.h"
#include "TranslationError.h"

namespace {

PixelKind KindFor(PnmVariant variant, PixelKind picture)
{
	switch (variant) {
		case PnmVariant::Bitmap:
			return PixelKind::Mono;
		case PnmVariant::Graymap:
			if (picture == PixelKind::Rgb) {
				Refuse("unsupported depth: a colour picture cannot be "
					"written as PGM, which holds greys alone (PPM can hold "
					"it)");
			}
			return PixelKind::Grey;
		case PnmVariant::Pixmap:
			return PixelKind::Rgb;
		case PnmVariant::Fitting:
			break;
	}
	return picture;
}

} // namespace

void WriteBitmapAsPnm(BPositionIO *source, BPositionIO *destination,
	PnmVariant variant, bool dither)
{
	BitmapInput input(source);
	PixelKind kind = KindFor(variant, input.Kind());
	char magic = kind == PixelKind::Mono ? '4'
		: kind == PixelKind::Grey ? '5' : '6';
	std::string header = std::string("P") + magic + "\n"
		+ std::to_string(input.Width()) + " "
		+ std::to_string(input.Height()) + "\n"
		+ (kind == PixelKind::Mono ? "" : "255\n");
	WriteRow(destination, header.data(), header.size());
	std::vector<uint8> row(RowBytesOf(input.Width(), kind));
	if (kind == PixelKind::Mono && input.Kind() != PixelKind::Mono) {
		BlackAndWhite bilevel(input.Width(), dither);
		std::vector<uint8> rgb(RowBytesOf(input.Width(), PixelKind::Rgb));
		for (uint32 y = 0; y < input.Height(); y++) {
			input.ReadRow(PixelKind::Rgb, rgb.data());
			bilevel.MakeRow(rgb.data(), row.data());
			WriteRow(destination, row.data(), row.size());
		}
		return;
	}
	for (uint32 y = 0; y < input.Height(); y++) {
		input.ReadRow(kind, row.data());
		WriteRow(destination, row.data(), row.size());
	}
}
