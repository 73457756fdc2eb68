#include "PnmHeader.h"

#include <string>

#include "TranslationError.h"

namespace {

const uint32 kMaxSampleValue = 65535;

} // namespace

PixelKind PnmHeader::Kind() const
{
	switch (type) {
		case '1':
		case '4':
			return PixelKind::Mono;
		case '2':
		case '5':
			return PixelKind::Grey;
	}
	return PixelKind::Rgb;
}

uint64 PnmHeader::SamplesPerRow() const
{
	return Kind() == PixelKind::Rgb ? (uint64)width * 3 : width;
}

bool IsSpace(int c)
{
	return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v'
		|| c == '\f';
}

bool IsDigit(int c)
{
	return c >= '0' && c <= '9';
}

void PnmDamaged(const std::string &why)
{
	Damaged("not a readable PNM image (" + why + ")");
}

bool LooksLikePnm(BPositionIO *stream)
{
	uint8 magic[3];
	return stream->ReadAt(0, magic, sizeof(magic)) == sizeof(magic)
		&& magic[0] == 'P' && magic[1] >= '1' && magic[1] <= '6'
		&& (IsSpace(magic[2]) || magic[2] == '#');
}

void SkipSpaceAndComments(ByteSource &source)
{
	while (source.Available() > 0) {
		int c = *source.Data();
		if (c == '#') {
			while (source.Available() > 0 && *source.Data() != '\n'
				&& *source.Data() != '\r') {
				source.Consume(1);
			}
		} else if (IsSpace(c)) {
			source.Consume(1);
		} else {
			return;
		}
	}
}

uint32 ReadPnmNumber(ByteSource &source, const char *what, uint32 limit)
{
	SkipSpaceAndComments(source);
	if (source.Available() == 0) {
		PnmDamaged(std::string("the file ends before the ") + what);
	}
	if (!IsDigit(*source.Data())) {
		PnmDamaged(std::string("the ") + what + " is not a number");
	}
	uint64 value = 0;
	while (source.Available() > 0 && IsDigit(*source.Data())) {
		value = value * 10 + (*source.Data() - '0');
		if (value > limit) {
			PnmDamaged(std::string("the ") + what + " is too large");
		}
		source.Consume(1);
	}
	return (uint32)value;
}

PnmHeader ReadPnmHeader(ByteSource &source)
{
	uint8 magic[2];
	if (source.Read(magic, 2) != 2 || magic[0] != 'P' || magic[1] < '1'
		|| magic[1] > '6') {
		PnmDamaged("no P1 to P6 magic");
	}
	PnmHeader header;
	header.type = (char)magic[1];
	header.width = ReadPnmNumber(source, "width", UINT32_MAX);
	header.height = ReadPnmNumber(source, "height", UINT32_MAX);
	if (header.Kind() != PixelKind::Mono) {
		header.maxval = ReadPnmNumber(source, "maxval", kMaxSampleValue);
		if (header.maxval == 0) {
			PnmDamaged("maxval is 0");
		}
	}
	return header;
}
