// As in the reader, the methods that call libpng set their own jump point
// and keep no C++ object on their stack; the row they write is a member.
#include "PngWriter.h"

#include <setjmp.h>

#include <new>
#include <string>
#include <vector>

#include <png.h>

#include "BitmapInput.h"
#include "PictureColours.h"
#include "PngErrors.h"
#include "PngShape.h"
#include "TranslationError.h"

namespace {

// zlib's level for grey and palette PNGs of few colours. Measured on a
// dithered 4096 x 4096 Pilot image (docs/performance.md): level 3 deflates
// in half the time of libpng's default 6 for a file 5% larger, and level 1
// in a little less again for a file nearly twice as large on flat pictures.
// Other PNGs keep libpng's default.
const int kFewColoursLevel = 3;

void FlushNothing(png_structp)
{
}

class PngEncoder {
public:
	PngEncoder(BitmapInput &input, BPositionIO *destination)
		: fInput(input), fDestination(destination)
	{
		fMessage[0] = '\0';
		fPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, fMessage,
			RecordPngError, IgnorePngWarning);
		if (fPng != NULL) {
			fInfo = png_create_info_struct(fPng);
		}
	}

	~PngEncoder()
	{
		png_destroy_write_struct(&fPng, fInfo != NULL ? &fInfo : NULL);
	}

	void Encode()
	{
		if (fPng == NULL || fInfo == NULL) {
			throw std::bad_alloc();
		}
		fFewColours = SurveyColours();
		if (!fFewColours) {
			fKind = fInput.Kind();
			fRow.resize(RowBytesOf(fInput.Width(), fKind));
		}
		if (!WriteHeader()) {
			Fail();
		}
		for (uint32 y = 0; y < fInput.Height(); y++) {
			// May throw for a stream cut short: outside libpng's frames.
			if (!WriteRow(NextRow())) {
				Fail();
			}
		}
		if (!WriteEnd()) {
			Fail();
		}
	}

private:
	static void WriteToDestination(png_structp png, png_bytep data,
		png_size_t count)
	{
		PngEncoder *self = static_cast<PngEncoder *>(png_get_io_ptr(png));
		self->fWriteStatus = WriteFully(self->fDestination, data, count);
		if (self->fWriteStatus != B_OK) {
			png_error(png, "cannot write the output");
		}
	}

	// Reads the picture once for its colours; true when there are few
	// enough for a palette, and then fShape tells how they are stored.
	// 1-bit pictures are stored as 1-bit grey without looking.
	bool SurveyColours()
	{
		uint32 colors = fInput.ColorSpace();
		if (colors == B_GRAY1) {
			return false;
		}
		fByteRows = colors == B_GRAY8 || colors == B_CMAP8;
		bool few = fByteRows ? SurveyBytes() : SurveyRgb();
		fInput.Rewind();
		if (!few) {
			return false;
		}
		fColours.Number();
		fShape = ShapeOfColours(fColours.Sorted());
		for (int value = 0; value < 256; value++) {
			fSampleOfByte[value] = SampleOf(ColourOfByte((uint8)value));
		}
		fSamples.resize(fInput.Width());
		return true;
	}

	// Grey and indexed rows: which of the 256 byte values occur, and so
	// which colours, with no hashing per pixel.
	bool SurveyBytes()
	{
		bool seen[256] = {};
		for (uint32 y = 0; y < fInput.Height(); y++) {
			const uint8 *row = fInput.ReadStoredRow();
			for (uint32 x = 0; x < fInput.Width(); x++) {
				seen[row[x]] = true;
			}
		}
		for (int value = 0; value < 256; value++) {
			if (seen[value]) {
				fColours.Add(ColourOfByte((uint8)value));
			}
		}
		return true;
	}

	bool SurveyRgb()
	{
		fKind = PixelKind::Rgb;
		fRow.resize(RowBytesOf(fInput.Width(), fKind));
		bool few = true;
		for (uint32 y = 0; y < fInput.Height() && few; y++) {
			fInput.ReadRow(fKind, fRow.data());
			few = fColours.AddRgbRow(fRow.data(), fInput.Width());
		}
		return few;
	}

	uint32 ColourOfByte(uint8 value) const
	{
		rgb_color c = fInput.ColourOfByte(value);
		return (uint32)c.red << 16 | (uint32)c.green << 8 | c.blue;
	}

