// The PNG translator: every kind of PNG to the stream the host made of it,
// bilevel pictures as B_GRAY1, interlaced as plain, bitmap streams back to
// the PNG kinds the host wrote, headers read alone, claims the data cannot
// hold refused before a byte is written, rows streamed.
#include <png.h>
#include <zlib.h>

#include <Screen.h>

#include "StandardTranslators.h"

namespace {

const uint32 kPngType = 'PNG ';

// The PNG with one more chunk before its IDAT.
Bytes WithChunkBeforeData(const Bytes &png, const char *type,
	const Bytes &data)
{
	Bytes chunk;
	PutChunk(chunk, type, data);
	Bytes result(png.begin(), png.begin() + 33);
	result.insert(result.end(), chunk.begin(), chunk.end());
	result.insert(result.end(), png.begin() + 33, png.end());
	return result;
}

// The rows deflated for real, for pictures too large to store.
Bytes DeflatedPng(uint32 width, uint32 height, uint8 bitDepth,
	uint8 colorType, const Bytes &row)
{
	Bytes raw;
	for (uint32 y = 0; y < height; y++) {
		raw.push_back(0);
		raw.insert(raw.end(), row.begin(), row.end());
	}
	uLongf size = compressBound(raw.size());
	Bytes zlib(size);
	compress2(zlib.data(), &size, raw.data(), raw.size(), 9);
	zlib.resize(size);
	return PngOfData(width, height, bitDepth, colorType, zlib);
}

void AppendToBytes(png_structp png, png_bytep data, png_size_t size)
{
	Bytes *out = static_cast<Bytes *>(png_get_io_ptr(png));
	out->insert(out->end(), data, data + size);
}

// An Adam7-interlaced PNG of the rows, through libpng.
Bytes InterlacedPng(uint32 width, uint32 height, int bitDepth,
	int colorType, Bytes rows)
{
	Bytes out;
	png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL,
		NULL, NULL);
	png_infop info = png_create_info_struct(png);
	png_set_write_fn(png, &out, AppendToBytes, NULL);
	png_set_IHDR(png, info, width, height, bitDepth, colorType,
		PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT,
		PNG_FILTER_TYPE_DEFAULT);
	png_write_info(png, info);
	size_t rowBytes = rows.size() / height;
	std::vector<png_bytep> pointers;
	for (uint32 y = 0; y < height; y++) {
		pointers.push_back(rows.data() + y * rowBytes);
	}
	png_write_image(png, pointers.data());
	png_write_end(png, NULL);
	png_destroy_write_struct(&png, &info);
	return out;
}

void ReadFromBytes(png_structp png, png_bytep out, png_size_t size)
{
	Bytes *in = static_cast<Bytes *>(png_get_io_ptr(png));
	memcpy(out, in->data(), size);
	in->erase(in->begin(), in->begin() + size);
}

// The B_RGB32 stream of a PNG as libpng's own transformations make it:
// expanded to RGB, red and blue swapped, opaque alpha added.
Bytes ExpandedByLibpng(Bytes png)
{
	png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL,
		NULL, NULL);
	png_infop info = png_create_info_struct(read);
	png_set_read_fn(read, &png, ReadFromBytes);
	png_read_info(read, info);
	png_set_expand(read);
	png_set_gray_to_rgb(read);
	png_set_bgr(read);
	png_set_add_alpha(read, 0xFF, PNG_FILLER_AFTER);
	png_set_interlace_handling(read);
	png_read_update_info(read, info);
	const uint32 width = png_get_image_width(read, info);
	const uint32 height = png_get_image_height(read, info);
	Bytes pixels((size_t)width * height * 4);
	std::vector<png_bytep> rows;
	for (uint32 y = 0; y < height; y++) {
		rows.push_back(pixels.data() + (size_t)y * width * 4);
	}
	png_read_image(read, rows.data());
	png_destroy_read_struct(&read, &info, NULL);
	return MakeBitmapStream(B_RGB32, width - 1, height - 1, width * 4,
		(uint32)pixels.size(), pixels);
}

