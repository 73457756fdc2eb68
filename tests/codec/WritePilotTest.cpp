// Writing Pilot images through the roster: which bitmaps are refused, the
// size and bytes of what is written, and what a failing stream gets.
#include <math.h>

#include <Screen.h>

#include <gtest/gtest.h>

#include "GreyConversion.h"
#include "RunLength.h"
#include "WriteHelpers.h"

namespace {

Bytes Repeat(std::initializer_list<uint8> pattern, int times)
{
	Bytes bytes;
	for (int i = 0; i < times; i++) {
		bytes.insert(bytes.end(), pattern.begin(), pattern.end());
	}
	return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
	Bytes bytes;
	for (const Bytes &part : parts) {
		bytes.insert(bytes.end(), part.begin(), part.end());
	}
	return bytes;
}

// Every combination of the three switches.
std::vector<PilotWriteOptions> AllOptions()
{
	std::vector<PilotWriteOptions> all;
	for (int mask = 0; mask < 8; mask++) {
		PilotWriteOptions options;
		options.compression = (mask & 1) != 0;
		options.dithering = (mask & 2) != 0;
		options.highContrast = (mask & 4) != 0;
		all.push_back(options);
	}
	return all;
}

std::string Describe(const PilotWriteOptions &options)
{
	return std::string(options.compression ? "packed" : "plain")
		+ (options.dithering ? ", dithered" : "")
		+ (options.highContrast ? ", high contrast" : "");
}

void ExpectRefused(const Bytes &input, const char *why)
{
	for (const PilotWriteOptions &options : AllOptions()) {
		BMallocIO destination;
		EXPECT_EQ(WritePilot(input, options, destination), B_NO_TRANSLATOR)
			<< why << ", " << Describe(options);
		EXPECT_EQ(destination.BufferLength(), 0u) << why;
	}
}

} // namespace

// ---- Header refusals: nothing is written --------------------------------

TEST(WritePilotRefusal, UnusableHeadersLeaveTheDestinationEmpty)
{
	const Bytes valid = BitmapStream::Make(B_RGB32, 1, 1).Serialize();
	ExpectRefused(Bytes(valid.begin(), valid.begin() + 31), "short header");
	ExpectRefused(Bytes(), "empty stream");

	BitmapStream bitmap = BitmapStream::Make(B_RGB32, 1, 1);
	bitmap.magic = 'stib';
	ExpectRefused(bitmap.Serialize(), "little-endian magic");

	bitmap = BitmapStream::Make(B_RGB32, 1, 1);
	bitmap.left = 10;
	bitmap.right = 9;
	ExpectRefused(bitmap.Serialize(), "right below left");
	bitmap = BitmapStream::Make(B_RGB32, 1, 1);
	bitmap.top = 1;
	ExpectRefused(bitmap.Serialize(), "bottom above top");
	bitmap = BitmapStream::Make(B_RGB32, 1, 1);
	bitmap.bottom = NAN;
	ExpectRefused(bitmap.Serialize(), "NaN bottom");
	bitmap = BitmapStream::Make(B_RGB32, 1, 1);
	bitmap.left = NAN;
	ExpectRefused(bitmap.Serialize(), "NaN left");

	for (uint32 colors : {(uint32)B_GRAY8, (uint32)B_RGB24, (uint32)B_RGBA32,
			(uint32)B_RGB32_BIG, (uint32)0}) {
		bitmap = BitmapStream::Make(B_RGB32, 1, 1);
		bitmap.colors = colors;
		ExpectRefused(bitmap.Serialize(), "colour space");
	}
}

// The image header holds the size in signed 16-bit fields, and the codec
// caps pictures at 2^28 pixels: bigger bitmaps are refused before a byte
// is written (the header alone decides; no rows are needed).
TEST(WritePilotRefusal, SizesBeyondTheHeaderOrTheCap)
{
	struct Case {
		uint32 colors;
		float right;
		float bottom;
		const char *why;
	} cases[] = {
		{B_RGB32, 32760, 0, "32761 wide rounds to 32768 on the grey path"},
		{B_GRAY1, 32752, 0, "32753 wide rounds to 32768 on the 1-bit path"},
		{B_RGB32, 16383, 16384, "16384 x 16385 is over the cap"},
	};
	for (const Case &c : cases) {
		BitmapStream bitmap = BitmapStream::Make(c.colors, 1, 1);
		bitmap.right = c.right;
		bitmap.bottom = c.bottom;
		ExpectRefused(bitmap.Serialize(), c.why);
	}
}

