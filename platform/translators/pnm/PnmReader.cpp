#include "PnmReader.h"

#include <string.h>

#include <vector>

#include "BitmapStreamHeader.h"
#include "PnmHeader.h"
#include "TranslationError.h"

namespace {

[[noreturn]] void CutShort()
{
	PnmDamaged("the file is cut short");
}

uint8 Scale(uint32 value, uint32 maxval)
{
	return (uint8)((value * 255 + maxval / 2) / maxval);
}

// Whether plain data from start holds count samples ('0' and '1' pixels
// for PBM, numbers otherwise) before the stream ends. Counting stops early
// at anything else, which the reading then reports. One pass over the
// buffered bytes, as the file may be large.
bool PlainSamplesPresent(BPositionIO *stream, uint64 start, bool bitmap,
	uint64 count)
{
	ByteSource source(stream, start);
	uint64 found = 0;
	bool inNumber = false;
	bool inComment = false;
	while (found < count) {
		size_t available = source.Available();
		if (available == 0) {
			return false;
		}
		const uint8 *data = source.Data();
		for (size_t i = 0; i < available && found < count; i++) {
			int c = data[i];
			if (inComment) {
				inComment = c != '\n' && c != '\r';
			} else if (c == '#' || IsSpace(c)) {
				inComment = c == '#';
				inNumber = false;
			} else if (bitmap ? (c == '0' || c == '1') : IsDigit(c)) {
				found += bitmap || !inNumber ? 1 : 0;
				inNumber = true;
			} else {
				return true;
			}
		}
		source.Consume(available);
	}
	return true;
}

class PnmDecoder {
public:
	PnmDecoder(BPositionIO *source, BPositionIO *destination)
		: fStream(source), fSource(source), fDestination(destination)
	{
	}

	void Decode()
	{
		fHeader = ReadPnmHeader(fSource);
		CheckPictureSize(fHeader.width, fHeader.height);
		CheckSamplesPresent();
		PixelKind kind = fHeader.Kind();
		bool mono = kind == PixelKind::Mono;
		size_t outRowBytes = mono ? RowBytesOf(fHeader.width, kind)
			: (size_t)fHeader.width * 4;
		WriteBitmapHeader(fDestination, MakeBitmapHeader(fHeader.width,
			fHeader.height, mono ? B_GRAY1 : B_RGB32, (uint32)outRowBytes));

		fOut.resize(outRowBytes);
		fSamples.resize(mono ? 0 : fHeader.SamplesPerRow());
		fScaled.resize(256);
		for (uint32 value = 0; value <= fHeader.maxval && value < 256;
				value++) {
			fScaled[value] = Scale(value, fHeader.maxval);
		}
		for (uint32 y = 0; y < fHeader.height; y++) {
			if (mono) {
				ReadBitmapRow();
			} else {
				const uint8 *samples = NextSampleRow();
				if (kind == PixelKind::Grey) {
					GreyToRgb32(samples, fHeader.width, fOut.data());
				} else {
					RgbToRgb32(samples, fHeader.width, fOut.data());
				}
				if (samples != fSamples.data()) {
					fSource.Consume(fSamples.size());
				}
			}
			WriteRow(fDestination, fOut.data(), fOut.size());
		}
	}

private:
	// A header of a few bytes may claim hundreds of megabytes.
	void CheckSamplesPresent()
	{
		uint64 samples = fHeader.SamplesPerRow() * fHeader.height;
		if (fHeader.Plain()) {
			if (!PlainSamplesPresent(fStream, fSource.Position(),
					fHeader.type == '1', samples)) {
				CutShort();
			}
			return;
		}
		// The single whitespace character between a header and binary data.
		if (!IsSpace(fSource.Next())) {
			PnmDamaged("no whitespace after the header");
		}
		uint64 bytes = fHeader.type == '4'
			? RowBytesOf(fHeader.width, PixelKind::Mono) * (uint64)fHeader.height
			: samples * (fHeader.maxval < 256 ? 1 : 2);
		uint64 remaining;
		if (fSource.Remaining(&remaining) && remaining < bytes) {
			CutShort();
		}
	}

	void ReadBitmapRow()
	{
		uint32 width = fHeader.width;
		if (fHeader.type == '4') {
			if (fSource.Read(fOut.data(), fOut.size()) != fOut.size()) {
				CutShort();
			}
			// Bits past the width carry no pixels; keep them 0 so that
			// equal pictures give equal bytes.
			if (width % 8 != 0) {
				fOut.back() &= (uint8)(0xFF << (8 - width % 8));
			}
			return;
		}
		// Plain PBM: one '0' or '1' a pixel, whitespace optional.
		memset(fOut.data(), 0, fOut.size());
		for (uint32 x = 0; x < width; x++) {
			SkipSpaceAndComments(fSource);
			int c = fSource.Next();
			if (c < 0) {
				CutShort();
			}
			if (c != '0' && c != '1') {
				PnmDamaged("a PBM pixel is not 0 or 1");
			}
			if (c == '1') {
				fOut[x / 8] |= (uint8)(0x80 >> (x % 8));
			}
		}
	}

	// The next row's samples scaled to 0..255. At maxval 255, the usual
	// one, every byte is its own value: the row is used where the
	// source's buffer holds it, and consumed once converted.
	const uint8 *NextSampleRow()
	{
		if (!fHeader.Plain() && fHeader.maxval == 255) {
			const uint8 *row = fSource.Contiguous(fSamples.size());
			if (row == NULL) {
				CutShort();
			}
			return row;
		}
		ReadSampleRow();
		return fSamples.data();
	}

	void ReadSampleRow()
	{
		size_t count = fSamples.size();
		uint32 maxval = fHeader.maxval;
		if (fHeader.Plain()) {
			for (size_t i = 0; i < count; i++) {
				fSamples[i] = Checked(ReadPnmNumber(fSource, "sample",
					UINT32_MAX));
			}
			return;
		}
		if (maxval < 256) {
			if (fSource.Read(fSamples.data(), count) != count) {
				CutShort();
			}
			for (size_t i = 0; i < count; i++) {
				fSamples[i] = Checked(fSamples[i]);
			}
			return;
		}
		for (size_t i = 0; i < count; i++) {
			uint8 pair[2];
			if (fSource.Read(pair, 2) != 2) {
				CutShort();
			}
			fSamples[i] = Checked((uint32)pair[0] << 8 | pair[1]);
		}
	}

	// The sample scaled to 0..255; damage when it is above maxval.
	uint8 Checked(uint32 value) const
	{
		if (value > fHeader.maxval) {
			PnmDamaged("a sample is above maxval");
		}
		return value < 256 && fHeader.maxval < 256 ? fScaled[value]
			: Scale(value, fHeader.maxval);
	}

	BPositionIO *fStream;
	ByteSource fSource;
	BPositionIO *fDestination;
	PnmHeader fHeader;
	std::vector<uint8> fOut;
	std::vector<uint8> fSamples;
	std::vector<uint8> fScaled;
};

} // namespace

void ReadPnmToBitmap(BPositionIO *source, BPositionIO *destination)
{
	PnmDecoder decoder(source, destination);
	decoder.Decode();
}
