// libpng reports errors by longjmp to the setjmp of the function that
// called it. Each function here that calls libpng therefore sets its own
// jump point first and keeps no C++ object on its stack that a jump would
// skip: the buffers it fills belong to its caller.
#include "PngCodec.h"

#include <setjmp.h>
#include <string.h>

#include <new>
#include <string>

#include <png.h>

#include "Failure.h"

namespace {

const size_t kMessageSize = 200;

void RecordError(png_structp png, png_const_charp message)
{
	char *record = static_cast<char *>(png_get_error_ptr(png));
	snprintf(record, kMessageSize, "%s", message);
	png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp)
{
}

struct MemorySource {
	const uint8 *data;
	size_t size;
	size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
	MemorySource *source = static_cast<MemorySource *>(png_get_io_ptr(png));
	if (count > source->size - source->position) {
		png_error(png, "file is cut short");
	}
	memcpy(out, source->data + source->position, count);
	source->position += count;
}

class PngDecoder {
public:
	explicit PngDecoder(const ByteVector &bytes)
	{
		fSource = {bytes.data(), bytes.size(), 0};
		fMessage[0] = '\0';
		fPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, fMessage,
			RecordError, IgnoreWarning);
		if (fPng != NULL) {
			fInfo = png_create_info_struct(fPng);
		}
	}

	~PngDecoder()
	{
		png_destroy_read_struct(&fPng, fInfo != NULL ? &fInfo : NULL, NULL);
	}

	Image Decode()
	{
		if (fPng == NULL || fInfo == NULL) {
			throw std::bad_alloc();
		}
		if (!ReadHeader()) {
			Fail();
		}
		CheckImageSize(fWidth, fHeight);
		CheckDataCanFill();
		bool mono = fBitDepth == 1 && fColorType == PNG_COLOR_TYPE_GRAY
			&& !fHasTransparency;
		bool colour = (fColorType & PNG_COLOR_MASK_COLOR) != 0;
		PixelKind kind = mono ? PixelKind::Mono
			: colour ? PixelKind::Rgb : PixelKind::Grey;

		// Mono rows arrive as they are stored; everything else as 8-bit
		// RGBA, to be composited on white.
		size_t rowBytes = mono ? RowBytesFor(fWidth, PixelKind::Mono)
			: (size_t)fWidth * 4;
		ByteVector decoded(rowBytes * fHeight);
		std::vector<png_bytep> rows(fHeight);
		for (uint32 y = 0; y < fHeight; y++) {
			rows[y] = decoded.data() + y * rowBytes;
		}
		if (!ReadPixels(mono, rowBytes, rows.data())) {
			Fail();
		}
		if (mono) {
			Image image;
			image.width = fWidth;
			image.height = fHeight;
			image.kind = PixelKind::Mono;
			image.pixels.swap(decoded);
			return image;
		}
		return CompositeOnWhite(decoded, kind);
	}

private:
	bool ReadHeader()
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		png_set_read_fn(fPng, &fSource, ReadFromMemory);
		png_read_info(fPng, fInfo);
		fWidth = png_get_image_width(fPng, fInfo);
		fHeight = png_get_image_height(fPng, fInfo);
		fBitDepth = png_get_bit_depth(fPng, fInfo);
		fColorType = png_get_color_type(fPng, fInfo);
		fHasTransparency = png_get_valid(fPng, fInfo, PNG_INFO_tRNS) != 0;
		fStoredRowBytes = png_get_rowbytes(fPng, fInfo);
		return true;
	}

	// Deflate gives at most 1032 bytes for each byte it reads, so a file
	// shorter than that share of its rows (each with its filter byte)
	// cannot hold them. It would fail once its data ran out, after the
	// rows were allocated: a header of a few bytes claiming a gigabyte.
	void CheckDataCanFill() const
	{
		const uint64 kMaxDeflateRatio = 1032;
		if ((uint64)(fStoredRowBytes + 1) * fHeight
				> (uint64)fSource.size * kMaxDeflateRatio) {
			throw Failure("not a readable PNG image (Not enough image "
				"data)");
		}
	}

	bool ReadPixels(bool mono, size_t rowBytes, png_bytepp rows)
	{
		if (setjmp(png_jmpbuf(fPng))) {
			return false;
		}
		if (mono) {
			// PNG's 1-bit grey has 0 for black; ours has 1.
			png_set_invert_mono(fPng);
		} else {
			png_set_expand(fPng);
			png_set_scale_16(fPng);
			png_set_gray_to_rgb(fPng);
			png_set_add_alpha(fPng, 0xFF, PNG_FILLER_AFTER);
		}
		png_set_interlace_handling(fPng);
		png_read_update_info(fPng, fInfo);
		if (png_get_rowbytes(fPng, fInfo) != rowBytes) {
			png_error(fPng, "unexpected row layout");
		}
		png_read_image(fPng, rows);
		png_read_end(fPng, NULL);
		return true;
	}

	// Opaque pixels, the usual case, are taken as they are.
	Image CompositeOnWhite(const ByteVector &rgba, PixelKind kind) const
	{
		Image image = AllocateImage(fWidth, fHeight, kind);
		size_t count = (size_t)fWidth * fHeight;
		const uint8 *in = rgba.data();
		uint8 *out = image.pixels.data();
		if (kind == PixelKind::Grey) {
			for (size_t i = 0; i < count; i++, in += 4) {
				out[i] = in[3] == 255 ? in[0] : OverWhite(in[0], in[3]);
			}
			return image;
		}
		for (size_t i = 0; i < count; i++, in += 4, out += 3) {
			uint8 alpha = in[3];
			if (alpha == 255) {
				out[0] = in[0];
				out[1] = in[1];
				out[2] = in[2];
			} else {
				out[0] = OverWhite(in[0], alpha);
				out[1] = OverWhite(in[1], alpha);
				out[2] = OverWhite(in[2], alpha);
			}
		}
		return image;
	}

	[[noreturn]] void Fail() const
	{
		throw Failure(std::string("not a readable PNG image (") + fMessage
			+ ")");
	}

	MemorySource fSource;
	char fMessage[kMessageSize];
	png_structp fPng = NULL;
	png_infop fInfo = NULL;
	uint32 fWidth = 0;
	uint32 fHeight = 0;
	int fBitDepth = 0;
	int fColorType = 0;
	bool fHasTransparency = false;
	// A row as stored, before any transformation.
	size_t fStoredRowBytes = 0;
};

