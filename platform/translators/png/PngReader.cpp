// libpng reports errors by longjmp to the setjmp of the function that
// called it. Each method here that calls libpng therefore sets its own
// jump point first and keeps no C++ object on its stack that a jump would
// skip: the buffers it fills are members, allocated before it runs.
#include "PngReader.h"

#include <setjmp.h>

#include <new>
#include <string>
#include <vector>

#include <png.h>

#include "BitmapStreamHeader.h"
#include "ByteSource.h"
#include "PngErrors.h"
#include "TranslationError.h"

namespace {

// Deflate gives at most 1032 bytes for each byte it reads.
const uint64 kMaxDeflateRatio = 1032;

void ReadFromSource(png_structp png, png_bytep out, png_size_t count)
{
	ByteSource *source = static_cast<ByteSource *>(png_get_io_ptr(png));
	if (source->Read(out, count) != count) {
		png_error(png, "file is cut short");
	}
}

class PngDecoder {
public:
	PngDecoder(BPositionIO *source, BPositionIO *destination)
		: fStream(source), fSource(source), fDestination(destination)
	{
		fMessage[0] = '\0';
		fPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, fMessage,
			RecordPngError, IgnorePngWarning);
		if (fPng != NULL) {
			fInfo = png_create_info_struct(fPng);
		}
	}

	~PngDecoder()
	{
		png_destroy_read_struct(&fPng, fInfo != NULL ? &fInfo : NULL, NULL);
	}

