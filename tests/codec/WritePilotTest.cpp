// Writing Pilot images through the roster: the size and bytes of what is
// written, and what a failing stream gets. Refusals are HeaderCheckTest's.
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

} // namespace

// Bounds 0, 0, 159.5, 99.9 make a 160 x 100 bitmap: exactly rows 0 .. 99
// are read (a 101st read would come short and fail the call).
TEST(WritePilotSize, FractionalBounds)
{
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(B_RGB32, 160, 100);
	bitmap.right = 159.5f;
	bitmap.bottom = 99.9f;
	const Bytes file = WrittenPilot(bitmap.Serialize(), PilotWriteOptions());
	ASSERT_FALSE(file.empty());
	EXPECT_EQ(PilotWidth(file), 160);
	EXPECT_EQ(PilotHeight(file), 160);
}

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
	EXPECT_EQ(WritePilot(BitmapStreamBytes::Make(B_RGB32, width, 1)
		.Serialize(), &extension, destination), B_OK);
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
	ASSERT_EQ(WritePilot(BitmapStreamBytes::Make(B_GRAY1, 200, 1).Serialize(),
		(BMessage *)NULL, destination), B_OK);
	EXPECT_TRUE(LooksGenerated(PilotName(BytesOf(destination)),
		" (208 x 160)"));
}

namespace {

// The headers as the format lays them out (PilotImageBytes.h).
void ExpectHeaders(const Bytes &file, const PilotWriteOptions &options,
	uint8 pixelType, int width, int height)
{
	PilotBytes want;
	want.name = options.name;
	want.packing = options.compression ? 1 : 0;
	want.pixelType = pixelType;
	want.width = (int16)width;
	want.height = (int16)height;
	ASSERT_GE(file.size(), kPilotHeadersSize);
	EXPECT_BYTES(Bytes(file.begin(), file.begin() + kPilotHeadersSize),
		want.Build());
}

} // namespace

TEST(WritePilotBytes, OnePixelWhiteAndBlack)
{
	for (const PilotWriteOptions &options : AllOptions()) {
		SCOPED_TRACE(Describe(options));
		const Bytes white = WrittenPilot(
			BitmapStreamBytes::Make(B_RGB32, 1, 1, 255).Serialize(), options);
		ExpectHeaders(white, options, 0x00, 160, 160);
		const Bytes black = WrittenPilot(
			BitmapStreamBytes::Make(B_RGB32, 1, 1, 0).Serialize(), options);
		ExpectHeaders(black, options, 0x00, 160, 160);
		if (options.compression) {
			EXPECT_EQ(white.size(), 244u);
			EXPECT_BYTES(PixelData(white), Repeat({255, 0}, 50));
			EXPECT_BYTES(PixelData(black), Concat({{0, 0xC0},
				Repeat({255, 0}, 49), {254, 0}}));
		} else {
			EXPECT_EQ(white.size(), 6544u);
			EXPECT_BYTES(PixelData(white), Bytes(6400, 0));
			Bytes pixels(6400, 0);
			pixels[0] = 0xC0;
			EXPECT_BYTES(PixelData(black), pixels);
		}

		// 1-bit: the bitmap's byte as it stands, the rest 0.
		const Bytes dot = WrittenPilot(
			BitmapStreamBytes::Make(B_GRAY1, 1, 1, 0x80).Serialize(), options);
		ExpectHeaders(dot, options, 0xFF, 160, 160);
		if (options.compression) {
			EXPECT_BYTES(PixelData(dot), Concat({{0, 0x80},
				Repeat({255, 0}, 24), {254, 0}}));
		} else {
			Bytes pixels(3200, 0);
			pixels[0] = 0x80;
			EXPECT_BYTES(PixelData(dot), pixels);
			EXPECT_EQ(dot.size(), 3344u);
		}
	}
}

TEST(WritePilotBytes, MidGreyPlainAndDithered)
{
	const Bytes input = BitmapStreamBytes::Make(B_RGB32, 160, 160, 128)
		.Serialize();
	PilotWriteOptions options;
	EXPECT_BYTES(PixelData(WrittenPilot(input, options)), Bytes(6400, 0x55));

	for (bool highContrast : {false, true}) {
		options.dithering = true;
		options.highContrast = highContrast;
		const Bytes pixels = PixelData(WrittenPilot(input, options));
		ASSERT_EQ(pixels.size(), 6400u);
		EXPECT_BYTES(Bytes(pixels.begin(), pixels.begin() + 40),
			Bytes(40, 0x66)) << "high contrast " << highContrast;
		EXPECT_BYTES(Bytes(pixels.begin() + 40, pixels.begin() + 80),
			Bytes(40, 0x99)) << "high contrast " << highContrast;
	}
}