class PngTranslatorTest : public testing::Test {
protected:
	Translation Read(const Bytes &png, BPositionIO *destination = NULL)
	{
		return fTranslator.Translate(png, B_TRANSLATOR_BITMAP, destination);
	}

	StandardTranslator fTranslator{PNG_TRANSLATOR_PATH};
};

TEST_F(PngTranslatorTest, TransparencyIsCompositedOnWhiteAndDeepSamplesNarrowed)
{
	// RGBA: clear, opaque black, half-covered red.
	Translation alpha = Read(MakePng(3, 1, 8, 6,
		{0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 128}));
	ASSERT_EQ(alpha.status, B_OK) << alpha.failure;
	EXPECT_EQ(alpha.output, MakeBitmapStream(B_RGB32, 2, 0, 12, 12,
		{255, 255, 255, 255, 0, 0, 0, 255, 127, 127, 255, 255}));
	EXPECT_EQ(alpha.depth, "24-bit colour");

	// A palette whose second entry is transparent.
	Translation palette = Read(MakePng(2, 1, 8, 3, {0, 1},
		{10, 20, 30, 0, 0, 0}, {255, 0}));
	EXPECT_EQ(palette.output, MakeBitmapStream(B_RGB32, 1, 0, 8, 8,
		{30, 20, 10, 255, 255, 255, 255, 255}));

	// 16-bit grey, and 8-bit grey with alpha.
	Translation deep = Read(MakePng(2, 1, 16, 0, {0xFF, 0xFF, 0, 0}));
	EXPECT_EQ(deep.output, GreyStream(2, 1, {255, 0}));
	EXPECT_EQ(deep.depth, "8-bit grey");
	Translation greyAlpha = Read(MakePng(2, 1, 8, 4, {0, 255, 0, 0}));
	EXPECT_EQ(greyAlpha.output, GreyStream(2, 1, {0, 255}));

	// 16-bit samples and alpha composited before narrowing: 0x44CB at
	// 0x204F is 231.47 over white (232 if both were narrowed first),
	// 0x0D07 at 0x04B6 250.55 (250).
	Translation deepAlpha = Read(MakePng(2, 1, 16, 6, {0x44, 0xCB, 0x0D,
		0x07, 0xFF, 0xFF, 0x20, 0x4F, 0x0D, 0x07, 0x44, 0xCB, 0xFF, 0xFF,
		0x04, 0xB6}));
	EXPECT_EQ(deepAlpha.output, MakeBitmapStream(B_RGB32, 1, 0, 8, 8,
		{255, 224, 231, 255, 255, 252, 251, 255}));
	Translation deepGreyAlpha = Read(MakePng(1, 1, 16, 4, {0x0D, 0x07, 0x04,
		0xB6}));
	EXPECT_EQ(deepGreyAlpha.output, MakeBitmapStream(B_RGB32, 0, 0, 4, 4,
		{251, 251, 251, 255}));
}

TEST_F(PngTranslatorTest, BilevelPicturesBecomeGray1)
{
	// 10 x 2; PNG's 1-bit grey has 0 for black, the stream 1.
	Bytes gray1 = MakeBitmapStream(B_GRAY1, 9, 1, 2, 4,
		{0xA0, 0x40, 0x00, 0xC0});
	Translation grey = Read(MakePng(10, 2, 1, 0, {0x5F, 0xBF, 0xFF, 0x3F}));
	ASSERT_EQ(grey.status, B_OK) << grey.failure;
	EXPECT_EQ(grey.output, gray1);
	EXPECT_EQ(grey.depth, "1-bit black and white");

	// A palette of white and black, at 1 and at 8 bits an index; an index
	// past the palette is black, as libpng expands it.
	const Bytes whiteBlack = {255, 255, 255, 0, 0, 0};
	EXPECT_EQ(Read(MakePng(10, 2, 1, 3, {0xA0, 0x40, 0x00, 0xC0},
		whiteBlack)).output, gray1);
	Bytes indexes = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0,
		1, 1};
	EXPECT_EQ(Read(MakePng(10, 2, 8, 3, indexes, whiteBlack)).output, gray1);
	indexes[0] = 7;
	EXPECT_EQ(Read(MakePng(10, 2, 8, 3, indexes, whiteBlack)).output, gray1);

	// Transparency, or any entry that is not black or white, makes an
	// RGB32 stream; a palette of greys alone is a grey picture.
	Translation seeThrough = Read(MakePng(10, 2, 1, 3,
		{0xA0, 0x40, 0x00, 0xC0}, whiteBlack, {255, 255}));
	EXPECT_EQ(ReadStreamHeader(seeThrough.output).colors, (uint32)B_RGB32);
	Translation greyEntry = Read(MakePng(10, 2, 1, 3,
		{0xA0, 0x40, 0x00, 0xC0}, {255, 255, 255, 1, 1, 1}));
	EXPECT_EQ(ReadStreamHeader(greyEntry.output).colors, (uint32)B_RGB32);
	EXPECT_EQ(greyEntry.depth, "8-bit grey");
}

