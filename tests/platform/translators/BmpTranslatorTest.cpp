// The BMP translator: every depth, header and row order to the same
// stream, run-length data with its moves and early ends, black-and-white
// tables to B_GRAY1, headers read alone, hostile headers and data the file
// cannot hold refused before a byte is written, rows streamed, streams
// written as BMP and read back.
#include "StandardTranslators.h"

namespace {

const uint32 kBmpType = 'BMP ';

// A 3 x 2 picture: black, red, green / blue, white, yellow.
const Bytes kRgb = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255,
	255, 255, 0};
// Its colour table (blue, green, red, 0) and indexes top to bottom.
const Bytes kTable = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0,
	255, 255, 255, 0, 0, 255, 255, 0};
const Bytes kIndexes = {0, 1, 2, 3, 4, 5};

Bytes Rgb32Stream(uint32 width, uint32 height, const Bytes &rgb)
{
	Bytes pixels;
	for (size_t i = 0; i < rgb.size(); i += 3) {
		pixels.insert(pixels.end(), {rgb[i + 2], rgb[i + 1], rgb[i], 255});
	}
	return MakeBitmapStream(B_RGB32, width - 1, height - 1, width * 4,
		width * 4 * height, pixels);
}

// Rows of rowBytes each, the last first.
Bytes BottomUp(const Bytes &rows, size_t rowBytes)
{
	Bytes flipped;
	for (size_t at = rows.size(); at > 0; at -= rowBytes) {
		flipped.insert(flipped.end(), rows.begin() + (at - rowBytes),
			rows.begin() + at);
	}
	return flipped;
}

// kIndexes packed bits a pixel, rows padded, bottom up.
Bytes PackedIndexes(int bits)
{
	Bytes packed;
	for (int y = 0; y < 2; y++) {
		uint32 buffer = 0;
		for (int x = 0; x < 3; x++) {
			buffer = buffer << bits | kIndexes[y * 3 + x];
		}
		buffer <<= 24 - 3 * bits;
		packed.insert(packed.end(), {(uint8)(buffer >> 16),
			(uint8)(buffer >> 8), (uint8)buffer});
	}
	return PadBmpRows(BottomUp(packed, 3), 3);
}

// kTable's indexes, RLE8-coded.
BmpFields Rle8(int32 width, int32 height, const Bytes &codes)
{
	BmpFields rle;
	rle.width = width;
	rle.height = height;
	rle.bitsPerPixel = 8;
	rle.compression = 1;
	rle.colourTable = kTable;
	rle.data = codes;
	return rle;
}

class BmpTranslatorTest : public testing::Test {
protected:
	StandardTranslator fTranslator{BMP_TRANSLATOR_PATH};
};

