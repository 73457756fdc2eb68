#include "BmpRows.h"

namespace {

// A mask's part of a pixel scaled to 0..255, rounded to nearest.
inline uint8 Component(uint32 pixel, const BmpMask &mask)
{
	if (mask.bits == 0) {
		return 0;
	}
	uint64 value = (pixel & mask.mask) >> mask.shift;
	if (mask.bits == 8) {
		return (uint8)value;
	}
	uint64 largest = ((uint64)1 << mask.bits) - 1;
	return (uint8)((value * 255 + largest / 2) / largest);
}

} // namespace

BmpRowConverter::BmpRowConverter(const BmpHeader &header)
	: fHeader(header), fKind(header.Kind())
{
	header.palette.Rgb32Table(fTable);
	header.palette.BlackTable(fBlack);
}

size_t BmpRowConverter::OutRowBytes() const
{
	return fKind == PixelKind::Mono
		? RowBytesOf(fHeader.width, PixelKind::Mono)
		: (size_t)fHeader.width * 4;
}

void BmpRowConverter::Convert(const uint8 *stored, uint8 *out)
{
	const uint32 width = fHeader.width;
	if (fHeader.Indexed()) {
		// Made at the first row: the header's size is checked by then.
		fIndexes.resize(width);
		UnpackIndexes(stored, width, fHeader.bitsPerPixel, fIndexes.data());
		if (fKind == PixelKind::Mono) {
			PackBlackIndexes(fIndexes.data(), width, fBlack, out);
		} else {
			IndexesToRgb32(fIndexes.data(), width, fTable, out);
		}
	} else if (fHeader.bitsPerPixel == 24) {
		for (uint32 x = 0; x < width; x++, stored += 3, out += 4) {
			out[0] = stored[0];
			out[1] = stored[1];
			out[2] = stored[2];
			out[3] = 255;
		}
	} else {
		ConvertMasked(stored, out);
	}
}

void BmpRowConverter::ConvertMasked(const uint8 *stored, uint8 *out) const
{
	const bool wide = fHeader.bitsPerPixel == 32;
	const BmpMask *masks = fHeader.masks;
	for (uint32 x = 0; x < fHeader.width; x++, out += 4) {
		uint32 pixel = (uint32)stored[0] | (uint32)stored[1] << 8;
		if (wide) {
			pixel |= (uint32)stored[2] << 16 | (uint32)stored[3] << 24;
		}
		stored += wide ? 4 : 2;
		uint8 alpha = fHeader.HasAlpha() ? Component(pixel, masks[3]) : 255;
		out[0] = OverWhite(Component(pixel, masks[2]), alpha);
		out[1] = OverWhite(Component(pixel, masks[1]), alpha);
		out[2] = OverWhite(Component(pixel, masks[0]), alpha);
		out[3] = 255;
	}
}
