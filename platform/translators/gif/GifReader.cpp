#include "GifReader.h"

#include <new>
#include <string>
#include <vector>

#include "BitmapStreamHeader.h"
#include "ByteSource.h"
#include "GifFile.h"
#include "StandardImageInfo.h"
#include "TranslationError.h"

namespace {

// The longest string an LZW code of GIF's 4096-entry table stands for.
const uint64 kMaxPixelsPerCode = 4096;

[[noreturn]] void GifDamaged(const std::string &why)
{
	Damaged("not a readable GIF image (" + why + ")");
}

// The bytes of the image's sub-blocks that the file holds, up to the
// terminating empty one.
uint64 CountDataBytes(BPositionIO *stream, uint64 start)
{
	ByteSource blocks(stream, start);
	uint64 total = 0;
	for (;;) {
		int length = blocks.Next();
		if (length <= 0) {
			return total;
		}
		uint64 remaining;
		total += blocks.Remaining(&remaining) && remaining < (uint64)length
			? remaining : (uint64)length;
		if (!blocks.Skip((uint64)length)) {
			return total;
		}
	}
}

class GifDecoder {
public:
	GifDecoder(BPositionIO *source, BPositionIO *destination)
		: fStream(source), fFile(source), fDestination(destination)
	{
	}

	void Decode()
	{
		if (!fFile.ReadFirstImage(&fImage)) {
			Fail();
		}
		if (!fImage.hasColourTable) {
			GifDamaged("the image has no colour table");
		}
		CheckPictureSize(fImage.width, fImage.height);
		CheckDataCanFill();
		fKind = fImage.palette.Kind();
		bool mono = fKind == PixelKind::Mono;
		size_t outRowBytes = mono ? RowBytesOf(fImage.width, PixelKind::Mono)
			: (size_t)fImage.width * 4;
		WriteBitmapHeader(fDestination, MakeBitmapHeader(fImage.width,
			fImage.height, mono ? B_GRAY1 : B_RGB32, (uint32)outRowBytes));

		// Only now, with the header taken, is anything picture-sized made.
		fOutRow.resize(outRowBytes);
		fImage.palette.Rgb32Table(fTable);
		fImage.palette.BlackTable(fBlack);
		if (fImage.interlaced) {
			DecodeInterlaced();
		} else {
			std::vector<uint8> indexes(fImage.width);
			for (uint32 y = 0; y < fImage.height; y++) {
				ReadRow(indexes.data());
				WriteIndexes(indexes.data());
			}
		}
	}

private:
	void CheckDataCanFill() const
	{
		uint64 bits = CountDataBytes(fStream, fImage.dataStart) * 8;
		uint64 codes = bits / (uint64)(fImage.codeSize + 1);
		if ((uint64)fImage.width * fImage.height
				> codes * kMaxPixelsPerCode) {
			GifDamaged("too little image data for its size");
		}
	}

	void DecodeInterlaced()
	{
		static const uint32 kStart[] = {0, 4, 2, 1};
		static const uint32 kStep[] = {8, 8, 4, 2};
		const size_t width = fImage.width;
		std::vector<uint8> picture(width * fImage.height);
		for (int pass = 0; pass < 4; pass++) {
			for (uint32 y = kStart[pass]; y < fImage.height;
					y += kStep[pass]) {
				ReadRow(picture.data() + y * width);
			}
		}
		for (uint32 y = 0; y < fImage.height; y++) {
			WriteIndexes(picture.data() + y * width);
		}
	}

	void ReadRow(uint8 *indexes)
	{
		if (!fFile.ReadRow(indexes, fImage.width)) {
			Fail();
		}
	}

	void WriteIndexes(const uint8 *indexes)
	{
		if (fKind == PixelKind::Mono) {
			PackBlackIndexes(indexes, fImage.width, fBlack, fOutRow.data());
		} else {
			IndexesToRgb32(indexes, fImage.width, fTable, fOutRow.data());
		}
		WriteRow(fDestination, fOutRow.data(), fOutRow.size());
	}

	[[noreturn]] void Fail() const
	{
		if (fFile.OutOfMemory()) {
			throw std::bad_alloc();
		}
		GifDamaged(fFile.Failure());
	}

	BPositionIO *fStream;
	GifFile fFile;
	BPositionIO *fDestination;
	GifImage fImage;
	PixelKind fKind = PixelKind::Rgb;
	uint8 fTable[256][4];
	bool fBlack[256];
	std::vector<uint8> fOutRow;
};

} // namespace

bool IdentifyGif(BPositionIO *source, ImageFacts *facts)
{
	if (!LooksLikeGif(source)) {
		return false;
	}
	GifFile file(source);
	GifImage image;
	if (!file.ReadFirstImage(&image)) {
		return false;
	}
	facts->width = image.width;
	facts->height = image.height;
	facts->kind = image.palette.Kind();
	facts->bitsPerSample = image.tableBits;
	facts->colourKind = IMAGE_KIND_PALETTE;
	facts->alpha = image.palette.transparent >= 0;
	facts->interlaced = image.interlaced;
	return true;
}

void ReadGifToBitmap(BPositionIO *source, BPositionIO *destination)
{
	if (!LooksLikeGif(source)) {
		GifDamaged("no GIF87a or GIF89a signature");
	}
	GifDecoder decoder(source, destination);
	decoder.Decode();
}