TEST_F(BmpTranslatorTest, EveryDepthHeaderAndRowOrderGivesTheSameStream)
{
	Bytes bgr;
	Bytes bgrx;
	Bytes rgb555;
	Bytes rgb565;
	Bytes argb;
	for (size_t i = 0; i < kRgb.size(); i += 3) {
		uint8 r = kRgb[i], g = kRgb[i + 1], b = kRgb[i + 2];
		bgr.insert(bgr.end(), {b, g, r});
		bgrx.insert(bgrx.end(), {b, g, r, 0});
		uint32 five = (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
		uint32 six = (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
		rgb555.insert(rgb555.end(), {(uint8)five, (uint8)(five >> 8)});
		rgb565.insert(rgb565.end(), {(uint8)six, (uint8)(six >> 8)});
		argb.insert(argb.end(), {r, g, b, 255});  // masks in RGBA order
	}
	auto fields = [](uint16 bits, const Bytes &data, int32 height = 2) {
		BmpFields s;
		s.width = 3;
		s.height = height;
		s.bitsPerPixel = bits;
		s.data = data;
		return s;
	};
	std::vector<BmpFields> variants = {
		fields(24, PadBmpRows(BottomUp(bgr, 9), 9)),
		fields(24, PadBmpRows(bgr, 9), -2),
		fields(32, BottomUp(bgrx, 12)),
		fields(16, PadBmpRows(BottomUp(rgb555, 6), 6)),
		fields(4, PackedIndexes(4)),
		fields(8, PadBmpRows(BottomUp(kIndexes, 3), 3)),
	};
	variants[4].colourTable = variants[5].colourTable = kTable;
	BmpFields masked = fields(16, PadBmpRows(BottomUp(rgb565, 6), 6));
	masked.compression = 3;
	masked.masks = {0xF800, 0x07E0, 0x001F};
	variants.push_back(masked);
	BmpFields v5 = fields(32, BottomUp(argb, 12), -2);
	v5.data = argb;
	v5.compression = 3;
	v5.headerSize = 124;
	v5.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
	variants.push_back(v5);
	BmpFields core = fields(8, PadBmpRows(BottomUp(kIndexes, 3), 3));
	core.headerSize = 12;
	for (size_t i = 0; i < kTable.size(); i += 4) {
		core.colourTable.insert(core.colourTable.end(), kTable.begin() + i,
			kTable.begin() + i + 3);
	}
	variants.push_back(core);

	const Bytes expected = Rgb32Stream(3, 2, kRgb);
	for (const BmpFields &s : variants) {
		Translation read = fTranslator.Read(MakeBmp(s));
		ASSERT_EQ(read.status, B_OK) << read.failure;
		EXPECT_EQ(read.output, expected) << s.bitsPerPixel << " bits, "
			<< s.headerSize << "-byte header";
		EXPECT_EQ(read.depth, "24-bit colour");
	}

	// Alpha is composited on white; 5-bit samples are scaled.
	BmpFields halfClear = v5;
	halfClear.width = 1;
	halfClear.height = 1;
	halfClear.data = {0, 0, 255, 128};
	BmpFields fiveBits = fields(16, {0x10, 0x42, 0, 0});
	fiveBits.width = 1;
	fiveBits.height = 1;
	EXPECT_EQ(StreamPixels(fTranslator.Read(MakeBmp(halfClear)).output),
		Bytes({255, 127, 127, 255}));
	EXPECT_EQ(StreamPixels(fTranslator.Read(MakeBmp(fiveBits)).output),
		Bytes({132, 132, 132, 255}));
}

TEST_F(BmpTranslatorTest, BlackAndWhiteTablesBecomeGray1)
{
	// 10 x 2, table white then black, so 1 is black as in the stream.
	BmpFields bilevel;
	bilevel.width = 10;
	bilevel.height = 2;
	bilevel.bitsPerPixel = 1;
	bilevel.colourTable = {255, 255, 255, 0, 0, 0, 0, 0};
	bilevel.data = {0x00, 0xC0, 0, 0, 0xA0, 0x7F, 0, 0};
	const Bytes gray1 = MakeBitmapStream(B_GRAY1, 9, 1, 2, 4,
		{0xA0, 0x40, 0x00, 0xC0});
	Translation read = fTranslator.Read(MakeBmp(bilevel));
	ASSERT_EQ(read.status, B_OK) << read.failure;
	EXPECT_EQ(read.output, gray1);
	EXPECT_EQ(read.depth, "1-bit black and white");

	// Black then white, the usual order, inverts the bits.
	bilevel.colourTable = {0, 0, 0, 0, 255, 255, 255, 0};
	for (size_t i : {0, 1, 4, 5}) {
		bilevel.data[i] = (uint8)~bilevel.data[i];
	}
	EXPECT_EQ(fTranslator.Read(MakeBmp(bilevel)).output, gray1);

	// Any other colour makes it colour.
	bilevel.colourTable[0] = 1;
	Translation colour = fTranslator.Read(MakeBmp(bilevel));
	EXPECT_EQ(ReadStreamHeader(colour.output).colors, (uint32)B_RGB32);
}

TEST_F(BmpTranslatorTest, RunLengthDataWithMovesAndEarlyEnds)
{
	// 6 x 4 stored bottom up. Row 3 (bottom): run of 2 of index 1, then 4
	// as they are (2 3 2 3); row 2: move 2 right and 1 on, to row 1 at x 2:
	// run of 3 of 2, end of row; row 0: end of the picture, all white, and
	// told missing, as a file cut short there would be.
	BmpFields rle = Rle8(6, 4, {2, 1, 0, 4, 2, 3, 2, 3, 0, 0, 0, 2, 2, 1, 3, 2,
		0, 0, 0, 1});
	const uint8 w[3] = {255, 255, 255};
	const uint8 r[3] = {255, 0, 0};
	const uint8 g[3] = {0, 255, 0};
	const uint8 b[3] = {0, 0, 255};
	const uint8 *rows[4][6] = {{w, w, w, w, w, w}, {w, w, g, g, g, w},
		{w, w, w, w, w, w}, {r, r, g, b, g, b}};
	Bytes rgb;
	for (auto &row : rows) {
		for (const uint8 *pixel : row) {
			rgb.insert(rgb.end(), pixel, pixel + 3);
		}
	}
	Translation eight = fTranslator.Read(MakeBmp(rle));
	ASSERT_EQ(eight.status, B_OK) << eight.failure;
	EXPECT_EQ(eight.output, Rgb32Stream(6, 4, rgb));
	EXPECT_EQ(eight.missingRows, 1);
	EXPECT_EQ(eight.missingPixels, 6);
	// Ending inside row 0, after 2 of its pixels; or at its end.
	BmpFields partial = rle;
	partial.data.insert(partial.data.end() - 2, {2, 1});
	Translation inside = fTranslator.Read(MakeBmp(partial));
	EXPECT_EQ(inside.missingRows, 1);
	EXPECT_EQ(inside.missingPixels, 4);
	partial.data.insert(partial.data.end() - 2, {4, 1});
	EXPECT_EQ(fTranslator.Read(MakeBmp(partial)).missingRows, 0);

	// RLE4: the same codes with nibbles, absolute data padded to a word.
	rle.bitsPerPixel = 4;
	rle.compression = 2;
	rle.data = {2, 0x11, 0, 4, 0x23, 0x23, 0, 0, 0, 2, 2, 1, 3, 0x22, 0, 0,
		0, 1};
	EXPECT_EQ(fTranslator.Read(MakeBmp(rle)).output, eight.output);

	// Cut before the picture's end: damaged, before a byte is written.
	rle.data.resize(10);
	LimitedWriteIO untouched(1 << 20);
	Translation cut = fTranslator.Read(MakeBmp(rle), &untouched);
	EXPECT_EQ(cut.status, B_ILLEGAL_DATA);
	EXPECT_EQ(cut.failure, "not a readable BMP image (the file is cut short)");
	EXPECT_EQ(untouched.WriteCalls(), 0);
}

TEST_F(BmpTranslatorTest, HostileHeadersAreRefusedBeforeWriting)
{
	auto with = [](void (*change)(BmpFields &)) {
		BmpFields s;
		s.width = 4;
		s.height = 4;
		s.bitsPerPixel = 24;
		s.data = Bytes(48, 7);
		change(s);
		return MakeBmp(s);
	};
	const std::string readable = "uncompressed BMPs of 1, 2, 4, 8, 16, 24 or "
		"32 bits a pixel, RLE4, RLE8 and bit-field BMPs can";
	const struct {
		Bytes bmp;
		status_t status;
		std::string failure;
	} cases[] = {
		{with([](BmpFields &s) { s.width = 16384; s.height = -16384; }),
			B_ILLEGAL_DATA, "not a readable BMP image (the file is cut short)"},
		{with([](BmpFields &s) { s.width = 0x7FFFFFFF; }), B_NO_TRANSLATOR,
			"image too large: 2147483647 x 4 pixels (at most 268435456 "
			"pixels)"},
		{with([](BmpFields &s) { s.width = -4; }), B_ILLEGAL_DATA,
			"not a readable BMP image (the width is negative)"},
		{with([](BmpFields &s) { s.compression = 4; }), B_NO_TRANSLATOR,
			"a BMP holding a JPEG cannot be read (" + readable + ")"},
		{with([](BmpFields &s) { s.bitsPerPixel = 64; }), B_NO_TRANSLATOR,
			"a BMP of 64 bits a pixel cannot be read (" + readable + ")"},
		{with([](BmpFields &s) {
			s.bitsPerPixel = 32;
			s.compression = 3;
			s.masks = {0xF0F000, 0xFF00, 0xFF};
		}), B_ILLEGAL_DATA, "not a readable BMP image (a colour mask is not "
			"one run of bits within the pixel)"},
		{with([](BmpFields &s) { s.compression = 1; }), B_ILLEGAL_DATA,
			"not a readable BMP image (its compression does not fit 24 bits "
			"a pixel)"},
	};
	for (const auto &c : cases) {
		// Taken as a BMP: Identify refuses headers that do not hold
		// together, Translate says why.
		LimitedWriteIO untouched(1 << 20);
		Translation result = fTranslator.Translate(c.bmp, B_TRANSLATOR_BITMAP,
			&untouched, NULL, kBmpType);
		EXPECT_EQ(result.status, c.status) << c.failure;
		EXPECT_EQ(result.failure, c.failure);
		EXPECT_EQ(untouched.WriteCalls(), 0);
	}
}

TEST_F(BmpTranslatorTest, IdentifyReadsTheHeadersAloneAndTellsTheStoredFacts)
{
	BmpFields s;
	s.width = 3;
	s.height = -2;
	s.bitsPerPixel = 16;
	s.compression = 3;
	s.headerSize = 56;
	s.masks = {0x7C00, 0x03E0, 0x001F, 0x8000};
	s.data = Bytes(16, 0);
	Bytes bmp = MakeBmp(s);
	FencedIO source(bmp, bmp.size() - s.data.size());
	BMessage extension;
	translator_info info;
	ASSERT_EQ(fTranslator.Identify(&source, 0, &info, &extension), B_OK);
	EXPECT_EQ(info.type, kBmpType);
	EXPECT_STREQ(info.MIME, "image/bmp");
	EXPECT_EQ(StoredFacts(extension), "3 x 2, 5-bit RGBA, alpha (24-bit "
		"colour)");
}

TEST_F(BmpTranslatorTest, StreamsBecomeBmpAndReadBack)
{
	const struct {
		Bytes stream;
		int bitsPerPixel;
	} cases[] = {
		{MakeBitmapStream(B_GRAY1, 9, 1, 2, 4, {0xA0, 0x40, 0x00, 0xC0}), 1},
		{MakeBitmapStream(B_GRAY8, 2, 1, 4, 8, {0, 9, 255, 0, 1, 2, 3, 0}), 8},
		{Rgb32Stream(3, 2, kRgb), 24},
	};
	for (const auto &c : cases) {
		Translation bmp = fTranslator.Translate(c.stream, kBmpType);
		ASSERT_EQ(bmp.status, B_OK) << bmp.failure;
		EXPECT_EQ(bmp.output[28], c.bitsPerPixel);
		// Stored bottom up: a positive height.
		EXPECT_EQ(bmp.output[25], 0);
		Translation back = fTranslator.Read(bmp.output);
		ASSERT_EQ(back.status, B_OK) << back.failure;
		if (c.bitsPerPixel == 8) {
			EXPECT_EQ(StreamPixels(back.output),
				GreyRgb32({0, 9, 255, 1, 2, 3}));
			EXPECT_EQ(back.depth, "8-bit grey");
		} else {
			EXPECT_EQ(back.output, c.stream);
		}
	}
}

TEST_F(BmpTranslatorTest, RowsAreStreamedAndTheFirstFailedWriteStops)
{
	BmpFields small;
	small.width = 3;
	small.height = 2;
	small.data = PadBmpRows(Bytes(18, 1), 9);
	// 8192 x 8192 run-length, bottom up: 256 MiB as a stream.
	BmpFields rle = Rle8(8192, 8192, {});
	for (int y = 0; y < 8192; y++) {
		for (int x = 0; x < 8192; x += 128) {
			rle.data.insert(rle.data.end(), {128, (uint8)(y % 6)});
		}
		rle.data.insert(rle.data.end(), {0, 0});
	}
	ExpectRowsStreamed(fTranslator, MakeBmp(small), MakeBmp(rle),
		32 + 8192 * 8192 * 4);
}

} // namespace
