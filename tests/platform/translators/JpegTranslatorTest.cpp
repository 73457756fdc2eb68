// The JPEG translator: grey and colour, baseline, progressive and
// arithmetic JPEGs to the pixels libjpeg gives, bitmap streams to JPEGs,
// headers read alone, files whose entropy-coded data cannot hold their
// frame refused before a byte is written, however they are padded.
#include <fstream>
#include <iterator>

#include <stdio.h>

#include <jpeglib.h>

#include "JpegFiles.h"
#include "StandardTranslators.h"

namespace {

const uint32 kJpegType = 'JPEG';

// What libjpeg itself decodes, as B_RGB32 pixels. The inks of a CMYK or
// YCCK file are mixed as every reader does: each colour is what its ink
// and the black let through, the inks stored inverted under an Adobe
// marker.
Bytes DecodedByLibjpeg(const Bytes &jpeg)
{
	jpeg_decompress_struct info;
	jpeg_error_mgr errors;
	info.err = jpeg_std_error(&errors);
	jpeg_create_decompress(&info);
	jpeg_mem_src(&info, jpeg.data(), jpeg.size());
	jpeg_read_header(&info, TRUE);
	const bool inks = info.jpeg_color_space == JCS_CMYK
		|| info.jpeg_color_space == JCS_YCCK;
	const int none = info.saw_Adobe_marker ? 255 : 0;
	auto through = [none](int ink, int black) {
		const int light = 255 - abs(none - ink);
		return (uint8)((light * (255 - abs(none - black)) + 127) / 255);
	};
	info.out_color_space = inks ? JCS_CMYK : JCS_RGB;
	jpeg_start_decompress(&info);
	const int step = inks ? 4 : 3;
	Bytes row(info.output_width * step);
	Bytes pixels;
	while (info.output_scanline < info.output_height) {
		JSAMPROW rows = row.data();
		jpeg_read_scanlines(&info, &rows, 1);
		for (size_t x = 0; x < row.size(); x += step) {
			if (inks) {
				pixels.insert(pixels.end(), {through(row[x + 2], row[x + 3]),
					through(row[x + 1], row[x + 3]),
					through(row[x], row[x + 3]), 255});
			} else {
				pixels.insert(pixels.end(), {row[x + 2], row[x + 1], row[x],
					255});
			}
		}
	}
	jpeg_finish_decompress(&info);
	jpeg_destroy_decompress(&info);
	return pixels;
}

Bytes Gradient(uint32 width, uint32 height, int components)
{
	Bytes pixels;
	for (uint32 y = 0; y < height; y++) {
		for (uint32 x = 0; x < width * components; x++) {
			pixels.push_back((uint8)(x / components * 3 + y * 2
				+ x % components * 20));
		}
	}
	return pixels;
}

Bytes SampleJpeg()
{
	std::ifstream in(std::string(QUORVEL_SOURCE_DIR) + "/samples/scene.jpg",
		std::ios::binary);
	return Bytes(std::istreambuf_iterator<char>(in),
		std::istreambuf_iterator<char>());
}

// The offset of the first marker of one of the codes.
size_t FindMarker(const Bytes &jpeg, std::initializer_list<uint8> codes,
	size_t from = 2)
{
	for (size_t i = from; i + 1 < jpeg.size(); i++) {
		if (jpeg[i] == 0xFF && std::find(codes.begin(), codes.end(),
				jpeg[i + 1]) != codes.end()) {
			return i;
		}
	}
	return jpeg.size();
}

// The frame header's size set to width x height.
Bytes ClaimingSize(Bytes jpeg, uint16 width, uint16 height)
{
	size_t frame = FindMarker(jpeg, {0xC0, 0xC1, 0xC2, 0xC9, 0xCA});
	jpeg[frame + 5] = (uint8)(height >> 8);
	jpeg[frame + 6] = (uint8)height;
	jpeg[frame + 7] = (uint8)(width >> 8);
	jpeg[frame + 8] = (uint8)width;
	return jpeg;
}

class JpegTranslatorTest : public testing::Test {
protected:
	Translation Read(const Bytes &jpeg, BPositionIO *destination = NULL)
	{
		return fTranslator.Translate(jpeg, B_TRANSLATOR_BITMAP, destination);
	}