	// A colour's grey sample or palette index; 0 for one not in the
	// picture (a byte value that does not occur).
	uint8 SampleOf(uint32 colour) const
	{
		if (fShape.grey) {
			return (uint8)((colour & 0xFF) / fShape.greyStep);
		}
		return fColours.Contains(colour) ? fColours.IndexOf(colour) : 0;
	}

	// The next row as libpng takes it: for few colours one grey sample or
	// palette index a byte, which libpng packs to the bit depth.
	const uint8 *NextRow()
	{
		uint32 width = fInput.Width();
		if (!fFewColours) {
			fInput.ReadRow(fKind, fRow.data());
			return fRow.data();
		}
		if (fByteRows) {
			const uint8 *in = fInput.ReadStoredRow();
			for (uint32 x = 0; x < width; x++) {
				fSamples[x] = fSampleOfByte[in[x]];
			}
			return fSamples.data();
		}
		fInput.ReadRow(fKind, fRow.data());
		const uint8 *in = fRow.data();
		for (uint32 x = 0; x < width; x++, in += 3) {
			fSamples[x] = SampleOf(
				(uint32)in[0] << 16 | (uint32)in[1] << 8 | in[2]);
		}
		return fSamples.data();
	}

	bool WriteHeader()
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		png_set_write_fn(fPng, this, WriteToDestination, FlushNothing);
		int bitDepth = fKind == PixelKind::Mono ? 1 : 8;
		int colorType = fKind == PixelKind::Rgb ? PNG_COLOR_TYPE_RGB
			: PNG_COLOR_TYPE_GRAY;
		if (fFewColours) {
			bitDepth = fShape.bitDepth;
			colorType = fShape.grey ? PNG_COLOR_TYPE_GRAY
				: PNG_COLOR_TYPE_PALETTE;
		}
		png_set_IHDR(fPng, fInfo, fInput.Width(), fInput.Height(), bitDepth,
			colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
			PNG_FILTER_TYPE_DEFAULT);
		if (colorType == PNG_COLOR_TYPE_PALETTE) {
			SetPalette();
		}
		if (fFewColours) {
			png_set_compression_level(fPng, kFewColoursLevel);
		}
		png_write_info(fPng, fInfo);
		if (fKind == PixelKind::Mono) {
			// Ours has 1 for black; PNG's 1-bit grey has 0.
			png_set_invert_mono(fPng);
		}
		if (fFewColours && bitDepth < 8) {
			png_set_packing(fPng);
		}
		return true;
	}

	// Called within WriteHeader's jump frame.
	void SetPalette()
	{
		png_color entries[PictureColours::kMaxColours];
		const std::vector<uint32> &colours = fColours.Sorted();
		for (size_t i = 0; i < colours.size(); i++) {
			entries[i].red = (png_byte)(colours[i] >> 16);
			entries[i].green = (png_byte)(colours[i] >> 8);
			entries[i].blue = (png_byte)colours[i];
		}
		png_set_PLTE(fPng, fInfo, entries, (int)colours.size());
	}

	bool WriteRow(const uint8 *row)
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		png_write_row(fPng, row);
		return true;
	}

	bool WriteEnd()
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		png_write_end(fPng, NULL);
		return true;
	}

	[[noreturn]] void Fail() const
	{
		if (fWriteStatus != B_OK) {
			throw TranslationError{fWriteStatus, "cannot write the output"};
		}
		Damaged(std::string("cannot encode PNG (") + fMessage + ")");
	}

	BitmapInput &fInput;
	BPositionIO *fDestination;
	char fMessage[kPngMessageSize];
	png_structp fPng = NULL;
	png_infop fInfo = NULL;
	// The kind rows are read in.
	PixelKind fKind = PixelKind::Rgb;
	std::vector<uint8> fRow;
	bool fFewColours = false;
	PictureColours fColours;
	PngShape fShape = {};
	std::vector<uint8> fSamples;
	// Grey and indexed rows are read as stored and looked up here.
	bool fByteRows = false;
	uint8 fSampleOfByte[256] = {};
	status_t fWriteStatus = B_OK;
};

} // namespace

void WriteBitmapAsPng(BPositionIO *source, BPositionIO *destination)
{
	BitmapInput input(source);
	PngEncoder encoder(input, destination);
	encoder.Encode();
}