// dataSize is not consulted, nor is rowBytes compared with the width.
TEST(WritePilotRefusal, DataSizeIsNotChecked)
{
	BitmapStream bitmap = BitmapStream::Make(B_RGB32, 1, 1);
	bitmap.dataSize = 12345;
	EXPECT_EQ(WrittenPilot(bitmap.Serialize(), PilotWriteOptions()).size(), 6544u);
}

// ---- Sizes ----------------------------------------------------------------

TEST(WritePilotSize, RoundedUpAndAtLeastTheScreen)
{
	struct Case {
		uint32 colors;
		int width;
		int height;
		int pilotWidth;
		int pilotHeight;
	} cases[] = {
		{B_RGB32, 1, 1, 160, 160},
		{B_GRAY1, 1, 1, 160, 160},
		{B_GRAY1, 170, 200, 176, 200},
		{B_CMAP8, 170, 200, 176, 200},
		{B_GRAY1, 161, 161, 176, 161},
		{B_CMAP8, 161, 161, 168, 161},
		{B_RGB32, 161, 161, 168, 161},
	};
	for (const Case &c : cases) {
		const Bytes file = WrittenPilot(
			BitmapStream::Make(c.colors, c.width, c.height).Serialize(),
			PilotWriteOptions());
		ASSERT_FALSE(file.empty());
		EXPECT_EQ(PilotWidth(file), c.pilotWidth) << c.width << "x" << c.height;
		EXPECT_EQ(PilotHeight(file), c.pilotHeight);
		const size_t rowSize = c.colors == B_GRAY1 ? c.pilotWidth / 8
			: c.pilotWidth / 4;
		EXPECT_EQ(file.size(), kPilotHeadersSize + rowSize * c.pilotHeight);
		EXPECT_EQ(file[86 + 33], c.colors == B_GRAY1 ? 0xFF : 0x00);
	}
}

// Bounds 0, 0, 159.5, 99.9 make a 160 x 100 bitmap: exactly rows 0 .. 99
// are read (a 101st read would come short and fail the call).
TEST(WritePilotSize, FractionalBounds)
{
	BitmapStream bitmap = BitmapStream::Make(B_RGB32, 160, 100);
	bitmap.right = 159.5f;
	bitmap.bottom = 99.9f;
	const Bytes file = WrittenPilot(bitmap.Serialize(), PilotWriteOptions());
	ASSERT_FALSE(file.empty());
	EXPECT_EQ(PilotWidth(file), 160);
	EXPECT_EQ(PilotHeight(file), 160);
}

// ---- Names ----------------------------------------------------------------

namespace {

std::string NameFor(const char *databaseName, const char *comment,
	int width = 1)
{
	BMessage extension;
	if (databaseName != NULL) {
		extension.AddString(PILOT_DB_NAME_SETTING, databaseName);
	}
	if (comment != NULL) {
		extension.AddString(B_TRANSLATOR_EXT_COMMENT, comment);
	}
	BMallocIO destination;
	EXPECT_EQ(WritePilot(BitmapStream::Make(B_RGB32, width, 1).Serialize(),
		&extension, destination), B_OK);
	const Bytes file = BytesOf(destination);
	// The image header carries the same 32 name bytes.
	EXPECT_TRUE(std::equal(file.begin(), file.begin() + 32,
		file.begin() + 86));
	return PilotName(file);
}

bool LooksGenerated(const std::string &name, const std::string &size)
{
	if (name.size() != 8 + size.size() || name.substr(8) != size) {
		return false;
	}
	for (int i = 0; i < 8; i++) {
		if (name[i] < 'A' || name[i] > 'Z') {
			return false;
		}
	}
	return true;
}

} // namespace

// The naming rules themselves are tested in WriteNamingTest; here, that the
// writer takes the name from the options, then the kit's comment key.
TEST(WritePilotName, ExplicitNameThenCommentThenGenerated)
{
	EXPECT_EQ(NameFor("Holiday", "beach.jpg"), "Holiday");
	EXPECT_EQ(NameFor(NULL, "beach.jpg"), "beach");
	EXPECT_EQ(NameFor(NULL, ""), "");
	EXPECT_TRUE(LooksGenerated(NameFor(NULL, NULL, 32000), " (32000 x 160)"));

	// No extension message at all.
	BMallocIO destination;
	ASSERT_EQ(WritePilot(BitmapStream::Make(B_GRAY1, 200, 1).Serialize(),
		(BMessage *)NULL, destination), B_OK);
	EXPECT_TRUE(LooksGenerated(PilotName(BytesOf(destination)),
		" (208 x 160)"));
}