TEST_F(PngTranslatorTest, InterlacedPicturesGiveThePlainOnesPixels)
{
	Bytes rgb;
	for (int i = 0; i < 13 * 9 * 3; i++) {
		rgb.push_back((uint8)(i * 37));
	}
	Bytes mono;
	for (int i = 0; i < 2 * 9; i++) {
		mono.push_back((uint8)(i * 91));
	}
	EXPECT_EQ(Read(InterlacedPng(13, 9, 8, PNG_COLOR_TYPE_RGB, rgb)).output,
		Read(MakePng(13, 9, 8, 2, rgb)).output);
	Translation interlaced = Read(InterlacedPng(13, 9, 1, PNG_COLOR_TYPE_GRAY,
		mono));
	EXPECT_EQ(interlaced.output, Read(MakePng(13, 9, 1, 0, mono)).output);
	EXPECT_EQ(ReadStreamHeader(interlaced.output).colors, (uint32)B_GRAY1);
}

TEST_F(PngTranslatorTest, OpaqueRowsGiveThePixelsLibpngExpandsThemTo)
{
	// Opaque palettes of every depth (with indexes past their entries) at
	// widths that end mid-byte; 8-bit RGB and grey, plain and interlaced.
	const Bytes palette = {200, 0, 10, 0, 90, 255, 33, 66, 99, 255, 255, 255,
		1, 2, 3};
	for (uint32 width : {1u, 5u, 13u, 64u}) {
		const uint32 height = 7;
		for (int bits : {1, 2, 4, 8}) {
			Bytes rows(((size_t)width * bits + 7) / 8 * height);
			for (size_t i = 0; i < rows.size(); i++) {
				rows[i] = (uint8)(i * 73 + width);
			}
			const Bytes png = MakePng(width, height, (uint8)bits, 3, rows,
				palette);
			EXPECT_EQ(Read(png).output, ExpandedByLibpng(png))
				<< width << " wide, " << bits << "-bit palette";
		}
		for (int channels : {1, 3}) {
			Bytes rows((size_t)width * channels * height);
			for (size_t i = 0; i < rows.size(); i++) {
				rows[i] = (uint8)(i * 151 + 7);
			}
			const uint8 type = channels == 3 ? 2 : 0;
			Bytes plain = MakePng(width, height, 8, type, rows);
			Bytes interlaced = InterlacedPng(width, height, 8, type, rows);
			EXPECT_EQ(Read(plain).output, ExpandedByLibpng(plain))
				<< width << " wide, " << channels << " channels";
			EXPECT_EQ(Read(interlaced).output, ExpandedByLibpng(interlaced))
				<< width << " wide, " << channels << " channels, interlaced";
		}
	}
}

