#include "JpegWriter.h"

#include <string.h>

#include <string>
#include <vector>

#include "BitmapInput.h"
#include "JpegStreams.h"
#include "TranslationError.h"

namespace {

class JpegEncoder {
public:
	JpegEncoder(BitmapInput &input, BPositionIO *destination)
		: fInput(input), fStream(destination)
	{
		memset(&fInfo, 0, sizeof(fInfo));
		InstallJpegErrors(reinterpret_cast<j_common_ptr>(&fInfo), &fErrors);
	}

	~JpegEncoder()
	{
		jpeg_destroy_compress(&fInfo);
	}

	void Encode(int quality)
	{
		fKind = fInput.Kind() == PixelKind::Rgb ? PixelKind::Rgb
			: PixelKind::Grey;
		fRow.resize(RowBytesOf(fInput.Width(), fKind));
		if (!Start(quality)) {
			Fail();
		}
		for (uint32 y = 0; y < fInput.Height(); y++) {
			// May throw for a stream cut short: outside libjpeg's frames.
			fInput.ReadRow(fKind, fRow.data());
			if (!WriteRow()) {
				Fail();
			}
		}
		if (!Finish()) {
			Fail();
		}
	}

private:
	bool Start(int quality)
	{
		if (setjmp(fErrors.jump)) {
			return false;
		}
		jpeg_create_compress(&fInfo);
		UseJpegDestination(&fInfo, &fDestination, fStream, &fErrors);
		fInfo.image_width = fInput.Width();
		fInfo.image_height = fInput.Height();
		bool grey = fKind == PixelKind::Grey;
		fInfo.input_components = grey ? 1 : 3;
		fInfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
		jpeg_set_defaults(&fInfo);
		jpeg_set_quality(&fInfo, quality, TRUE);
		jpeg_start_compress(&fInfo, TRUE);
		return true;
	}

	bool WriteRow()
	{
		if (setjmp(fErrors.jump)) {
			return false;
		}
		JSAMPROW row = fRow.data();
		jpeg_write_scanlines(&fInfo, &row, 1);
		return true;
	}

	bool Finish()
	{
		if (setjmp(fErrors.jump)) {
			return false;
		}
		jpeg_finish_compress(&fInfo);
		return true;
	}

	[[noreturn]] void Fail() const
	{
		if (fErrors.writeStatus != B_OK) {
			throw TranslationError{fErrors.writeStatus,
				"cannot write the output"};
		}
		Damaged(std::string("cannot encode JPEG (") + fErrors.message + ")");
	}

	BitmapInput &fInput;
	BPositionIO *fStream;
	jpeg_compress_struct fInfo;
	JpegErrors fErrors;
	JpegDestination fDestination;
	PixelKind fKind = PixelKind::Rgb;
	std::vector<uint8> fRow;
};

} // namespace

void WriteBitmapAsJpeg(BPositionIO *source, BPositionIO *destination,
	int quality)
{
	if (quality < 1) {
		quality = 1;
	} else if (quality > 100) {
		quality = 100;
	}
	BitmapInput input(source);
	JpegEncoder encoder(input, destination);
	encoder.Encode(quality);
}
