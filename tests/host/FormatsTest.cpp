// What quorvel reads and writes besides PNG round trips: bitmap streams
// passed to and from the translator untouched, every PNM variant, PNG
// transparency and depths, pipes, the PNM output kinds and identify.
#include <DataIO.h>
#include <Message.h>

#include "HostTool.h"
#include "LoadedTranslator.h"

namespace {

const uint32 kPilotType = 'PPiv';

// What the translator itself makes of the bytes, called in this process.
Bytes TranslateDirectly(const Bytes &input, uint32 inType, uint32 outType,
	BMessage *extension)
{
	LoadedTranslator translator;
	EXPECT_EQ(translator.InitCheck(), B_OK);
	BMemoryIO source(input.data(), input.size());
	BMallocIO destination;
	translator_info info = {};
	info.type = inType;
	info.translator = translator.ID();
	EXPECT_EQ(translator.Roster().Translate(&source, &info, extension,
		&destination, outType), B_OK);
	const uint8 *data = static_cast<const uint8 *>(destination.Buffer());
	return Bytes(data, data + destination.BufferLength());
}

// A B_RGB32 stream of grey pixels, as quorvel hands greys over.
Bytes GreyStream(uint32 width, uint32 height, const Bytes &greys)
{
	Bytes data;
	for (uint8 grey : greys) {
		data.insert(data.end(), {grey, grey, grey, 255});
	}
	return MakeBitmapStream(B_RGB32, width - 1, height - 1, width * 4,
		width * 4 * height, data);
}

class FormatsTest : public HostTest {
protected:
	Bytes ConvertToBits(const std::string &name, const std::string &content)
	{
		WriteBytes(Path(name), BytesOfText(content));
		RunResult result = Run({"convert", name, "out.bits"});
		EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
		return ReadBytes(Path("out.bits"));
	}
};

TEST_F(FormatsTest, BitmapStreamsPassToAndFromTheTranslatorUntouched)
{
	// An indexed 170 x 3 stream with odd rowBytes: what quorvel writes
	// must be what the translator makes of exactly these bytes.
	Bytes indexes(172 * 3);
	for (size_t i = 0; i < indexes.size(); i++) {
		indexes[i] = (uint8)(i * 7);
	}
	Bytes stream = MakeBitmapStream(B_CMAP8, 169, 2, 172, 172 * 3, indexes);
	WriteBytes(Path("in.bits"), stream);
	RunResult toPilot = Run({"convert", "in.bits", "out.pdb", "--name",
		"Direct"});
	ASSERT_EQ(toPilot.exitCode, 0) << toPilot.err;
	BMessage extension;
	extension.AddString("database_name", "Direct");
	Bytes pilot = ReadBytes(Path("out.pdb"));
	EXPECT_EQ(pilot, TranslateDirectly(stream, B_TRANSLATOR_BITMAP,
		kPilotType, &extension));

	RunResult toBits = Run({"convert", "out.pdb", "back.bits"});
	ASSERT_EQ(toBits.exitCode, 0) << toBits.err;
	EXPECT_EQ(ReadBytes(Path("back.bits")),
		TranslateDirectly(pilot, kPilotType, B_TRANSLATOR_BITMAP, NULL));
}

TEST_F(FormatsTest, EveryGreyPnmVariantGivesTheSameStream)
{
	// Multiples of 17, so that maxval 15 holds them exactly.
	const Bytes greys = {0, 51, 204, 255, 17, 34, 68, 136};
	Bytes expected = GreyStream(4, 2, greys);

	EXPECT_EQ(ConvertToBits("plain.pgm",
		"P2\n# a comment\n4 2 # size\n255\n0 51 204 255\n17 34 68 136\n"),
		expected);
	EXPECT_EQ(ConvertToBits("fifteen.pgm",
		"P2 4 2 15 0 3 12 15 1 2 4 8"), expected);

	std::string raw = "P5\n4 2\n255\n";
	raw.append(greys.begin(), greys.end());
	EXPECT_EQ(ConvertToBits("raw.pgm", raw), expected);

	std::string small = "P5 4 2 15\n";
	for (uint8 grey : greys) {
		small += (char)(grey / 17);
	}
	EXPECT_EQ(ConvertToBits("small.pgm", small), expected);

	// A byte above maxval is damage, not a brighter white.
	WriteBytes(Path("above.pgm"), BytesOfText(small.substr(0, 17) + "\x10"));
	RunResult above = Run({"convert", "above.pgm", "above.bits"});
	EXPECT_EQ(above.exitCode, 1);
	EXPECT_NE(above.err.find("above maxval"), std::string::npos)
		<< above.err;

	std::string wide = "P5 4#comment\n2 65535\n";
	for (uint8 grey : greys) {
		wide += (char)grey;  // grey * 257: both bytes equal
		wide += (char)grey;
	}
	EXPECT_EQ(ConvertToBits("wide.pgm", wide), expected);
}

TEST_F(FormatsTest, ColourAndBitmapPnmGiveRgb32AndGray1Streams)
{
	Bytes colour = MakeBitmapStream(B_RGB32, 1, 0, 8, 8,
		{0, 0, 255, 255, 255, 128, 0, 255});
	EXPECT_EQ(ConvertToBits("plain.ppm", "P3 2 1 255 255 0 0  0 128 255\n"),
		colour);
	EXPECT_EQ(ConvertToBits("raw.ppm",
		std::string("P6\n2 1\n255\n\xff\x00\x00\x00\x80\xff", 17)), colour);

	// 10 x 2, 1 is black; rows padded to two bytes.
	Bytes mono = MakeBitmapStream(B_GRAY1, 9, 1, 2, 4,
		{0xA0, 0x40, 0x00, 0xC0});
	EXPECT_EQ(ConvertToBits("plain.pbm",
		"P1\n# comment\n10 2\n1010000001\n0 0 0 0 0 0 0 0 1 1\n"), mono);
	EXPECT_EQ(ConvertToBits("raw.pbm",
		std::string("P4\n10 2\n\xA0\x7F\x00\xFF", 12)), mono);
}

TEST_F(FormatsTest, PngTransparencyIsCompositedOnWhiteAndDeepSamplesNarrowed)
{
	// RGBA: clear, opaque black, half-covered red.
	WriteBytes(Path("alpha.png"), MakePng(3, 1, 8, 6,
		{0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 128}));
	ASSERT_EQ(Run({"convert", "alpha.png", "alpha.bits"}).exitCode, 0);
	EXPECT_EQ(ReadBytes(Path("alpha.bits")), MakeBitmapStream(B_RGB32, 2, 0,
		12, 12, {255, 255, 255, 255, 0, 0, 0, 255, 127, 127, 255, 255}));

	// A palette whose second entry is transparent.
	WriteBytes(Path("palette.png"), MakePng(2, 1, 8, 3, {0, 1},
		{10, 20, 30, 0, 0, 0}, {255, 0}));
	ASSERT_EQ(Run({"convert", "palette.png", "palette.bits"}).exitCode, 0);
	EXPECT_EQ(ReadBytes(Path("palette.bits")), MakeBitmapStream(B_RGB32, 1,
		0, 8, 8, {30, 20, 10, 255, 255, 255, 255, 255}));

	// 16-bit grey.
	WriteBytes(Path("deep.png"), MakePng(2, 1, 16, 0, {0xFF, 0xFF, 0, 0}));
	ASSERT_EQ(Run({"convert", "deep.png", "deep.bits"}).exitCode, 0);
	EXPECT_EQ(ReadBytes(Path("deep.bits")), GreyStream(2, 1, {255, 0}));
}

TEST_F(FormatsTest, PipesCarryPicturesThroughStandardInputAndOutput)
{
	std::string ppm = "P3 2 2 255 0 0 0 255 255 255 90 90 90 200 10 10\n";
	WriteBytes(Path("in.ppm"), BytesOfText(ppm));
	ASSERT_EQ(Run({"convert", "in.ppm", "file.pdb"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "file.pdb", "file.pgm"}).exitCode, 0);

	RunResult piped = Shell("cat in.ppm | $Q convert - - --to pdb "
		"| $Q convert - - --to pgm > piped.pgm");
	ASSERT_EQ(piped.exitCode, 0) << piped.err;
	EXPECT_EQ(ReadBytes(Path("piped.pgm")), ReadBytes(Path("file.pgm")));

	RunResult noFormat = Run({"convert", "in.ppm", "-"});
	EXPECT_EQ(noFormat.exitCode, 2);
	EXPECT_NE(noFormat.err.find("--to"), std::string::npos) << noFormat.err;
}

TEST_F(FormatsTest, PnmOutputKindFollowsThePictureOrTheExtension)
{
	Bytes greys(160 * 160, 128);
	WriteBytes(Path("grey.png"), MakePng(160, 160, 8, 0, greys));
	ASSERT_EQ(Run({"convert", "grey.png", "grey.pdb"}).exitCode, 0);

	ASSERT_EQ(Run({"convert", "grey.pdb", "any.pnm"}).exitCode, 0);
	EXPECT_EQ(ParsePnm(ReadBytes(Path("any.pnm"))).type, '5');
	ASSERT_EQ(Run({"convert", "grey.pdb", "colour.ppm"}).exitCode, 0);
	Pnm colour = ParsePnm(ReadBytes(Path("colour.ppm")));
	EXPECT_EQ(colour.type, '6');
	EXPECT_EQ(colour.pixels.size(), 160u * 160u * 3u);

	RunResult bitmap = Run({"convert", "grey.pdb", "bitmap.pbm"});
	EXPECT_EQ(bitmap.exitCode, 1);
	EXPECT_NE(bitmap.err.find("unsupported depth"), std::string::npos)
		<< bitmap.err;
	EXPECT_FALSE(std::filesystem::exists(Path("bitmap.pbm")));
}

TEST_F(FormatsTest, IndexedStreamsBecomeGreyOrColourByThePixelsTheyUse)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	int greyIndex = -1;
	int colourIndex = -1;
	for (int i = 255; i >= 0; i--) {
		rgb_color c = screen.ColorForIndex((uint8)i);
		bool grey = c.red == c.green && c.green == c.blue;
		(grey ? greyIndex : colourIndex) = i;
	}
	ASSERT_GE(greyIndex, 0);
	ASSERT_GE(colourIndex, 0);
	rgb_color grey = screen.ColorForIndex((uint8)greyIndex);
	rgb_color colour = screen.ColorForIndex((uint8)colourIndex);

