// The GIF translator: the first image to B_RGB32 with transparency on
// white, black-and-white ones to B_GRAY1, interlaced as plain, headers
// read alone, claims the data cannot hold refused before a byte is
// written, rows streamed.
#include "StandardTranslators.h"

namespace {

// Red, a see-through green, blue, white.
const Bytes kColours = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

class GifTranslatorTest : public testing::Test {
protected:
	StandardTranslator fTranslator{GIF_TRANSLATOR_PATH};
};

TEST_F(GifTranslatorTest, ColoursComeFromTheirTableWithTransparencyOnWhite)
{
	const Bytes indexes = {0, 1, 2, 3, 3, 2, 1, 0};
	Bytes expected = MakeBitmapStream(B_RGB32, 3, 1, 16, 32,
		{0, 0, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 255, 255, 255, 255,
		255, 255, 255, 255, 255, 0, 0, 255, 255, 255, 255, 255, 0, 0, 255,
		255});
	GifOptions seeThrough;
	seeThrough.transparent = 1;
	Translation read = fTranslator.Read(MakeGif(4, 2, kColours, indexes,
		seeThrough));
	ASSERT_EQ(read.status, B_OK) << read.failure;
	EXPECT_EQ(read.output, expected);
	EXPECT_EQ(read.depth, "24-bit colour");

	// A local table, and interlacing, change nothing.
	seeThrough.localTable = true;
	seeThrough.interlaced = true;
	EXPECT_EQ(fTranslator.Read(MakeGif(4, 2, kColours, indexes,
		seeThrough)).output, expected);

	// 3 x 11 interlaced: every pass has rows.
	Bytes tall;
	for (int i = 0; i < 33; i++) {
		tall.push_back((uint8)(i * 7 % 4));
	}
	GifOptions interlaced;
	interlaced.interlaced = true;
	EXPECT_EQ(fTranslator.Read(MakeGif(3, 11, kColours, tall,
		interlaced)).output, fTranslator.Read(MakeGif(3, 11, kColours,
		tall)).output);
}

TEST_F(GifTranslatorTest, BlackAndWhitePicturesBecomeGray1)
{
	// 10 x 2 of white (0) and black (1).
	const Bytes indexes = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0,
		1, 1};
	const Bytes whiteBlack = {255, 255, 255, 0, 0, 0};
	Translation read = fTranslator.Read(MakeGif(10, 2, whiteBlack, indexes));
	ASSERT_EQ(read.status, B_OK) << read.failure;
	EXPECT_EQ(read.output, MakeBitmapStream(B_GRAY1, 9, 1, 2, 4,
		{0xA0, 0x40, 0x00, 0xC0}));
	EXPECT_EQ(read.depth, "1-bit black and white");

	// Transparency makes a picture of greys; another grey too.
	GifOptions seeThrough;
	seeThrough.transparent = 0;
	Translation clear = fTranslator.Read(MakeGif(10, 2, whiteBlack, indexes,
		seeThrough));
	EXPECT_EQ(ReadStreamHeader(clear.output).colors, (uint32)B_RGB32);
	EXPECT_EQ(clear.depth, "8-bit grey");
	Translation grey = fTranslator.Read(MakeGif(10, 2, {255, 255, 255, 9, 9,
		9}, indexes));
	EXPECT_EQ(grey.depth, "8-bit grey");
}

TEST_F(GifTranslatorTest, IdentifyReadsTheHeadersAloneAndTellsTheStoredFacts)
{
	GifOptions options;
	options.transparent = 2;
	options.interlaced = true;
	Bytes gif = MakeGif(5, 3, kColours, Bytes(15, 1), options);
	// Nothing after the LZW code size (before the data and the trailer)
	// can be read.
	size_t codesStart = gif.size() - GifImageData(Bytes(15, 1), 2).size();
	FencedIO source(gif, codesStart);
	BMessage extension;
	translator_info info;
	ASSERT_EQ(fTranslator.Identify(&source, 0, &info, &extension), B_OK);
	EXPECT_EQ(info.type, (uint32)'GIF ');
	EXPECT_STREQ(info.MIME, "image/gif");
	EXPECT_EQ(StoredFacts(extension),
		"5 x 3, 2-bit palette, alpha, interlaced (24-bit colour)");

	// It writes no GIF, so it takes no bitmap stream.
	Bytes stream = MakeBitmapStream(B_GRAY8, 0, 0, 1, 1, {7});
	BMemoryIO bits(stream.data(), stream.size());
	EXPECT_EQ(fTranslator.Identify(&bits, 0, &info), B_NO_TRANSLATOR);
	Bytes noImage = BytesOfText("GIF89a\x01\x00\x01\x00\x00\x00\x00;");
	BMemoryIO empty(noImage.data(), noImage.size());
	EXPECT_EQ(fTranslator.Identify(&empty, 0, &info), B_NO_TRANSLATOR);
}

TEST_F(GifTranslatorTest, ClaimsTheDataCannotHoldAreRefusedBeforeWriting)
{
	// 16384 x 16384 (screen and image) over the codes of 4 pixels.
	Bytes huge = MakeGif(2, 2, kColours, {0, 1, 2, 3});
	for (size_t at : {6, 30}) {
		huge[at] = huge[at + 2] = 0x00;
		huge[at + 1] = huge[at + 3] = 0x40;
	}
	LimitedWriteIO untouched(1 << 20);
	Translation refused = fTranslator.Read(huge, &untouched);
	EXPECT_EQ(refused.status, B_ILLEGAL_DATA);
	EXPECT_EQ(refused.failure,
		"not a readable GIF image (too little image data for its size)");
	EXPECT_EQ(untouched.WriteCalls(), 0);

	Bytes cut = MakeGif(40, 40, kColours, Bytes(1600, 2));
	cut.resize(cut.size() - 200);
	Translation damaged = fTranslator.Read(cut);
	EXPECT_EQ(damaged.status, B_ILLEGAL_DATA);
	EXPECT_EQ(damaged.failure,
		"not a readable GIF image (the file is cut short)");
}

TEST_F(GifTranslatorTest, RowsAreStreamedAndTheFirstFailedWriteStops)
{
	// 4096 x 4096, 64 MiB as a stream. A table of 256 entries makes the
	// maker's clear codes rare.
	ExpectRowsStreamed(fTranslator, MakeGif(3, 2, kColours, {0, 1, 2, 3, 0, 1}),
		MakeGif(4096, 4096, Bytes(256 * 3, 9), Bytes(4096 * 4096, 3)),
		32 + 4096 * 4096 * 4);
}

} // namespace
