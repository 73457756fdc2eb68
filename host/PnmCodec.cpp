#include "PnmCodec.h"

#include <string.h>

#include <string>

#include "Failure.h"

namespace {

const uint32 kMaxSampleValue = 65535;

bool IsSpace(uint8 c)
{
	return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v'
		|| c == '\f';
}

bool IsDigit(uint8 c)
{
	return c >= '0' && c <= '9';
}

[[noreturn]] void Damaged(const std::string &why)
{
	throw Failure("not a readable PNM image (" + why + ")");
}

class PnmReader {
public:
	explicit PnmReader(const ByteVector &bytes)
		: fCursor(bytes.data()), fEnd(bytes.data() + bytes.size()) {}

	Image Read()
	{
		char type = (char)fCursor[1];
		fCursor += 2;
		uint32 width = ReadNumber("width", UINT32_MAX);
		uint32 height = ReadNumber("height", UINT32_MAX);
		bool bitmap = type == '1' || type == '4';
		uint32 maxval = bitmap ? 1 : ReadNumber("maxval", kMaxSampleValue);
		if (maxval == 0) {
			Damaged("maxval is 0");
		}
		CheckImageSize(width, height);
		if (bitmap) {
			return ReadBitmap(type == '4', width, height);
		}
		PixelKind kind = (type == '2' || type == '5') ? PixelKind::Grey
			: PixelKind::Rgb;
		bool ascii = type == '2' || type == '3';
		return ReadSamples(ascii, kind, width, height, maxval);
	}

private:
	void SkipSpaceAndComments()
	{
		while (fCursor < fEnd) {
			if (*fCursor == '#') {
				while (fCursor < fEnd && *fCursor != '\n' && *fCursor != '\r') {
					fCursor++;
				}
			} else if (IsSpace(*fCursor)) {
				fCursor++;
			} else {
				return;
			}
		}
	}

	uint32 ReadNumber(const char *what, uint32 limit)
	{
		SkipSpaceAndComments();
		if (fCursor == fEnd) {
			Damaged(std::string("the file ends before the ") + what);
		}
		if (!IsDigit(*fCursor)) {
			Damaged(std::string("the ") + what + " is not a number");
		}
		uint64 value = 0;
		while (fCursor < fEnd && IsDigit(*fCursor)) {
			value = value * 10 + (*fCursor - '0');
			if (value > limit) {
				Damaged(std::string("the ") + what + " is too large");
			}
			fCursor++;
		}
		return (uint32)value;
	}

	// The single whitespace character between a header and binary data.
	void SkipDataSeparator()
	{
		if (fCursor == fEnd || !IsSpace(*fCursor)) {
			Damaged("no whitespace after the header");
		}
		fCursor++;
	}

	void NeedBytes(uint64 count)
	{
		if ((uint64)(fEnd - fCursor) < count) {
			Damaged("the file is cut short");
		}
	}

	// The data is checked to be there, as far as its size is known, before
	// the picture is allocated: a header of a few bytes may claim hundreds
	// of megabytes.
	Image ReadBitmap(bool packed, uint32 width, uint32 height)
	{
		if (packed) {
			SkipDataSeparator();
			NeedBytes((uint64)RowBytesFor(width, PixelKind::Mono) * height);
		} else {
			// At least one character a pixel.
			NeedBytes((uint64)width * height);
		}
		Image image = AllocateImage(width, height, PixelKind::Mono);
		if (packed) {
			memcpy(image.pixels.data(), fCursor, image.pixels.size());
			fCursor += image.pixels.size();
			ClearPadding(image);
			return image;
		}
		// Plain PBM: one '0' or '1' a pixel, whitespace optional.
		for (uint32 y = 0; y < height; y++) {
			uint8 *row = image.Row(y);
			for (uint32 x = 0; x < width; x++) {
				SkipSpaceAndComments();
				if (fCursor == fEnd) {
					Damaged("the file is cut short");
				}
				if (*fCursor != '0' && *fCursor != '1') {
					Damaged("a PBM pixel is not 0 or 1");
				}
				if (*fCursor++ == '1') {
					row[x / 8] |= (uint8)(0x80 >> (x % 8));
				}
			}
		}
		return image;
	}

