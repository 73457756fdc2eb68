// What quorvel reads and writes besides PNG round trips: bitmap streams
// passed to and from the translator untouched, pipes, the PNM output kinds
// and identify. How each format's variants are read is the standard
// translators' tests' business (tests/platform/translators).
#include <set>

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

class FormatsTest : public HostTest {
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

	// A pipe of several of the blocks standard input is read in, a stream
	// whose rows straddle them, comes through whole.
	Bytes rows(700 * 3 * 1000);
	for (size_t i = 0; i < rows.size(); i++) {
		rows[i] = (uint8)(i * 31 / 7);
	}
	Bytes stream = MakeBitmapStream(B_RGB24, 699, 999, 2100, 2100000, rows);
	WriteBytes(Path("large.bits"), stream);
	RunResult large = Shell("cat large.bits | $Q convert - - --to bits "
		"> large-piped.bits");
	ASSERT_EQ(large.exitCode, 0);
	EXPECT_TRUE(ReadBytes(Path("large-piped.bits")) == stream);

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

	// Greys asked for as PBM are made black and white, dithered.
	RunResult bitmap = Run({"convert", "grey.pdb", "bitmap.pbm"});
	EXPECT_EQ(bitmap.exitCode, 0) << bitmap.err;
	EXPECT_EQ(ParsePnm(ReadBytes(Path("bitmap.pbm"))).type, '4');
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
	// The stored depth, and the samples that make it up, agree.
	WriteBytes(Path("rgb16.png"), MakePng(1, 1, 16, 2, Bytes(6, 0x80)));
	WriteBytes(Path("greys.png"), MakePng(2, 1, 2, 3, {0x1B},
		{0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}));
	WriteBytes(Path("clear.png"), MakePng(2, 1, 2, 3, {0x1B},
		{255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9}, {0}));
	ASSERT_EQ(Run({"convert", "grey.png", "grey.pdb"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "mono.pbm", "mono.pdb"}).exitCode, 0);
	ASSERT_EQ(Run({"convert", "grey.png", "grey.bits"}).exitCode, 0);

	RunResult result = Run({"identify", "mono.pbm", "grey.png", "rgb16.png",
		"greys.png", "clear.png", "grey.pdb", "mono.pdb", "grey.bits"});
	EXPECT_EQ(result.exitCode, 0) << result.err;
	EXPECT_EQ(result.out,
		"mono.pbm: PNM image (image/x-portable-anymap), 3 x 1 pixels, 1-bit "
		"black and white; translator: PPM images\n"
		"grey.png: PNG image (image/png), 2 x 2 pixels, 8-bit grey; "
		"translator: PNG images\n"
		"rgb16.png: PNG image (image/png), 1 x 1 pixels, 48-bit colour (RGB, "
		"16 bits a sample); translator: PNG images\n"
		"greys.png: PNG image (image/png), 2 x 1 pixels, 2-bit palette of "
		"greys; translator: PNG images\n"
		"clear.png: PNG image (image/png), 2 x 1 pixels, 2-bit palette of "
		"colours (transparency); translator: PNG images\n"
		"grey.pdb: PalmPilot image (image/x-pilotimage), 160 x 160 pixels, "
		"2-bit grey (four levels), packed, rows of 40 bytes, database "
		"\"grey\", complete; "
		"translator: Quorvel\n"
		"mono.pdb: PalmPilot image (image/x-pilotimage), 160 x 160 pixels, "
		"1-bit black and white, packed, rows of 20 bytes, database "
		"\"mono\", complete; "
		"translator: Quorvel\n"
		"grey.bits: Be bitmap (image/x-be-bitmap), 2 x 2 pixels, B_RGB32; "
		"translator: Quorvel\n");

	// Only headers are read: pixel data that is damaged, or missing, is no
	// concern of identify.
	Bytes png = MakePng(64, 64, 8, 0, Bytes(64 * 64, 7));
	png[60] ^= 0xFF;  // inside IDAT: its checksum no longer matches
	WriteBytes(Path("damaged.png"), png);
	WriteBytes(Path("no-rows.bits"), MakeBitmapStream(B_RGB32, 99, 49, 400,
		400 * 50, Bytes()));
	RunResult headers = Run({"identify", "damaged.png", "no-rows.bits"});
	EXPECT_EQ(headers.exitCode, 0) << headers.err;
	EXPECT_EQ(headers.out,
		"damaged.png: PNG image (image/png), 64 x 64 pixels, 8-bit grey; "
		"translator: PNG images\n"
		"no-rows.bits: Be bitmap (image/x-be-bitmap), 100 x 50 pixels, "
		"B_RGB32; translator: Quorvel\n");
}

} // namespace

namespace {

class CodecLoadingTest : public HostTest {
protected:
	// The codec libraries the loader mapped while quorvel ran the command.
	std::set<std::string> CodecLibrariesLoaded(const std::string &command)
	{
		RunResult result = Shell("LD_DEBUG=files $Q " + command);
		EXPECT_EQ(result.exitCode, 0) << command;
		std::set<std::string> loaded;
		for (const char *library : {"libpng", "libjpeg", "libgif"}) {
			if (result.err.find(std::string("file=") + library)
					!= std::string::npos) {
				loaded.insert(library);
			}
		}
		return loaded;
	}
};

TEST_F(CodecLoadingTest, CodecLibrariesAreLoadedForTheirOwnFormatsAlone)
{
	const char ppm[] = "P6\n2 1\n255\n\x10\x20\x30\x40\x50\x60";
	WriteBytes(Path("in.ppm"), Bytes(ppm, ppm + sizeof(ppm) - 1));
	WriteBytes(Path("in.png"), MakePng(2, 1, 8, 0, {0, 255}));
	EXPECT_EQ(CodecLibrariesLoaded("identify in.ppm"),
		std::set<std::string>());
	EXPECT_EQ(CodecLibrariesLoaded("convert in.ppm out.pdb"),
		std::set<std::string>());
	EXPECT_EQ(CodecLibrariesLoaded("convert in.png out2.pdb"),
		std::set<std::string>{"libpng"});
	EXPECT_EQ(CodecLibrariesLoaded("convert in.ppm out.jpg"),
		std::set<std::string>{"libjpeg"});
}

} // namespace