TEST_F(PngTranslatorTest, StreamsBecomeThePngKindOfTheirPicture)
{
	// 11 x 2 pictures in every colour space read: 1-bit stays 1-bit,
	// 22 greys 8-bit grey, 22 colours an 8-bit palette, and reading back
	// gives the pixels.
	const Bytes greys = {0, 17, 34, 51, 68, 85, 102, 119, 136, 153, 170,
		187, 204, 221, 238, 255, 1, 2, 3, 4, 5, 6};
	Bytes rgb24;
	Bytes rgba;
	for (size_t i = 0; i < greys.size(); i++) {
		uint8 grey = greys[i];
		rgb24.insert(rgb24.end(), {grey, (uint8)(grey / 2), 9});
		rgba.insert(rgba.end(), {grey, (uint8)(grey / 2), 9, 255});
		if (i % 11 == 10) {
			rgb24.push_back(0);  // rows of 34 bytes
		}
	}
	struct Case {
		Bytes stream;
		int bitDepth;
		int colorType;
	} cases[] = {
		{MakeBitmapStream(B_GRAY1, 10, 1, 3, 6,
			{0xA5, 0x5A, 0xE0, 0x0F, 0xF0, 0x20}), 1, 0},
		{MakeBitmapStream(B_GRAY8, 10, 1, 11, 22, greys), 8, 0},
		{MakeBitmapStream(B_RGB24, 10, 1, 34, 68, rgb24), 8, 3},
		{MakeBitmapStream(B_RGBA32, 10, 1, 44, 88, rgba), 8, 3},
	};
	for (const Case &c : cases) {
		Translation png = fTranslator.Translate(c.stream, kPngType);
		ASSERT_EQ(png.status, B_OK) << png.failure;
		PngHeader header = ReadPngHeader(png.output);
		EXPECT_EQ(header.width, 11u);
		EXPECT_EQ(header.bitDepth, c.bitDepth);
		EXPECT_EQ(header.colorType, c.colorType);
		Translation back = Read(png.output);
		ASSERT_EQ(back.status, B_OK) << back.failure;
		if (c.colorType == 0 && c.bitDepth == 8) {
			EXPECT_EQ(StreamPixels(back.output), GreyRgb32(greys));
		} else if (c.colorType == 3) {
			EXPECT_EQ(StreamPixels(back.output),
				StreamPixels(MakeBitmapStream(B_RGB32, 10, 1, 44, 88, rgba)));
		} else {
			// libpng writes the bits past the width as 0.
			EXPECT_EQ(back.output, MakeBitmapStream(B_GRAY1, 10, 1, 2, 4,
				{0xA5, 0x40, 0x0F, 0xE0}));
		}
	}
}

// The picture of a stream of width x 1 as 0xRRGGBB pixels, for the colour
// spaces the PNG translator reads and writes.
std::vector<uint32> ColoursOfStream(const Bytes &stream)
{
	StreamHeader header = ReadStreamHeader(stream);
	Bytes pixels = StreamPixels(stream);
	BScreen screen(B_MAIN_SCREEN_ID);
	std::vector<uint32> colours;
	for (uint32 x = 0; x < header.width; x++) {
		switch (header.colors) {
			case B_GRAY1:
				colours.push_back(pixels[x / 8] & (0x80 >> x % 8) ? 0 : 0xFFFFFF);
				break;
			case B_GRAY8:
				colours.push_back(pixels[x] * 0x010101u);
				break;
			case B_CMAP8:
			{
				rgb_color c = screen.ColorForIndex(pixels[x]);
				colours.push_back(c.red << 16 | c.green << 8 | c.blue);
				break;
			}
			default:
			{
				const uint8 *p = &pixels[4 * x];
				colours.push_back(p[2] << 16 | p[1] << 8 | p[0]);
			}
		}
	}
	return colours;
}