	// Bits past the width carry no pixels; keep them 0 so that equal
	// pictures give equal bytes.
	static void ClearPadding(Image &image)
	{
		uint32 usedBits = image.width % 8;
		if (usedBits == 0) {
			return;
		}
		uint8 mask = (uint8)(0xFF << (8 - usedBits));
		for (uint32 y = 0; y < image.height; y++) {
			image.Row(y)[image.RowBytes() - 1] &= mask;
		}
	}

	uint32 NextSample(bool ascii, uint32 maxval)
	{
		uint32 value;
		if (ascii) {
			value = ReadNumber("sample", UINT32_MAX);
		} else {
			value = ((uint32)fCursor[0] << 8) | fCursor[1];
			fCursor += 2;
		}
		if (value > maxval) {
			Damaged("a sample is above maxval");
		}
		return value;
	}

	Image ReadSamples(bool ascii, PixelKind kind, uint32 width,
		uint32 height, uint32 maxval)
	{
		uint64 samples = (uint64)RowBytesFor(width, kind) * height;
		if (ascii) {
			// At least one digit a sample.
			NeedBytes(samples);
		} else {
			SkipDataSeparator();
			NeedBytes(samples * (maxval < 256 ? 1 : 2));
		}
		Image image = AllocateImage(width, height, kind);
		if (!ascii && maxval < 256) {
			ReadByteSamples(image, maxval);
			return image;
		}
		size_t count = image.pixels.size();
		for (size_t i = 0; i < count; i++) {
			image.pixels[i] = Scale(NextSample(ascii, maxval), maxval);
		}
		return image;
	}

	// Binary samples of one byte: copied as they are at maxval 255, else
	// scaled through a table built once for the 256 possible bytes.
	void ReadByteSamples(Image &image, uint32 maxval)
	{
		size_t count = image.pixels.size();
		uint8 *out = image.pixels.data();
		if (maxval == 255) {
			memcpy(out, fCursor, count);
			fCursor += count;
			return;
		}
		uint8 scaled[256];
		for (uint32 value = 0; value <= maxval; value++) {
			scaled[value] = Scale(value, maxval);
		}
		for (size_t i = 0; i < count; i++) {
			uint8 value = fCursor[i];
			if (value > maxval) {
				Damaged("a sample is above maxval");
			}
			out[i] = scaled[value];
		}
		fCursor += count;
	}

	static uint8 Scale(uint32 value, uint32 maxval)
	{
		return (uint8)((value * 255 + maxval / 2) / maxval);
	}

	const uint8 *fCursor;
	const uint8 *fEnd;
};

} // namespace

bool LooksLikePnm(const ByteVector &bytes)
{
	return bytes.size() >= 3 && bytes[0] == 'P' && bytes[1] >= '1'
		&& bytes[1] <= '6' && (IsSpace(bytes[2]) || bytes[2] == '#');
}

Image DecodePnm(const ByteVector &bytes)
{
	if (!LooksLikePnm(bytes)) {
		Damaged("no P1 to P6 magic");
	}
	PnmReader reader(bytes);
	return reader.Read();
}

ByteVector EncodePnm(const Image &image)
{
	char magic = image.kind == PixelKind::Mono ? '4'
		: image.kind == PixelKind::Grey ? '5' : '6';
	std::string header = std::string("P") + magic + "\n"
		+ std::to_string(image.width) + " " + std::to_string(image.height)
		+ "\n" + (image.kind == PixelKind::Mono ? "" : "255\n");
	ByteVector bytes;
	bytes.reserve(header.size() + image.pixels.size());
	bytes.insert(bytes.end(), header.begin(), header.end());
	bytes.insert(bytes.end(), image.pixels.begin(), image.pixels.end());
	return bytes;
}
