#include "PnmWriter.h"

#include <string>
#include <vector>

#include "BitmapInput.h"
#include "TranslationError.h"

namespace {

PixelKind KindFor(PnmVariant variant, PixelKind picture)
{
	switch (variant) {
		case PnmVariant::Bitmap:
			if (picture != PixelKind::Mono) {
				Refuse(std::string("unsupported depth: a ")
					+ DescribeKind(picture) + " picture cannot be written "
					"as PBM");
			}
			return PixelKind::Mono;
		case PnmVariant::Graymap:
			if (picture == PixelKind::Rgb) {
				Refuse("unsupported depth: a colour picture cannot be "
					"written as PGM");
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