	void Decode()
	{
		if (fPng == NULL || fInfo == NULL) {
			throw std::bad_alloc();
		}
		if (!ReadHeader()) {
			Fail();
		}
		CheckPictureSize(fWidth, fHeight);
		CheckDataCanFill();
		if (!PrepareRows()) {
			Fail();
		}
		bool mono = fKind == PixelKind::Mono;
		size_t outRowBytes = mono ? RowBytesOf(fWidth, PixelKind::Mono)
			: (size_t)fWidth * 4;
		WriteBitmapHeader(fDestination, MakeBitmapHeader(fWidth, fHeight,
			mono ? B_GRAY1 : B_RGB32, (uint32)outRowBytes));

		// Only now, with the header taken, is anything picture-sized made.
		fOutRow.resize(outRowBytes);
		if (fInterlaced) {
			fDecoded.resize(fDecodedRowBytes * fHeight);
			fRows.resize(fHeight);
			for (uint32 y = 0; y < fHeight; y++) {
				fRows[y] = fDecoded.data() + y * fDecodedRowBytes;
			}
		} else {
			fDecoded.resize(fDecodedRowBytes);
		}
		if (!ReadRows()) {
			if (fWriteStatus != B_OK) {
				throw TranslationError{fWriteStatus,
					"cannot write the output"};
			}
			Fail();
		}
	}

private:
	bool ReadHeader()
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		png_set_read_fn(fPng, &fSource, ReadFromSource);
		// Text, profiles and the like change no pixel: passed over unread,
		// so that no chunk is inflated into memory.
		png_set_keep_unknown_chunks(fPng, PNG_HANDLE_CHUNK_NEVER, NULL, -1);
		png_read_info(fPng, fInfo);
		fWidth = png_get_image_width(fPng, fInfo);
		fHeight = png_get_image_height(fPng, fInfo);
		fBitDepth = png_get_bit_depth(fPng, fInfo);
		fColorType = png_get_color_type(fPng, fInfo);
		fChannels = png_get_channels(fPng, fInfo);
		fInterlaced = png_get_interlace_type(fPng, fInfo)
			!= PNG_INTERLACE_NONE;
		fStoredRowBytes = png_get_rowbytes(fPng, fInfo);
		fPalette.hasTransparency
			= png_get_valid(fPng, fInfo, PNG_INFO_tRNS) != 0;
		png_colorp colors = NULL;
		int count = 0;
		if (png_get_PLTE(fPng, fInfo, &colors, &count) != 0) {
			fPalette.count = count;
			for (int i = 0; i < count; i++) {
				fPalette.entries[i][0] = colors[i].red;
				fPalette.entries[i][1] = colors[i].green;
				fPalette.entries[i][2] = colors[i].blue;
			}
		}
		fKind = PngKind(fColorType, fBitDepth, fPalette);
		return true;
	}

	// A file whose IDAT chunks are shorter than that share of its rows
	// (each with its filter byte) cannot hold them: a header of a few
	// bytes, or a small picture padded with large ancillary chunks, must
	// not be taken at its word. An interlaced picture's passes hold at
	// least its pixel bits.
	void CheckDataCanFill() const
	{
		uint64 rowData = fInterlaced
			? ((uint64)fWidth * fHeight * fChannels * fBitDepth + 7) / 8
			: (uint64)(fStoredRowBytes + 1) * fHeight;
		if (rowData > CountIdatBytes(fStream) * kMaxDeflateRatio) {
			Damaged("not a readable PNG image (Not enough image data)");
		}
	}

	bool PrepareRows()
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		size_t rowBytes;
		if (fKind == PixelKind::Mono && fColorType == PNG_COLOR_TYPE_GRAY) {
			// PNG's 1-bit grey has 0 for black; ours has 1.
			png_set_invert_mono(fPng);
			rowBytes = RowBytesOf(fWidth, PixelKind::Mono);
		} else if (fKind == PixelKind::Mono) {
			// Palette indexes, one a byte. An index past the palette is
			// black, as libpng expands it.
			png_set_packing(fPng);
			for (int i = 0; i < 256; i++) {
				const uint8 *c = fPalette.entries[i];
				fBlack[i] = i >= fPalette.count
					|| (c[0] == 0 && c[1] == 0 && c[2] == 0);
			}
			rowBytes = fWidth;
		} else if (fColorType == PNG_COLOR_TYPE_PALETTE
			&& !fPalette.hasTransparency) {
			// Indexes one a byte, looked up here in one pass, where libpng
			// would expand them, swap red and blue and add alpha in three.
			png_set_packing(fPng);
			BuildPaletteTable();
			fWidening = Widening::Indexes;
			rowBytes = fWidth;
		} else if (fBitDepth == 8 && !fPalette.hasTransparency
			&& (fColorType == PNG_COLOR_TYPE_RGB
				|| fColorType == PNG_COLOR_TYPE_GRAY)) {
			// Rows as stored, widened here in one pass for the same reason.
			fWidening = fColorType == PNG_COLOR_TYPE_RGB ? Widening::Rgb
				: Widening::Grey;
			rowBytes = (size_t)fWidth * fChannels;
		} else if (fBitDepth == 16
			&& (fColorType & PNG_COLOR_MASK_ALPHA) != 0) {
			// Composited on white at the samples' own precision, here.
			png_set_gray_to_rgb(fPng);
			fWidening = Widening::Rgba16;
			rowBytes = (size_t)fWidth * 8;
		} else {
			png_set_expand(fPng);
			png_set_scale_16(fPng);
			png_set_gray_to_rgb(fPng);
			// Without any alpha, libpng writes the stream's own blue,
			// green, red, 255 rows, which go out as they come.
			fOpaque = (fColorType & PNG_COLOR_MASK_ALPHA) == 0
				&& !fPalette.hasTransparency;
			if (fOpaque) {
				png_set_bgr(fPng);
			}
			png_set_add_alpha(fPng, 0xFF, PNG_FILLER_AFTER);
			rowBytes = (size_t)fWidth * 4;
		}
		png_set_interlace_handling(fPng);
		png_read_update_info(fPng, fInfo);
		if (png_get_rowbytes(fPng, fInfo) != rowBytes) {
			png_error(fPng, "unexpected row layout");
		}
		fDecodedRowBytes = rowBytes;
		return true;
	}

	bool ReadRows()
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		if (fInterlaced) {
			png_read_image(fPng, fRows.data());
		}
		for (uint32 y = 0; y < fHeight; y++) {
			uint8 *decoded = fInterlaced ? fRows[y] : fDecoded.data();
			if (!fInterlaced) {
				png_read_row(fPng, decoded, NULL);
			}
			const uint8 *out = ConvertRow(decoded);
			fWriteStatus = WriteFully(fDestination, out, fOutRow.size());
			if (fWriteStatus != B_OK) {
				return false;
			}
		}
		png_read_end(fPng, NULL);
		return true;
	}

	// B_RGB32 pixels of every palette entry; an index past the palette is
	// black, as libpng expands it.
	void BuildPaletteTable()
	{
		for (int i = 0; i < 256; i++) {
			const uint8 *c = fPalette.entries[i];
			const bool inPalette = i < fPalette.count;
			fTable[i][0] = inPalette ? c[2] : 0;
			fTable[i][1] = inPalette ? c[1] : 0;
			fTable[i][2] = inPalette ? c[0] : 0;
			fTable[i][3] = 255;
		}
	}

	const uint8 *ConvertRow(const uint8 *decoded)
	{
		switch (fWidening) {
			case Widening::Indexes:
				IndexesToRgb32(decoded, fWidth, fTable, fOutRow.data());
				return fOutRow.data();
			case Widening::Rgb:
				RgbToRgb32(decoded, fWidth, fOutRow.data());
				return fOutRow.data();
			case Widening::Grey:
				GreyToRgb32(decoded, fWidth, fOutRow.data());
				return fOutRow.data();
			case Widening::Rgba16:
				Rgba16ToRgb32OnWhite(decoded, fWidth, fOutRow.data());
				return fOutRow.data();
			case Widening::ByLibpng:
				break;
		}
		if (fKind != PixelKind::Mono && fOpaque) {
			return decoded;
		}
		if (fKind != PixelKind::Mono) {
			RgbaToRgb32OnWhite(decoded, fWidth, fOutRow.data());
			return fOutRow.data();
		}
		if (fColorType == PNG_COLOR_TYPE_GRAY) {
			return decoded;
		}
		PackBlackIndexes(decoded, fWidth, fBlack, fOutRow.data());
		return fOutRow.data();
	}

	[[noreturn]] void Fail() const
	{
		Damaged(std::string("not a readable PNG image (") + fMessage + ")");
	}

	BPositionIO *fStream;
	ByteSource fSource;
	BPositionIO *fDestination;
	char fMessage[kPngMessageSize];
	png_structp fPng = NULL;
	png_infop fInfo = NULL;
	uint32 fWidth = 0;
	// No alpha channel and no transparent colour: rows need no compositing.
	bool fOpaque = false;
	uint32 fHeight = 0;
	int fBitDepth = 0;
	int fColorType = 0;
	int fChannels = 0;
	bool fInterlaced = false;
	// A row as stored, before any transformation, and as libpng hands it.
	size_t fStoredRowBytes = 0;
	size_t fDecodedRowBytes = 0;
	PngPalette fPalette;
	PixelKind fKind = PixelKind::Rgb;
	bool fBlack[256];
	// How the rows libpng hands over become the stream's: by libpng's own
	// transformations, or here from indexes, RGB or grey samples, or
	// 16-bit samples with alpha.
	enum class Widening { ByLibpng, Indexes, Rgb, Grey, Rgba16 };
	Widening fWidening = Widening::ByLibpng;
	uint8 fTable[256][4];
	std::vector<uint8> fDecoded;
	std::vector<png_bytep> fRows;
	std::vector<uint8> fOutRow;
	status_t fWriteStatus = B_OK;
};

} // namespace

namespace {

bool IsGreyPalette(const PngPalette &palette)
{
	for (int i = 0; i < palette.count; i++) {
		const uint8 *c = palette.entries[i];
		if (c[0] != c[1] || c[1] != c[2]) {
			return false;
		}
	}
	return palette.count > 0;
}

} // namespace

PixelKind PngKind(int colorType, int bitDepth, const PngPalette &palette)
{
	if (IsBilevelPng(colorType, bitDepth, palette)) {
		return PixelKind::Mono;
	}
	if (colorType == PNG_COLOR_TYPE_PALETTE) {
		return IsGreyPalette(palette) ? PixelKind::Grey : PixelKind::Rgb;
	}
	return (colorType & PNG_COLOR_MASK_COLOR) != 0 ? PixelKind::Rgb
		: PixelKind::Grey;
}

void ReadPngToBitmap(BPositionIO *source, BPositionIO *destination)
{
	PngDecoder decoder(source, destination);
	decoder.Decode();
}