	// 2 x 2 with rows of 3 bytes: a colour index in the padding byte
	// beyond the width is no pixel and must not make the picture colour.
	WriteBytes(Path("grey.bits"), MakeBitmapStream(B_CMAP8, 1, 1, 3, 6,
		{(uint8)greyIndex, 0, (uint8)colourIndex,
			0, (uint8)greyIndex, (uint8)colourIndex}));
	ASSERT_EQ(Run({"convert", "grey.bits", "grey.pnm"}).exitCode, 0);
	Pnm greyPnm = ParsePnm(ReadBytes(Path("grey.pnm")));
	uint8 black = screen.ColorForIndex(0).red;
	EXPECT_EQ(greyPnm.type, '5');
	EXPECT_EQ(greyPnm.pixels, Bytes({grey.red, black, black, grey.red}));

	WriteBytes(Path("colour.bits"), MakeBitmapStream(B_CMAP8, 1, 0, 2, 2,
		{(uint8)greyIndex, (uint8)colourIndex}));
	ASSERT_EQ(Run({"convert", "colour.bits", "colour.pnm"}).exitCode, 0);
	Pnm colourPnm = ParsePnm(ReadBytes(Path("colour.pnm")));
	EXPECT_EQ(colourPnm.type, '6');
	EXPECT_EQ(colourPnm.pixels, Bytes({grey.red, grey.green, grey.blue,
		colour.red, colour.green, colour.blue}));
}