// ---- Exact bytes ------------------------------------------------------------

namespace {

// The fixed part of every database we write, after the 32 name bytes.
const uint8 kFixedDatabaseBytes[] = {
	0, 0, 0, 0,  0x06, 0xD1, 0x44, 0xAE,  0x06, 0xD1, 0x44, 0xAE,
	0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
	'v', 'I', 'M', 'G',  'V', 'i', 'e', 'w',  0, 0, 0, 0,  0, 0, 0, 0,
	0, 1,
	0, 0, 0, 0x56, 0x40, 0x6F, 0x80, 0x00,
};

void ExpectHeaders(const Bytes &file, const PilotWriteOptions &options,
	uint8 pixelType, int width, int height)
{
	ASSERT_GE(file.size(), kPilotHeadersSize);
	Bytes name(32, 0);
	memcpy(name.data(), options.name.c_str(), options.name.size());
	EXPECT_EQ(Bytes(file.begin(), file.begin() + 32), name);
	EXPECT_EQ(Bytes(file.begin() + 32, file.begin() + 86),
		Bytes(std::begin(kFixedDatabaseBytes), std::end(kFixedDatabaseBytes)));
	Bytes image = name;
	const Bytes rest = {(uint8)(options.compression ? 1 : 0), pixelType,
		0, 0, 0, 0,  0, 0, 0, 0,  0, 0,  0, 0,  0, 0, 0, 0,  0xFF, 0xFF,
		0xFF, 0xFF, (uint8)(width >> 8), (uint8)width, (uint8)(height >> 8),
		(uint8)height};
	image.insert(image.end(), rest.begin(), rest.end());
	EXPECT_EQ(Bytes(file.begin() + 86, file.begin() + 144), image);
}

} // namespace

TEST(WritePilotBytes, OnePixelWhiteAndBlack)
{
	for (const PilotWriteOptions &options : AllOptions()) {
		SCOPED_TRACE(Describe(options));
		const Bytes white = WrittenPilot(
			BitmapStream::Make(B_RGB32, 1, 1, 255).Serialize(), options);
		ExpectHeaders(white, options, 0x00, 160, 160);
		const Bytes black = WrittenPilot(
			BitmapStream::Make(B_RGB32, 1, 1, 0).Serialize(), options);
		ExpectHeaders(black, options, 0x00, 160, 160);
		if (options.compression) {
			EXPECT_EQ(white.size(), 244u);
			EXPECT_EQ(PixelData(white), Repeat({255, 0}, 50));
			EXPECT_EQ(PixelData(black), Concat({{0, 0xC0},
				Repeat({255, 0}, 49), {254, 0}}));
		} else {
			EXPECT_EQ(white.size(), 6544u);
			EXPECT_EQ(PixelData(white), Bytes(6400, 0));
			Bytes pixels(6400, 0);
			pixels[0] = 0xC0;
			EXPECT_EQ(PixelData(black), pixels);
		}

		// 1-bit: the bitmap's byte as it stands, the rest 0.
		const Bytes dot = WrittenPilot(
			BitmapStream::Make(B_GRAY1, 1, 1, 0x80).Serialize(), options);
		ExpectHeaders(dot, options, 0xFF, 160, 160);
		if (options.compression) {
			EXPECT_EQ(PixelData(dot), Concat({{0, 0x80},
				Repeat({255, 0}, 24), {254, 0}}));
		} else {
			Bytes pixels(3200, 0);
			pixels[0] = 0x80;
			EXPECT_EQ(PixelData(dot), pixels);
			EXPECT_EQ(dot.size(), 3344u);
		}
	}
}