TEST(WritePilotPadding, RowsBelowTheBitmap)
{
	PilotWriteOptions options;
	// 1-bit: rows 100 .. 159 are 0 bytes.
	Bytes pixels = PixelData(WrittenPilot(
		BitmapStreamBytes::Make(B_GRAY1, 160, 100, 0xFF).Serialize(), options));
	ASSERT_EQ(pixels.size(), 3200u);
	EXPECT_BYTES(Bytes(pixels.begin(), pixels.begin() + 2000),
		Bytes(2000, 0xFF));
	EXPECT_BYTES(Bytes(pixels.begin() + 2000, pixels.end()), Bytes(1200, 0));

	// RGB32: white, level 0.
	pixels = PixelData(WrittenPilot(
		BitmapStreamBytes::Make(B_RGB32, 160, 100, 0).Serialize(), options));
	ASSERT_EQ(pixels.size(), 6400u);
	EXPECT_BYTES(Bytes(pixels.begin(), pixels.begin() + 4000),
		Bytes(4000, 0xFF));
	EXPECT_BYTES(Bytes(pixels.begin() + 4000, pixels.end()), Bytes(2400, 0));

	// CMAP8: colour-map entry 255, and columns beyond the bitmap likewise.
	BScreen screen(B_MAIN_SCREEN_ID);
	float residual;
	const uint8 level = QuantizeNormal(
		ColorMapDarkness(screen.ColorMap()->color_list[255]), &residual);
	const uint8 byte = (uint8)(level * 0x55);
	pixels = PixelData(WrittenPilot(
		BitmapStreamBytes::Make(B_CMAP8, 4, 100, 255).Serialize(), options));
	EXPECT_BYTES(pixels, Bytes(6400, byte));
}

// Rows padded beyond the room in a Pilot row lose only their padding, and
// nothing is written outside a buffer (the sanitizer build checks that).
TEST(WritePilotPadding, SourceRowsLongerThanThePilotRow)
{
	PilotWriteOptions options;
	// 170 wide 1-bit rows padded to 24 bytes; Pilot rows are 22 bytes.
	BitmapStreamBytes mono = BitmapStreamBytes::Make(B_GRAY1, 170, 160,
		0xAA, 24);
	for (int y = 0; y < 160; y++) {
		mono.Pixel(22, y)[0] = 0x11;
		mono.Pixel(23, y)[0] = 0x22;
	}
	Bytes pixels = PixelData(WrittenPilot(mono.Serialize(), options));
	EXPECT_BYTES(pixels, Bytes(22 * 160, 0xAA));

	// The same with fewer rows: the padding does not reach the rows below.
	mono = BitmapStreamBytes::Make(B_GRAY1, 170, 10, 0xAA, 24);
	mono.Pixel(22, 9)[0] = 0x11;
	pixels = PixelData(WrittenPilot(mono.Serialize(), options));
	EXPECT_BYTES(Bytes(pixels.begin() + 220, pixels.end()), Bytes(22 * 150, 0));

	// RGB32 rows of more than 4 x W bytes: the extra bytes are dropped.
	BitmapStreamBytes rgb = BitmapStreamBytes::Make(B_RGB32, 160, 160, 0,
		4 * 160 + 9000);
	pixels = PixelData(WrittenPilot(rgb.Serialize(), options));
	EXPECT_BYTES(pixels, Bytes(6400, 0xFF));

	// Pixels beyond the bitmap's width but within rowBytes are converted.
	BitmapStreamBytes wide = BitmapStreamBytes::Make(B_CMAP8, 1, 160, 0, 8);
	options.highContrast = false;
	pixels = PixelData(WrittenPilot(wide.Serialize(), options));
	BScreen screen(B_MAIN_SCREEN_ID);
	float residual;
	const int black = QuantizeNormal(
		ColorMapDarkness(screen.ColorMap()->color_list[0]), &residual);
	EXPECT_EQ(GreyLevel(pixels, 160, 7, 0), black);
}

TEST(WritePilotStreams, ShortSourceStillWritesTheWholeImage)
{
	struct Case {
		uint32 colors;
		size_t rowSize;
	} cases[] = {{B_GRAY1, 20}, {B_CMAP8, 40}, {B_RGB32, 40}};
	for (const Case &c : cases) {
		for (const PilotWriteOptions &options : AllOptions()) {
			SCOPED_TRACE(Describe(options));
			BitmapStreamBytes bitmap = BitmapStreamBytes::Make(c.colors, 160,
				160, 0xFF);
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
	const Bytes input = BitmapStreamBytes::Make(B_RGB32, 160, 160)
		.Serialize();
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