struct MemoryDestination {
	ByteVector *bytes;
	bool outOfMemory;
};

void WriteToMemory(png_structp png, png_bytep data, png_size_t count)
{
	MemoryDestination *destination
		= static_cast<MemoryDestination *>(png_get_io_ptr(png));
	try {
		destination->bytes->insert(destination->bytes->end(), data,
			data + count);
	} catch (const std::bad_alloc &) {
		destination->outOfMemory = true;
	}
	if (destination->outOfMemory) {
		png_error(png, "out of memory");
	}
}

void FlushNothing(png_structp)
{
}

// Writes rows into destination; false with the reason in message when
// libpng fails.
bool WritePng(const Image &image, png_bytepp rows,
	MemoryDestination *destination, char *message)
{
	png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, message,
		RecordError, IgnoreWarning);
	if (png == NULL) {
		return false;
	}
	png_infop info = png_create_info_struct(png);
	if (info == NULL || setjmp(png_jmpbuf(png))) {
		png_destroy_write_struct(&png, info != NULL ? &info : NULL);
		return false;
	}
	png_set_write_fn(png, destination, WriteToMemory, FlushNothing);
	int bitDepth = image.kind == PixelKind::Mono ? 1 : 8;
	int colorType = image.kind == PixelKind::Rgb ? PNG_COLOR_TYPE_RGB
		: PNG_COLOR_TYPE_GRAY;
	png_set_IHDR(png, info, image.width, image.height, bitDepth, colorType,
		PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
		PNG_FILTER_TYPE_DEFAULT);
	png_write_info(png, info);
	if (image.kind == PixelKind::Mono) {
		png_set_invert_mono(png);
	}
	png_write_image(png, rows);
	png_write_end(png, NULL);
	png_destroy_write_struct(&png, &info);
	return true;
}

} // namespace

bool LooksLikePng(const ByteVector &bytes)
{
	return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

Image DecodePng(const ByteVector &bytes)
{
	PngDecoder decoder(bytes);
	return decoder.Decode();
}

ByteVector EncodePng(const Image &image)
{
	std::vector<png_bytep> rows(image.height);
	for (uint32 y = 0; y < image.height; y++) {
		rows[y] = const_cast<png_bytep>(image.Row(y));
	}
	ByteVector bytes;
	bytes.reserve(image.pixels.size() / 2 + 1024);
	MemoryDestination destination = {&bytes, false};
	char message[kMessageSize] = "";
	if (!WritePng(image, rows.data(), &destination, message)) {
		if (destination.outOfMemory) {
			throw std::bad_alloc();
		}
		throw Failure(std::string("cannot encode PNG (") + message + ")");
	}
	return bytes;
}