TEST(WritePilotBytes, MidGreyPlainAndDithered)
{
	const Bytes input = BitmapStream::Make(B_RGB32, 160, 160, 128)
		.Serialize();
	PilotWriteOptions options;
	EXPECT_EQ(PixelData(WrittenPilot(input, options)), Bytes(6400, 0x55));

	for (bool highContrast : {false, true}) {
		options.dithering = true;
		options.highContrast = highContrast;
		const Bytes pixels = PixelData(WrittenPilot(input, options));
		ASSERT_EQ(pixels.size(), 6400u);
		EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 40),
			Bytes(40, 0x66)) << "high contrast " << highContrast;
		EXPECT_EQ(Bytes(pixels.begin() + 40, pixels.begin() + 80),
			Bytes(40, 0x99)) << "high contrast " << highContrast;
	}
}

// Greys 200, 60 and 128 are darkness 55, 195 and 127.
TEST(WritePilotBytes, DarknessExamplesInBothQuantisers)
{
	struct Case {
		uint8 grey;
		int normal;
		int highContrast;
	} cases[] = {{200, 1, 0}, {60, 2, 3}, {128, 1, 1}};
	for (const Case &c : cases) {
		const Bytes input = BitmapStream::Make(B_RGB32, 1, 1, c.grey)
			.Serialize();
		PilotWriteOptions options;
		EXPECT_EQ(GreyLevel(PixelData(WrittenPilot(input, options)), 160, 0,
			0), c.normal) << (int)c.grey;
		options.highContrast = true;
		EXPECT_EQ(GreyLevel(PixelData(WrittenPilot(input, options)), 160, 0,
			0), c.highContrast) << (int)c.grey;
	}
}

// Indexed pixels take their darkness from the main screen's colour map.
TEST(WritePilotBytes, IndexedPixelsUseTheScreenColourMap)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	const color_map *map = screen.ColorMap();
	ASSERT_NE(map, nullptr);
	BitmapStream bitmap = BitmapStream::Make(B_CMAP8, 160, 1);
	for (int x = 0; x < 160; x++) {
		*bitmap.Pixel(x, 0) = (uint8)(x * 37 + 11);
	}
	PilotWriteOptions options;
	for (bool highContrast : {false, true}) {
		options.highContrast = highContrast;
		const Bytes pixels = PixelData(WrittenPilot(bitmap.Serialize(),
			options));
		for (int x = 0; x < 160; x++) {
			float residual;
			const float darkness = ColorMapDarkness(
				map->color_list[*bitmap.Pixel(x, 0)]);
			const int want = highContrast
				? QuantizeHighContrast(darkness, &residual)
				: QuantizeNormal(darkness, &residual);
			EXPECT_EQ(GreyLevel(pixels, 160, x, 0), want) << "x " << x;
		}
	}
}

// ---- Beyond the bitmap --------------------------------------------------------

TEST(WritePilotPadding, RowsBelowTheBitmap)
{
	PilotWriteOptions options;
	// 1-bit: rows 100 .. 159 are 0 bytes.
	Bytes pixels = PixelData(WrittenPilot(
		BitmapStream::Make(B_GRAY1, 160, 100, 0xFF).Serialize(), options));
	ASSERT_EQ(pixels.size(), 3200u);
	EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 2000), Bytes(2000, 0xFF));
	EXPECT_EQ(Bytes(pixels.begin() + 2000, pixels.end()), Bytes(1200, 0));

	// RGB32: white, level 0.
	pixels = PixelData(WrittenPilot(
		BitmapStream::Make(B_RGB32, 160, 100, 0).Serialize(), options));
	ASSERT_EQ(pixels.size(), 6400u);
	EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 4000), Bytes(4000, 0xFF));
	EXPECT_EQ(Bytes(pixels.begin() + 4000, pixels.end()), Bytes(2400, 0));

	// CMAP8: colour-map entry 255, and columns beyond the bitmap likewise.
	BScreen screen(B_MAIN_SCREEN_ID);
	float residual;
	const uint8 level = QuantizeNormal(
		ColorMapDarkness(screen.ColorMap()->color_list[255]), &residual);
	const uint8 byte = (uint8)(level * 0x55);
	pixels = PixelData(WrittenPilot(
		BitmapStream::Make(B_CMAP8, 4, 100, 255).Serialize(), options));
	EXPECT_EQ(pixels, Bytes(6400, byte));
}

