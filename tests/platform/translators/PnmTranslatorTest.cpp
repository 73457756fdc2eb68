// The PNM translator: every variant and maxval to the stream the host made
// of it, bitmap streams to the PNM variant asked for or the one that fits,
// the header read alone, claims the file cannot hold refused before a
// byte is written.
#include <Screen.h>

#include "StandardTranslators.h"

namespace {

const uint32 kPpmType = 'PPM ';
const uint32 kPgmType = 'PGM ';
const uint32 kPbmType = 'PBM ';

class PnmTranslatorTest : public testing::Test {
protected:
	Translation Read(const std::string &pnm, BPositionIO *destination = NULL)
	{
		return fTranslator.Translate(BytesOfText(pnm), B_TRANSLATOR_BITMAP,
			destination);
	}

	Bytes ReadStream(const std::string &pnm)
	{
		Translation result = Read(pnm);
		EXPECT_EQ(result.status, B_OK) << result.failure;
		return result.output;
	}

	StandardTranslator fTranslator{PPM_TRANSLATOR_PATH};
};

TEST_F(PnmTranslatorTest, EveryGreyVariantGivesTheSameStream)
{
	// Multiples of 17, so that maxval 15 holds them exactly.
	const Bytes greys = {0, 51, 204, 255, 17, 34, 68, 136};
	Bytes expected = GreyStream(4, 2, greys);

	EXPECT_EQ(ReadStream(
		"P2\n# a comment\n4 2 # size\n255\n0 51 204 255\n17 34 68 136\n"),
		expected);
	EXPECT_EQ(ReadStream("P2 4 2 15 0 3 12 15 1 2 4 8"), expected);

	std::string raw = "P5\n4 2\n255\n";
	raw.append(greys.begin(), greys.end());
	EXPECT_EQ(ReadStream(raw), expected);

	std::string small = "P5 4 2 15\n";
	for (uint8 grey : greys) {
		small += (char)(grey / 17);
	}
	Translation read = Read(small);
	EXPECT_EQ(read.output, expected);
	EXPECT_EQ(read.depth, "8-bit grey");

	// A byte above maxval is damage, not a brighter white.
	Translation above = Read(small.substr(0, 17) + "\x10");
	EXPECT_EQ(above.status, B_ILLEGAL_DATA);
	EXPECT_EQ(above.failure,
		"not a readable PNM image (a sample is above maxval)");

	std::string wide = "P5 4#comment\n2 65535\n";
	for (uint8 grey : greys) {
		wide += (char)grey;  // grey * 257: both bytes equal
		wide += (char)grey;
	}
	EXPECT_EQ(ReadStream(wide), expected);
}

TEST_F(PnmTranslatorTest, ColourAndBitmapGiveRgb32AndGray1Streams)
{
	Bytes colour = MakeBitmapStream(B_RGB32, 1, 0, 8, 8,
		{0, 0, 255, 255, 255, 128, 0, 255});
	EXPECT_EQ(ReadStream("P3 2 1 255 255 0 0  0 128 255\n"), colour);
	EXPECT_EQ(ReadStream(std::string("P6\n2 1\n255\n\xff\x00\x00\x00\x80\xff",
		17)), colour);

	// 10 x 2, 1 is black; rows padded to two bytes, the padding cleared.
	Bytes mono = MakeBitmapStream(B_GRAY1, 9, 1, 2, 4,
		{0xA0, 0x40, 0x00, 0xC0});
	EXPECT_EQ(ReadStream(
		"P1\n# comment\n10 2\n1010000001\n0 0 0 0 0 0 0 0 1 1\n"), mono);
	Translation raw = Read(std::string("P4\n10 2\n\xA0\x7F\x00\xFF", 12));
	EXPECT_EQ(raw.output, mono);
	EXPECT_EQ(raw.depth, "1-bit black and white");
}

// Rows of every width's tail, rows longer than the reader's buffer, and
// a palette picture large enough for the readers' two-pixel tables.
TEST_F(PnmTranslatorTest, WideRowsAndLargePicturesGiveTheSameBytes)
{
	for (uint32 width : {1u, 5u, 6u, 7u, 8u, 9u, 9001u}) {
		const uint32 height = 3;
		std::string ppm = "P6 " + std::to_string(width) + " "
			+ std::to_string(height) + " 255\n";
		Bytes pixels;
		for (uint32 i = 0; i < width * height; i++) {
			uint8 red = (uint8)(i * 7);
			uint8 green = (uint8)(i * 13 + 1);
			uint8 blue = (uint8)(i >> 3);
			ppm += {(char)red, (char)green, (char)blue};
			pixels.insert(pixels.end(), {blue, green, red, 255});
		}
		EXPECT_EQ(ReadStream(ppm), MakeBitmapStream(B_RGB32, width - 1,
			height - 1, width * 4, width * 4 * height, pixels))
			<< width << " pixels wide";
	}

	BScreen screen(B_MAIN_SCREEN_ID);
	const uint8 greyIndexes[3] = {screen.IndexForColor(0, 0, 0),
		screen.IndexForColor(170, 170, 170),
		screen.IndexForColor(255, 255, 255)};
	const uint32 width = 1025;
	const uint32 height = 1024;
	Bytes indexes(width * height);
	std::string greys;
	for (size_t i = 0; i < indexes.size(); i++) {
		indexes[i] = greyIndexes[i % 3];
		greys += (char)screen.ColorForIndex(indexes[i]).red;
	}
	std::string header = "P5\n1025 1024\n255\n";
	Translation grey = fTranslator.Translate(MakeBitmapStream(B_CMAP8,
		width - 1, height - 1, width, width * height, indexes), 0);
	EXPECT_EQ(grey.output, BytesOfText(header + greys));
	// One colour at the last pixel, an odd one, makes it a colour picture.
	indexes.back() = screen.IndexForColor(255, 0, 0);
	Translation colour = fTranslator.Translate(MakeBitmapStream(B_CMAP8,
		width - 1, height - 1, width, width * height, indexes), 0);
	EXPECT_EQ(std::string(colour.output.begin(), colour.output.begin() + 2),
		"P6");
}

TEST_F(PnmTranslatorTest, StreamsBecomeTheVariantAskedForOrTheOneThatFits)
{
	Bytes mono = MakeBitmapStream(B_GRAY1, 9, 0, 2, 2, {0xA0, 0x40});
	EXPECT_EQ(fTranslator.Translate(mono, 0).output,
		BytesOfText(std::string("P4\n10 1\n\xA0\x40", 10)));
	EXPECT_EQ(fTranslator.Translate(mono, kPbmType).output,
		fTranslator.Translate(mono, 0).output);
	Translation widened = fTranslator.Translate(mono, kPgmType);
	EXPECT_EQ(widened.output, BytesOfText(std::string("P5\n10 1\n255\n")
		+ std::string("\x00\xff\x00\xff\xff\xff\xff\xff\xff\x00", 10)));

	Bytes grey = MakeBitmapStream(B_GRAY8, 1, 0, 4, 4, {7, 9, 0, 0});
	EXPECT_EQ(fTranslator.Translate(grey, 0).output,
		BytesOfText(std::string("P5\n2 1\n255\n\x07\x09", 13)));
	EXPECT_EQ(fTranslator.Translate(grey, kPpmType).output,
		BytesOfText(std::string("P6\n2 1\n255\n\x07\x07\x07\x09\x09\x09", 17)));
	// PBM of greys is black and white: both near-black greys are black.
	EXPECT_EQ(fTranslator.Translate(grey, kPbmType).output,
		BytesOfText(std::string("P4\n2 1\n\xC0", 8)));

	Bytes colour = MakeBitmapStream(B_RGB32, 0, 0, 4, 4, {1, 2, 3, 255});
	EXPECT_EQ(fTranslator.Translate(colour, 0).output,
		BytesOfText(std::string("P6\n1 1\n255\n\x03\x02\x01", 14)));
	// Identify already knows what a header's colour space cannot become.
	BMemoryIO colourSource(colour.data(), colour.size());
	BMemoryIO greySource(grey.data(), grey.size());
	translator_info info;
	EXPECT_EQ(fTranslator.Identify(&colourSource, kPgmType, &info),
		B_NO_TRANSLATOR);
	EXPECT_EQ(fTranslator.Identify(&greySource, kPbmType, &info), B_OK);
	EXPECT_EQ(fTranslator.Identify(&greySource, kPgmType, &info), B_OK);
	// And back: the P6 gives the stream again.
	EXPECT_EQ(fTranslator.Translate(fTranslator.Translate(colour, 0).output,
		B_TRANSLATOR_BITMAP).output, colour);
}

TEST_F(PnmTranslatorTest, IdentifyReadsTheHeaderAlone)
{
	Bytes pnm = BytesOfText("P6\n# made by hand\n2 1\n255\n");
	size_t headerEnd = pnm.size() - 1;
	pnm.insert(pnm.end(), 6, 0x80);
	FencedIO source(pnm, headerEnd);
	BMessage extension;
	translator_info info;
	ASSERT_EQ(fTranslator.Identify(&source, 0, &info, &extension), B_OK);
	EXPECT_EQ(info.type, kPpmType);
	EXPECT_STREQ(info.name, "PNM image");
	EXPECT_STREQ(info.MIME, "image/x-portable-anymap");
	EXPECT_EQ(StoredFacts(extension), "2 x 1, 8-bit RGB (24-bit colour)");
	for (const auto &c : {std::make_pair("P5 3 2 1000\n", "3 x 2, 10-bit grey "
			"(8-bit grey)"), std::make_pair("P1 3 2 ", "3 x 2, 1-bit grey "
			"(1-bit black and white)")}) {
		Bytes header = BytesOfText(c.first);
		BMemoryIO file(header.data(), header.size());
		BMessage facts;
		ASSERT_EQ(fTranslator.Identify(&file, 0, &info, &facts), B_OK);
		EXPECT_EQ(StoredFacts(facts), c.second);
	}

	Bytes text = BytesOfText("P7 not a picture");
	BMemoryIO other(text.data(), text.size());
	EXPECT_EQ(fTranslator.Identify(&other, 0, &info), B_NO_TRANSLATOR);
}

TEST_F(PnmTranslatorTest, ClaimsTheFileCannotHoldAreRefusedBeforeWriting)
{
	const struct {
		std::string pnm;
		status_t status;
		std::string failure;
	} cases[] = {
		{"P6 16384 16384 255\n\x01\x02\x03", B_ILLEGAL_DATA,
			"not a readable PNM image (the file is cut short)"},
		{"P4 16384 16384\n\x01\x02", B_ILLEGAL_DATA,
			"not a readable PNM image (the file is cut short)"},
		// Plain samples padded with a megabyte of comment.
		{"P3 1000 1000 255\n1 2 3\n#" + std::string(1 << 20, 'x') + "\n",
			B_ILLEGAL_DATA, "not a readable PNM image (the file is cut short)"},
		{"P5 20000 20000 255\n", B_NO_TRANSLATOR,
			"image too large: 20000 x 20000 pixels (at most 268435456 "
			"pixels)"},
		{"P5 4 0 255\n", B_NO_TRANSLATOR, "image has no pixels (4 x 0)"},
		{"P5 4 4 255\nabc", B_ILLEGAL_DATA,
			"not a readable PNM image (the file is cut short)"},
	};
	for (const auto &c : cases) {
		LimitedWriteIO untouched(1 << 20);
		Translation result = Read(c.pnm, &untouched);
		EXPECT_EQ(result.status, c.status) << c.pnm.substr(0, 20);
		EXPECT_EQ(result.failure, c.failure);
		EXPECT_EQ(untouched.WriteCalls(), 0);
	}
}

} // namespace
