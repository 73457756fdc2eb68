#include "JpegReader.h"

#include <string.h>

#include <string>
#include <vector>

#include <jerror.h>

#include "BitmapStreamHeader.h"
#include "JpegDataScan.h"
#include "JpegStreams.h"
#include "StandardImageInfo.h"
#include "TranslationError.h"

namespace {

// Cyan, magenta, yellow and black as libjpeg gives them, to blue, green,
// red and an opaque alpha: each colour is what its ink and the black let
// through. Adobe's applications, whose APP14 marker such files carry,
// store every ink inverted (255 is none), as every reader takes them.
void InkRowToBgra(const uint8 *inks, uint32 width, bool inverted,
	uint8 *row)
{
	const uint8 flip = inverted ? 0 : 255;
	for (uint32 x = 0; x < width; x++, inks += 4, row += 4) {
		const uint32 black = inks[3] ^ flip;
		row[0] = (uint8)(((inks[2] ^ flip) * black + 127) / 255);
		row[1] = (uint8)(((inks[1] ^ flip) * black + 127) / 255);
		row[2] = (uint8)(((inks[0] ^ flip) * black + 127) / 255);
		row[3] = 255;
	}
}

// A progressive or multi-scan JPEG is decoded scan by scan over the whole
// picture before its first row comes out, and nothing in the format bounds
// the scans: a few bytes each, repeated a thousand times, cost seconds
// each on a large picture. Encoders write a score at most (libjpeg's
// progression: 6 for grey, 10 for colour, 18 for CMYK), so, as
// libjpeg-turbo advises, a scan limit through the progress monitor stops
// a file with more.
const int kMostScans = 32;

void StopPastScanLimit(j_common_ptr common)
{
	j_decompress_ptr info = reinterpret_cast<j_decompress_ptr>(common);
	if (info->input_scan_number > kMostScans) {
		JpegErrors *errors = reinterpret_cast<JpegErrors *>(info->err);
		errors->tooManyScans = true;
		longjmp(errors->jump, 1);
	}
}

class JpegDecoder {
public:
	JpegDecoder(BPositionIO *source, BPositionIO *destination)
		: fStream(source), fBytes(source), fDestination(destination)
	{
		memset(&fInfo, 0, sizeof(fInfo));
		InstallJpegErrors(reinterpret_cast<j_common_ptr>(&fInfo), &fErrors);
	}

	// Safe also when jpeg_create_decompress never ran or failed: it
	// releases only the memory manager that creation set up.
	~JpegDecoder()
	{
		jpeg_destroy_decompress(&fInfo);
	}

	bool ReadHeader()
	{
		if (setjmp(fErrors.jump)) {
			return false;
		}
		jpeg_create_decompress(&fInfo);
		fProgress.progress_monitor = StopPastScanLimit;
		fInfo.progress = &fProgress;
		UseJpegSource(&fInfo, &fSource, &fBytes);
		jpeg_read_header(&fInfo, TRUE);
		return true;
	}

	// What the header says; ReadHeader has succeeded.
	ImageFacts Facts() const
	{
		ImageFacts facts;
		facts.width = fInfo.image_width;
		facts.height = fInfo.image_height;
		facts.kind = fInfo.jpeg_color_space == JCS_GRAYSCALE
			? PixelKind::Grey : PixelKind::Rgb;
		facts.bitsPerSample = fInfo.data_precision;
		facts.colourKind = ColourKind();
		facts.interlaced = fInfo.progressive_mode != 0;
		return facts;
	}

	void Decode()
	{
		if (!ReadHeader()) {
			Fail();
		}
		CheckPictureSize(fInfo.image_width, fInfo.image_height);
		CheckEntropyCodedData(fStream, JpegSourcePosition(fSource), &fInfo);
		WriteBitmapHeader(fDestination, MakeBitmapHeader(fInfo.image_width,
			fInfo.image_height, B_RGB32, fInfo.image_width * 4));
		fRow.resize((size_t)fInfo.image_width * 4);
		if (!ReadRows()) {
			if (fErrors.writeStatus != B_OK) {
				throw TranslationError{fErrors.writeStatus,
					"cannot write the output"};
			}
			Fail();
		}
	}

private:
	const char *ColourKind() const
	{
		switch (fInfo.jpeg_color_space) {
			case JCS_GRAYSCALE:
				return IMAGE_KIND_GREY;
			case JCS_RGB:
				return IMAGE_KIND_RGB;
			case JCS_CMYK:
				return IMAGE_KIND_CMYK;
			case JCS_YCCK:
				return IMAGE_KIND_YCCK;
			default:
				return IMAGE_KIND_YCBCR;
		}
	}

	bool IsInk() const
	{
		return fInfo.jpeg_color_space == JCS_CMYK
			|| fInfo.jpeg_color_space == JCS_YCCK;
	}

	// libjpeg-turbo writes blue, green, red and an opaque alpha itself,
	// from grey as from colour, with the same values as its RGB output.
	// From CMYK and YCCK it gives the four inks (YCCK turned into CMYK),
	// which InkRowToBgra mixes.
	bool ReadRows()
	{
		if (setjmp(fErrors.jump)) {
			return false;
		}
		fInfo.out_color_space = IsInk() ? JCS_CMYK : JCS_EXT_BGRA;
		jpeg_start_decompress(&fInfo);
		if (fInfo.output_components != 4
			|| fInfo.output_width != fInfo.image_width) {
			ERREXIT(&fInfo, JERR_CONVERSION_NOTIMPL);
		}
		std::vector<uint8> inks(IsInk() ? fRow.size() : 0);
		while (fInfo.output_scanline < fInfo.output_height) {
			JSAMPROW row = IsInk() ? inks.data() : fRow.data();
			jpeg_read_scanlines(&fInfo, &row, 1);
			if (IsInk()) {
				InkRowToBgra(inks.data(), fInfo.image_width,
					fInfo.saw_Adobe_marker != 0, fRow.data());
			}
			fErrors.writeStatus = WriteFully(fDestination, fRow.data(),
				fRow.size());
			if (fErrors.writeStatus != B_OK) {
				return false;
			}
		}
		jpeg_finish_decompress(&fInfo);
		return true;
	}

	[[noreturn]] void Fail() const
	{
		if (fErrors.tooManyScans) {
			Damaged("not a readable JPEG image (more than "
				+ std::to_string(kMostScans) + " scans, where encoders write "
				"a score at most)");
		}
		if (fErrors.cutShort) {
			Damaged("not a readable JPEG image (the file is cut short)");
		}
		Damaged(std::string("not a readable JPEG image (") + fErrors.message
			+ ")");
	}

	BPositionIO *fStream;
	ByteSource fBytes;
	BPositionIO *fDestination;
	jpeg_decompress_struct fInfo;
	JpegErrors fErrors;
	JpegSource fSource;
	jpeg_progress_mgr fProgress = {};
	std::vector<uint8> fRow;
};

} // namespace

bool IdentifyJpeg(BPositionIO *source, ImageFacts *facts)
{
	uint8 magic[3];
	if (source->ReadAt(0, magic, sizeof(magic)) != sizeof(magic)
		|| magic[0] != 0xFF || magic[1] != 0xD8 || magic[2] != 0xFF) {
		return false;
	}
	JpegDecoder decoder(source, NULL);
	if (!decoder.ReadHeader()) {
		return false;
	}
	*facts = decoder.Facts();
	return true;
}

void ReadJpegToBitmap(BPositionIO *source, BPositionIO *destination)
{
	JpegDecoder decoder(source, destination);
	decoder.Decode();
}