// Rows padded beyond the room in a Pilot row lose only their padding, and
// nothing is written outside a buffer (the sanitizer build checks that).
TEST(WritePilotPadding, SourceRowsLongerThanThePilotRow)
{
	PilotWriteOptions options;
	// 170 wide 1-bit rows padded to 24 bytes; Pilot rows are 22 bytes.
	BitmapStream mono = BitmapStream::Make(B_GRAY1, 170, 160, 0xAA, 24);
	for (int y = 0; y < 160; y++) {
		mono.Pixel(22, y)[0] = 0x11;
		mono.Pixel(23, y)[0] = 0x22;
	}
	Bytes pixels = PixelData(WrittenPilot(mono.Serialize(), options));
	EXPECT_EQ(pixels, Bytes(22 * 160, 0xAA));

	// The same with fewer rows: the padding does not reach the rows below.
	mono = BitmapStream::Make(B_GRAY1, 170, 10, 0xAA, 24);
	mono.Pixel(22, 9)[0] = 0x11;
	pixels = PixelData(WrittenPilot(mono.Serialize(), options));
	EXPECT_EQ(Bytes(pixels.begin() + 220, pixels.end()), Bytes(22 * 150, 0));

	// RGB32 rows of more than 4 x W bytes: the extra bytes are dropped.
	BitmapStream rgb = BitmapStream::Make(B_RGB32, 160, 160, 0, 4 * 160 + 9000);
	pixels = PixelData(WrittenPilot(rgb.Serialize(), options));
	EXPECT_EQ(pixels, Bytes(6400, 0xFF));

	// Pixels beyond the bitmap's width but within rowBytes are converted.
	BitmapStream wide = BitmapStream::Make(B_CMAP8, 1, 160, 0, 8);
	options.highContrast = false;
	pixels = PixelData(WrittenPilot(wide.Serialize(), options));
	BScreen screen(B_MAIN_SCREEN_ID);
	float residual;
	const int black = QuantizeNormal(
		ColorMapDarkness(screen.ColorMap()->color_list[0]), &residual);
	EXPECT_EQ(GreyLevel(pixels, 160, 7, 0), black);
}

// ---- Failing streams ----------------------------------------------------------

TEST(WritePilotStreams, ShortSourceStillWritesTheWholeImage)
{
	struct Case {
		uint32 colors;
		size_t rowSize;
	} cases[] = {{B_GRAY1, 20}, {B_CMAP8, 40}, {B_RGB32, 40}};
	for (const Case &c : cases) {
		for (const PilotWriteOptions &options : AllOptions()) {
			SCOPED_TRACE(Describe(options));
			BitmapStream bitmap = BitmapStream::Make(c.colors, 160, 160, 0xFF);
			Bytes input = bitmap.Serialize();
			// Five whole rows and half of the sixth.
			input.resize(32 + bitmap.rowBytes * 5 + bitmap.rowBytes / 2);
			BMallocIO destination;
			EXPECT_EQ(WritePilot(input, options, destination), B_ERROR);
			const Bytes file = BytesOf(destination);
			ExpectHeaders(file, options, c.colors == B_GRAY1 ? 0xFF : 0,
				160, 160);
			if (!options.compression) {
				EXPECT_EQ(file.size(), kPilotHeadersSize + c.rowSize * 160);
			} else {
				Bytes unpacked(c.rowSize * 160 + 1, 0x5A);
				const uint8 *cursor = file.data() + kPilotHeadersSize;
				uint8 *out = unpacked.data();
				UnpackRuns(cursor, file.data() + file.size(),
					(int32)unpacked.size(), out);
				EXPECT_EQ(cursor, file.data() + file.size());
				EXPECT_EQ((size_t)(out - unpacked.data()), c.rowSize * 160);
			}
		}
	}
}

TEST(WritePilotStreams, ShortWritesAreErrors)
{
	const Bytes input = BitmapStream::Make(B_RGB32, 160, 160, 0).Serialize();
	// Inside each of the three headers, and inside the pixel data.
	for (size_t limit : {0u, 40u, 77u, 78u, 85u, 86u, 143u, 144u, 6543u}) {
		LimitedWriteIO destination(limit);
		EXPECT_EQ(WritePilot(input, PilotWriteOptions(), destination), B_ERROR)
			<< "limit " << limit;
		EXPECT_LE(destination.BufferLength(), limit);
	}
	LimitedWriteIO enough(6544);
	EXPECT_EQ(WritePilot(input, PilotWriteOptions(), enough), B_OK);
	EXPECT_EQ(enough.WriteCalls(), 4);
}
