// libjpeg reports fatal errors through error_exit, which must not return;
// ours jumps back to the setjmp of the function that called libjpeg. As
// with libpng, those functions keep no C++ object on their stack that a
// jump would skip.
#include "JpegCodec.h"

#include <setjmp.h>
#include <stdio.h>
#include <string.h>

#include <new>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

#include "Failure.h"

namespace {

struct ErrorHandler {
	jpeg_error_mgr base;
	jmp_buf jump;
	char message[JMSG_LENGTH_MAX];
	bool cutShort;
};

void JumpOnError(j_common_ptr info)
{
	ErrorHandler *handler = reinterpret_cast<ErrorHandler *>(info->err);
	handler->base.format_message(info, handler->message);
	longjmp(handler->jump, 1);
}

// Warnings are not printed. Those that say the data ended before the last
// scan line, the file ending or a marker coming where data should, mean a
// damaged file: libjpeg would fill the rest with grey and carry on, over
// the whole of a picture whose header may claim 16384 x 16384, so the
// decoding stops at once, as for an error.
void NoteWarning(j_common_ptr info, int level)
{
	ErrorHandler *handler = reinterpret_cast<ErrorHandler *>(info->err);
	if (level < 0 && (handler->base.msg_code == JWRN_JPEG_EOF
			|| handler->base.msg_code == JWRN_HIT_MARKER)) {
		handler->cutShort = true;
		longjmp(handler->jump, 1);
	}
}

class JpegDecoder {
public:
	explicit JpegDecoder(const ByteVector &bytes)
		: fBytes(bytes)
	{
		memset(&fInfo, 0, sizeof(fInfo));
		fInfo.err = jpeg_std_error(&fErrors.base);
		fErrors.base.error_exit = JumpOnError;
		fErrors.base.emit_message = NoteWarning;
		fErrors.message[0] = '\0';
		fErrors.cutShort = false;
	}

	// Safe also when jpeg_create_decompress never ran or failed: it
	// releases only the memory manager that creation set up.
	~JpegDecoder()
	{
		jpeg_destroy_decompress(&fInfo);
	}

	Image Decode()
	{
		if (!ReadHeader()) {
			Fail();
		}
		if (fInfo.jpeg_color_space == JCS_CMYK
			|| fInfo.jpeg_color_space == JCS_YCCK) {
			throw Failure("unsupported depth: CMYK JPEG (only grey and "
				"colour JPEGs are read)");
		}
		CheckImageSize(fInfo.output_width, fInfo.output_height);
		CheckDataCanFill();
		PixelKind kind = fInfo.out_color_space == JCS_GRAYSCALE
			? PixelKind::Grey : PixelKind::Rgb;
		Image image = AllocateImage(fInfo.output_width, fInfo.output_height,
			kind);
		if (!ReadPixels(image)) {
			Fail();
		}
		return image;
	}

private:
	bool ReadHeader()
	{
		if (setjmp(fErrors.jump)) {
			return false;
		}
		jpeg_create_decompress(&fInfo);
		jpeg_mem_src(&fInfo, fBytes.data(), fBytes.size());
		jpeg_read_header(&fInfo, TRUE);
		fInfo.out_color_space = fInfo.jpeg_color_space == JCS_GRAYSCALE
			? JCS_GRAYSCALE : JCS_RGB;
		jpeg_calc_output_dimensions(&fInfo);
		return true;
	}

	// Each block of a Huffman-coded picture takes at least one bit, its DC
	// code, and each MCU at least one block, so a file with fewer bits than
	// MCUs is cut short: refused before its picture, which a header of a
	// few bytes may make 768 MiB, is allocated. Arithmetic coding can take
	// less than a bit a block and is not checked.
	void CheckDataCanFill() const
	{
		if (fInfo.arith_code) {
			return;
		}
		const uint64 mcuWidth = 8 * (uint64)fInfo.max_h_samp_factor;
		const uint64 mcuHeight = 8 * (uint64)fInfo.max_v_samp_factor;
		const uint64 mcus = (fInfo.image_width + mcuWidth - 1) / mcuWidth
			* ((fInfo.image_height + mcuHeight - 1) / mcuHeight);
		if ((uint64)fBytes.size() * 8 < mcus) {
			throw Failure("not a readable JPEG image (the file is cut "
				"short)");
		}
	}

	bool ReadPixels(Image &image)
	{
		if (setjmp(fErrors.jump)) {
			return false;
		}
		jpeg_start_decompress(&fInfo);
		if (fInfo.output_components * image.width != image.RowBytes()) {
			ERREXIT(&fInfo, JERR_CONVERSION_NOTIMPL);
		}
		while (fInfo.output_scanline < fInfo.output_height) {
			JSAMPROW row = image.Row(fInfo.output_scanline);
			jpeg_read_scanlines(&fInfo, &row, 1);
		}
		jpeg_finish_decompress(&fInfo);
		return true;
	}

	[[noreturn]] void Fail() const
	{
		if (fErrors.cutShort) {
			throw Failure("not a readable JPEG image (the file is cut "
				"short)");
		}
		throw Failure(std::string("not a readable JPEG image (")
			+ fErrors.message + ")");
	}

	const ByteVector &fBytes;
	jpeg_decompress_struct fInfo;
	ErrorHandler fErrors;
};

} // namespace

bool LooksLikeJpeg(const ByteVector &bytes)
{
	return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8
		&& bytes[2] == 0xFF;
}

Image DecodeJpeg(const ByteVector &bytes)
{
	JpegDecoder decoder(bytes);
	return decoder.Decode();
}