TEST_F(PngTranslatorTest, FewColoursAreStoredAtTheSmallestDepthAndReadBack)
{
	// Pilot images' greys as their reader hands them over: palette indexes
	// of the screen's nearest greys, which no grey PNG of 2 or 4 bits holds.
	BScreen screen(B_MAIN_SCREEN_ID);
	Bytes fourGreys;
	Bytes sixteenGreys;
	for (int i = 0; i < 32; i++) {
		uint8 four = (uint8)(255 - 85 * (i % 4));
		uint8 sixteen = (uint8)(255 - 17 * (i % 16));
		fourGreys.push_back(screen.IndexForColor(four, four, four));
		sixteenGreys.push_back(screen.IndexForColor(sixteen, sixteen, sixteen));
	}
	Bytes evenGreys;  // 0, 85, 170, 255
	Bytes sixteenths;  // multiples of 17
	Bytes blackWhite;
	Bytes threeColours;
	Bytes manyColours;
	for (uint32 i = 0; i < 300; i++) {
		evenGreys.push_back((uint8)(85 * (i % 4)));
		sixteenths.push_back((uint8)(17 * (i % 16)));
		blackWhite.push_back(i % 3 == 0 ? 0 : 255);
		threeColours.insert(threeColours.end(),
			{(uint8)(i % 3), 40, 200, 255});
		manyColours.insert(manyColours.end(),
			{(uint8)i, (uint8)(i >> 8), 7, 255});
	}
	struct Case {
		Bytes stream;
		int bitDepth;
		int colorType;
		const char *depth;
	} cases[] = {
		{MakeBitmapStream(B_CMAP8, 31, 0, 32, 32, fourGreys), 2, 3,
			"8-bit grey"},
		{MakeBitmapStream(B_CMAP8, 31, 0, 32, 32, sixteenGreys), 4, 3,
			"8-bit grey"},
		{MakeBitmapStream(B_GRAY8, 299, 0, 300, 300, evenGreys), 2, 0,
			"8-bit grey"},
		{MakeBitmapStream(B_GRAY8, 299, 0, 300, 300, sixteenths), 4, 0,
			"8-bit grey"},
		{MakeBitmapStream(B_GRAY8, 299, 0, 300, 300, blackWhite), 1, 0,
			"1-bit black and white"},
		{MakeBitmapStream(B_GRAY1, 15, 0, 2, 2, {0xA5, 0x3C}), 1, 0,
			"1-bit black and white"},
		{MakeBitmapStream(B_RGB32, 299, 0, 1200, 1200, threeColours), 2, 3,
			"24-bit colour"},
		{MakeBitmapStream(B_RGB32, 299, 0, 1200, 1200, manyColours), 8, 2,
			"24-bit colour"},
	};
	for (const Case &c : cases) {
		SCOPED_TRACE(c.bitDepth * 10 + c.colorType);
		Translation png = fTranslator.Translate(c.stream, kPngType);
		ASSERT_EQ(png.status, B_OK) << png.failure;
		PngHeader header = ReadPngHeader(png.output);
		EXPECT_EQ(header.bitDepth, c.bitDepth);
		EXPECT_EQ(header.colorType, c.colorType);
		Translation back = Read(png.output);
		ASSERT_EQ(back.status, B_OK) << back.failure;
		EXPECT_EQ(back.depth, c.depth);
		EXPECT_EQ(ColoursOfStream(back.output), ColoursOfStream(c.stream));
	}
}

TEST_F(PngTranslatorTest, IdentifyReadsTheHeadersAlone)
{
	// Everything from the IDAT chunk's data on is out of reach.
	Bytes png = MakePng(4, 4, 8, 3, Bytes(16, 0), {0, 0, 0, 9, 8, 7});
	size_t dataStart = 33 + 12 + 6 + 8;
	FencedIO source(png, dataStart);
	BMessage extension;
	translator_info info;
	ASSERT_EQ(fTranslator.Identify(&source, B_TRANSLATOR_BITMAP, &info,
		&extension), B_OK);
	EXPECT_EQ(info.type, kPngType);
	EXPECT_STREQ(info.name, "PNG image");
	EXPECT_STREQ(info.MIME, "image/png");
	EXPECT_EQ(StoredFacts(extension), "4 x 4, 8-bit palette (24-bit colour)");

	// Deep samples, alpha and interlacing as stored, not as read.
	Bytes rgba16 = InterlacedPng(3, 2, 16, PNG_COLOR_TYPE_RGB_ALPHA,
		Bytes(48, 0x80));
	Bytes greyAlpha = MakePng(2, 1, 8, 4, {0, 255, 0, 0});
	Bytes seeThrough = MakePng(1, 1, 2, 0, {0x40}, {}, {0, 1});
	const struct {
		Bytes png;
		std::string facts;
	} cases[] = {
		{rgba16, "3 x 2, 16-bit RGBA, alpha, interlaced (24-bit colour)"},
		{greyAlpha, "2 x 1, 8-bit grey+alpha, alpha (8-bit grey)"},
		{seeThrough, "1 x 1, 2-bit grey, alpha (8-bit grey)"},
	};
	for (const auto &c : cases) {
		BMemoryIO file(c.png.data(), c.png.size());
		BMessage facts;
		ASSERT_EQ(fTranslator.Identify(&file, 0, &info, &facts), B_OK);
		EXPECT_EQ(StoredFacts(facts), c.facts);
	}

	// What it cannot make, and what is no PNG or stream it reads.
	BMemoryIO again(png.data(), png.size());
	EXPECT_EQ(fTranslator.Identify(&again, 'JPEG', &info), B_NO_TRANSLATOR);
	Bytes gray8 = MakeBitmapStream(B_GRAY8, 0, 0, 1, 1, {7});
	BMemoryIO stream(gray8.data(), gray8.size());
	EXPECT_EQ(fTranslator.Identify(&stream, kPngType, &info), B_OK);
	EXPECT_EQ(info.type, (uint32)B_TRANSLATOR_BITMAP);
	Bytes rgb15 = MakeBitmapStream(B_RGB15, 0, 0, 2, 2, {7, 7});
	BMemoryIO unread(rgb15.data(), rgb15.size());
	EXPECT_EQ(fTranslator.Identify(&unread, 0, &info), B_NO_TRANSLATOR);
}

