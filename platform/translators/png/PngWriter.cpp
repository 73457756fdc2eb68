// As in the reader, the methods that call libpng set their own jump point
// and keep no C++ object on their stack; the row they write is a member.
#include "PngWriter.h"

#include <setjmp.h>

#include <new>
#include <string>
#include <vector>

#include <png.h>

#include "BitmapInput.h"
#include "PngErrors.h"
#include "TranslationError.h"

namespace {

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
		fKind = fInput.Kind();
		fRow.resize(RowBytesOf(fInput.Width(), fKind));
		if (!WriteHeader()) {
			Fail();
		}
		for (uint32 y = 0; y < fInput.Height(); y++) {
			// May throw for a stream cut short: outside libpng's frames.
			fInput.ReadRow(fKind, fRow.data());
			if (!WriteRow()) {
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

	bool WriteHeader()
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		png_set_write_fn(fPng, this, WriteToDestination, FlushNothing);
		png_set_IHDR(fPng, fInfo, fInput.Width(), fInput.Height(),
			fKind == PixelKind::Mono ? 1 : 8,
			fKind == PixelKind::Rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY,
			PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
			PNG_FILTER_TYPE_DEFAULT);
		png_write_info(fPng, fInfo);
		if (fKind == PixelKind::Mono) {
			// Ours has 1 for black; PNG's 1-bit grey has 0.
			png_set_invert_mono(fPng);
		}
		return true;
	}

	bool WriteRow()
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		png_write_row(fPng, fRow.data());
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
	PixelKind fKind = PixelKind::Rgb;
	std::vector<uint8> fRow;
	status_t fWriteStatus = B_OK;
};

} // namespace

void WriteBitmapAsPng(BPositionIO *source, BPositionIO *destination)
{
	BitmapInput input(source);
	PngEncoder encoder(input, destination);
	encoder.Encode();
}