	StandardTranslator fTranslator{JPEG_TRANSLATOR_PATH};
};

TEST_F(JpegTranslatorTest, EveryCodingGivesThePixelsLibjpegGives)
{
	Translation sample = Read(SampleJpeg());
	ASSERT_EQ(sample.status, B_OK) << sample.failure;
	EXPECT_EQ(StreamPixels(sample.output), DecodedByLibjpeg(SampleJpeg()));
	EXPECT_EQ(sample.depth, "24-bit colour");

	// Noise: a file of many reader buffers.
	Bytes noise(800 * 600 * 3);
	uint32 state = 1;
	for (uint8 &sample : noise) {
		state = state * 1103515245 + 12345;
		sample = (uint8)(state >> 16);
	}
	Bytes large = EncodeJpeg(800, 600, noise, JpegOptions());
	ASSERT_GT(large.size(), 4u * 65536);
	EXPECT_EQ(StreamPixels(Read(large).output), DecodedByLibjpeg(large));

	Bytes colour = Gradient(37, 21, 3);
	Bytes grey = Gradient(37, 21, 1);
	JpegOptions greyOptions;
	greyOptions.colorSpace = JCS_GRAYSCALE;
	greyOptions.components = 1;
	for (bool arithmetic : {false, true}) {
		for (bool progressive : {false, true}) {
			JpegOptions options;
			options.arithmetic = greyOptions.arithmetic = arithmetic;
			options.progressive = greyOptions.progressive = progressive;
			SCOPED_TRACE(std::string(arithmetic ? "arithmetic" : "Huffman")
				+ (progressive ? ", progressive" : ", sequential"));
			Bytes jpeg = EncodeJpeg(37, 21, colour, options);
			Translation read = Read(jpeg);
			ASSERT_EQ(read.status, B_OK) << read.failure;
			EXPECT_EQ(read.output, MakeBitmapStream(B_RGB32, 36, 20, 148,
				148 * 21, DecodedByLibjpeg(jpeg)));

			Bytes greyJpeg = EncodeJpeg(37, 21, grey, greyOptions);
			Translation greyRead = Read(greyJpeg);
			EXPECT_EQ(StreamPixels(greyRead.output),
				DecodedByLibjpeg(greyJpeg));
			EXPECT_EQ(greyRead.depth, "8-bit grey");
		}
	}

	// Inks: CMYK and YCCK under Adobe's marker, inverted, and CMYK
	// without it.
	const Bytes inks = Gradient(37, 21, 4);
	for (J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
		for (bool adobe : {true, false}) {
			JpegOptions options;
			options.colorSpace = JCS_CMYK;
			options.components = 4;
			options.storedSpace = stored;
			options.adobeMarker = adobe || stored == JCS_YCCK;
			SCOPED_TRACE(std::string(stored == JCS_CMYK ? "CMYK" : "YCCK")
				+ (options.adobeMarker ? ", Adobe" : ""));
			Bytes jpeg = EncodeJpeg(37, 21, inks, options);
			Translation read = Read(jpeg);
			ASSERT_EQ(read.status, B_OK) << read.failure;
			EXPECT_EQ(read.output, MakeBitmapStream(B_RGB32, 36, 20, 148,
				148 * 21, DecodedByLibjpeg(jpeg)));
			EXPECT_EQ(read.depth, "24-bit colour");
		}
	}
}

TEST_F(JpegTranslatorTest, StreamsBecomeJpegsAtTheAskedQuality)
{
	Bytes pixels = Gradient(40, 24, 4);
	for (size_t i = 3; i < pixels.size(); i += 4) {
		pixels[i] = 255;
	}
	Bytes stream = MakeBitmapStream(B_RGB32, 39, 23, 160, 160 * 24, pixels);
	Translation jpeg = fTranslator.Translate(stream, kJpegType);
	ASSERT_EQ(jpeg.status, B_OK) << jpeg.failure;
	Translation back = Read(jpeg.output);
	ASSERT_EQ(back.status, B_OK) << back.failure;
	Bytes decoded = StreamPixels(back.output);
	ASSERT_EQ(decoded.size(), pixels.size());
	int worst = 0;
	for (size_t i = 0; i < pixels.size(); i++) {
		worst = std::max(worst, std::abs((int)decoded[i] - (int)pixels[i]));
	}
	EXPECT_LE(worst, 24) << "quality 90 keeps a smooth gradient close";

	BMessage low;
	low.AddInt32("quality", 20);
	Translation small = fTranslator.Translate(stream, kJpegType, NULL, &low);
	ASSERT_EQ(small.status, B_OK);
	EXPECT_LT(small.output.size(), jpeg.output.size());

	// 1-bit and grey pictures make one-component JPEGs.
	Bytes mono = MakeBitmapStream(B_GRAY1, 9, 0, 2, 2, {0xA5, 0x80});
	Translation monoJpeg = fTranslator.Translate(mono, kJpegType);
	ASSERT_EQ(monoJpeg.status, B_OK);
	size_t frame = FindMarker(monoJpeg.output, {0xC0});
	EXPECT_EQ(monoJpeg.output[frame + 9], 1) << "components";
}

TEST_F(JpegTranslatorTest, IdentifyReadsTheHeadersAlone)
{
	Bytes jpeg = SampleJpeg();
	size_t scan = FindMarker(jpeg, {0xDA});
	size_t dataStart = scan + 2 + (jpeg[scan + 2] << 8 | jpeg[scan + 3]);
	FencedIO source(jpeg, dataStart);
	BMessage extension;
	translator_info info;
	ASSERT_EQ(fTranslator.Identify(&source, 0, &info, &extension), B_OK);
	EXPECT_EQ(info.type, kJpegType);
	EXPECT_STREQ(info.name, "JPEG image");
	EXPECT_STREQ(info.MIME, "image/jpeg");
	EXPECT_EQ(StoredFacts(extension), "160 x 160, 8-bit YCbCr (24-bit "
		"colour)");

	// Progressive is told as interlaced; grey and CMYK as stored.
	JpegOptions progressive;
	progressive.progressive = true;
	JpegOptions grey;
	grey.colorSpace = JCS_GRAYSCALE;
	grey.components = 1;
	JpegOptions cmyk;
	cmyk.colorSpace = JCS_CMYK;
	cmyk.components = 4;
	const struct {
		Bytes jpeg;
		std::string facts;
	} cases[] = {
		{EncodeJpeg(9, 7, Gradient(9, 7, 3), progressive),
			"9 x 7, 8-bit YCbCr, interlaced (24-bit colour)"},
		{EncodeJpeg(9, 7, Gradient(9, 7, 1), grey), "9 x 7, 8-bit grey (8-bit "
			"grey)"},
		{EncodeJpeg(9, 7, Gradient(9, 7, 4), cmyk), "9 x 7, 8-bit CMYK "
			"(24-bit colour)"},
	};
	for (const auto &c : cases) {
		BMemoryIO file(c.jpeg.data(), c.jpeg.size());
		BMessage facts;
		ASSERT_EQ(fTranslator.Identify(&file, 0, &info, &facts), B_OK);
		EXPECT_EQ(StoredFacts(facts), c.facts);
	}
}

// jpeg with its first scan repeated until the file has scans of them;
// the repeats follow it, before any table changes.
Bytes WithScans(const Bytes &jpeg, int scans)
{
	const size_t first = FindMarker(jpeg, {0xDA});
	const size_t after = FindMarker(jpeg, {0xC4, 0xDA, 0xD9}, first + 2);
	int count = 0;
	for (size_t at = first; at < jpeg.size();
			at = FindMarker(jpeg, {0xDA}, at + 2)) {
		count++;
	}
	Bytes many(jpeg.begin(), jpeg.begin() + after);
	for (; count < scans; count++) {
		many.insert(many.end(), jpeg.begin() + first, jpeg.begin() + after);
	}
	many.insert(many.end(), jpeg.begin() + after, jpeg.end());
	return many;
}

TEST_F(JpegTranslatorTest, CutFilesAndScanFloodsAreRefusedWithTheirReason)
{
	// Each scan is decoded over the whole picture: a file may have 32.
	JpegOptions progressive;
	progressive.progressive = true;
	const Bytes jpeg = EncodeJpeg(64, 64, Gradient(64, 64, 3), progressive);
	EXPECT_EQ(Read(WithScans(jpeg, 32)).status, B_OK);
	Translation flood = Read(WithScans(jpeg, 33));
	EXPECT_EQ(flood.status, B_ILLEGAL_DATA);
	EXPECT_EQ(flood.failure, "not a readable JPEG image (more than 32 scans, "
		"where encoders write a score at most)");

	// Cut inside its tables: not a JPEG that can be read.
	Bytes tables = SampleJpeg();
	tables.resize(100);
	BMemoryIO cutTables(tables.data(), tables.size());
	translator_info info;
	EXPECT_EQ(fTranslator.Identify(&cutTables, 0, &info), B_NO_TRANSLATOR);

	Bytes half = SampleJpeg();
	half.resize(half.size() / 2);
	Translation cut = Read(half);
	EXPECT_EQ(cut.status, B_ILLEGAL_DATA);
	EXPECT_EQ(cut.failure, "not a readable JPEG image (the file is cut short)");
}

TEST_F(JpegTranslatorTest, ClaimsTheDataCannotHoldAreRefusedBeforeWriting)
{
	// The sample claiming 16384 x 16384, padded with 700 KB of comments
	// before its scan: more bytes than its 4 million MCUs have bits, but
	// none of them entropy-coded data.
	Bytes claim = ClaimingSize(SampleJpeg(), 16384, 16384);
	size_t scan = FindMarker(claim, {0xDA});
	Bytes comment = {0xFF, 0xFE, 0xFF, 0xFF};
	comment.resize(65537, ' ');
	Bytes padded(claim.begin(), claim.begin() + scan);
	for (int i = 0; i < 11; i++) {
		padded.insert(padded.end(), comment.begin(), comment.end());
	}
	padded.insert(padded.end(), claim.begin() + scan, claim.end());
	LimitedWriteIO untouched(1 << 20);
	Translation refused = Read(padded, &untouched);
	EXPECT_EQ(refused.status, B_ILLEGAL_DATA);
	EXPECT_EQ(refused.failure,
		"not a readable JPEG image (the file is cut short)");
	EXPECT_EQ(untouched.WriteCalls(), 0);

	// A progressive JPEG without its first DC scan: its AC scans could
	// code any number of blocks in a few bytes.
	JpegOptions progressive;
	progressive.progressive = true;
	Bytes jpeg = EncodeJpeg(64, 64, Gradient(64, 64, 3), progressive);
	size_t first = FindMarker(jpeg, {0xDA});
	size_t next = FindMarker(jpeg, {0xC4, 0xDA}, first + 2);
	jpeg.erase(jpeg.begin() + first, jpeg.begin() + next);
	Translation bogus = Read(jpeg, &untouched);
	EXPECT_EQ(bogus.status, B_ILLEGAL_DATA);
	EXPECT_NE(bogus.failure.find("AC scan"), std::string::npos)
		<< bogus.failure;
	EXPECT_EQ(untouched.WriteCalls(), 0);
}

TEST_F(JpegTranslatorTest, ArithmeticClaimsStopAtTheDestinationsRefusal)
{
	// Arithmetic coding may hold 16384 x 16384 in a few hundred bytes, so
	// only whoever takes the stream can refuse the size: the header comes
	// first, and nothing picture-sized is decoded after its refusal.
	JpegOptions arithmetic;
	arithmetic.arithmetic = true;
	arithmetic.colorSpace = JCS_GRAYSCALE;
	arithmetic.components = 1;
	Bytes claim = ClaimingSize(EncodeJpeg(16, 16, Bytes(256, 128),
		arithmetic), 16384, 16384);
	LimitedWriteIO headerOnly(32);
	Translation refused = Read(claim, &headerOnly);
	EXPECT_EQ(refused.status, B_ERROR);
	EXPECT_EQ(headerOnly.WriteCalls(), 2);
	EXPECT_EQ(ReadStreamHeader(BytesOf(headerOnly)).width, 16384u);
}

} // namespace