TEST_F(PngTranslatorTest, ClaimsTheDataCannotHoldAreRefusedBeforeWriting)
{
	// 16384 x 16384 RGB over one stored row, padded to 800 KB with a text
	// chunk: the whole file would seem large enough for its 805 MB of rows
	// (deflate gives at most 1032 bytes a byte).
	Bytes claim = MakePng(1, 1, 8, 2, {1, 2, 3});
	const Bytes size = {0, 0, 0x40, 0, 0, 0, 0x40, 0};
	std::copy(size.begin(), size.end(), claim.begin() + 16);
	uint32 crc = Crc32(claim.data() + 12, 17);
	for (int i = 0; i < 4; i++) {
		claim[29 + i] = (uint8)(crc >> (24 - 8 * i));
	}
	Bytes padded = WithChunkBeforeData(claim, "tEXt", Bytes(800000, 'x'));
	LimitedWriteIO untouched(1 << 20);
	Translation refused = Read(padded, &untouched);
	EXPECT_EQ(refused.status, B_ILLEGAL_DATA);
	EXPECT_NE(refused.failure.find("Not enough image data"),
		std::string::npos) << refused.failure;
	EXPECT_EQ(untouched.WriteCalls(), 0);

	Bytes huge = claim;
	const Bytes beyond = {0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30};
	std::copy(beyond.begin(), beyond.end(), huge.begin() + 16);
	crc = Crc32(huge.data() + 12, 17);
	for (int i = 0; i < 4; i++) {
		huge[29 + i] = (uint8)(crc >> (24 - 8 * i));
	}
	Translation tooLarge = Read(huge);
	EXPECT_EQ(tooLarge.status, B_NO_TRANSLATOR);
	EXPECT_EQ(tooLarge.failure, "image too large: 30000 x 30000 pixels (at "
		"most 268435456 pixels)");

	Bytes damaged = MakePng(8, 8, 8, 0, Bytes(64, 9));
	damaged[40] ^= 0xFF;  // inside IDAT: its checksum no longer matches
	Translation crc32 = Read(damaged);
	EXPECT_EQ(crc32.status, B_ILLEGAL_DATA);
	EXPECT_EQ(crc32.failure.rfind("not a readable PNG image (", 0), 0u)
		<< crc32.failure;
}

TEST_F(PngTranslatorTest, RowsAreStreamedAndTheFirstFailedWriteStops)
{
	// 16384 x 16384 1-bit, 32 MiB as a stream.
	Bytes row(2048);
	for (size_t i = 0; i < row.size(); i++) {
		row[i] = (uint8)(i * 13);
	}
	ExpectRowsStreamed(fTranslator, MakePng(3, 2, 8, 0, {1, 2, 3, 4, 5, 6}),
		DeflatedPng(16384, 16384, 1, 0, row), 32 + 2048 * 16384);
}

} // namespace
