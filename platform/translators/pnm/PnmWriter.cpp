#include "PnmWriter.h"

#include <string>
#include <vector>

#include "BitmapInput.h"
#include "TranslationError.h"

namespace {

// The variant that holds a picture of that kind.
const char *VariantHolding(PixelKind picture)
{
	return picture == PixelKind::Rgb ? "PPM" : "PGM or PPM";
}

PixelKind KindFor(PnmVariant variant, PixelKind picture)
{
	switch (variant) {
		case PnmVariant::Bitmap:
			if (picture != PixelKind::Mono) {
				Refuse(std::string("unsupported depth: ")
					+ (picture == PixelKind::Grey ? "an " : "a ")
					+ DescribeKind(picture) + " picture cannot be written "
					"as PBM, which holds black and white alone ("
					+ VariantHolding(picture) + " can hold it)");
			}
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
	PnmVariant variant)
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
	for (uint32 y = 0; y < input.Height(); y++) {
		input.ReadRow(kind, row.data());
		WriteRow(destination, row.data(), row.size());
	}
}