TEST_F(FormatsTest, IdentifyNamesFormatSizeAndDepth)
{
	WriteBytes(Path("mono.pbm"), BytesOfText("P1 3 1 101"));
	WriteBytes(Path("grey.png"), MakePng(2, 2, 8, 0, {1, 2, 3, 4}));
	ASSERT_EQ(Run({"convert", "grey.png", "grey.pdb"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "mono.pbm", "mono.pdb"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "grey.png", "grey.bits"}).exitCode, 0);

	RunResult result = Run({"identify", "mono.pbm", "grey.png", "grey.pdb",
		"mono.pdb", "grey.bits"});
	EXPECT_EQ(result.exitCode, 0) << result.err;
	EXPECT_EQ(result.out,
		"mono.pbm: PNM image, 3 x 1 pixels, 1-bit black and white\n"
		"grey.png: PNG image, 2 x 2 pixels, 8-bit grey\n"
		"grey.pdb: PalmPilot image (image/x-pilotimage), 160 x 160 pixels, "
		"2-bit grey (four levels), packed, database \"grey\", complete\n"
		"mono.pdb: PalmPilot image (image/x-pilotimage), 160 x 160 pixels, "
		"1-bit black and white, packed, database \"mono\", complete\n"
		"grey.bits: Be bitmap (image/x-be-bitmap), 2 x 2 pixels, B_RGB32\n");
}

} // namespace
