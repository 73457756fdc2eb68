// Written Pilot images read back through the roster: the four greys come
// back as the screen's palette indexes of white, light grey, dark grey and
// black, and 1-bit rows come back as they went in. Sixteen greys are also
// read by the peers, ImageMagick and Netpbm, as quorvel reads them.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include <ByteOrder.h>
#include <Screen.h>

#include <gtest/gtest.h>

#include "WriteHelpers.h"

namespace {

// The bitmap stream the roster makes of a Pilot file.
Bytes ReadBack(const Bytes &pilot, TranslatorBitmap *header)
{
	BMallocIO source;
	Fill(source, pilot);
	BMallocIO destination;
	EXPECT_EQ(Translator().Roster().Translate(&source, NULL, NULL,
		&destination, B_TRANSLATOR_BITMAP), B_OK);
	const Bytes stream = BytesOf(destination);
	if (stream.size() < sizeof(TranslatorBitmap)) {
		ADD_FAILURE() << "no bitmap header";
		return Bytes();
	}
	memcpy(header, stream.data(), sizeof(*header));
	swap_data(B_UINT32_TYPE, &header->magic, 4, B_SWAP_BENDIAN_TO_HOST);
	swap_data(B_RECT_TYPE, &header->bounds, 16, B_SWAP_BENDIAN_TO_HOST);
	swap_data(B_UINT32_TYPE, &header->rowBytes, 4, B_SWAP_BENDIAN_TO_HOST);
	swap_data(B_UINT32_TYPE, &header->colors, 4, B_SWAP_BENDIAN_TO_HOST);
	swap_data(B_UINT32_TYPE, &header->dataSize, 4, B_SWAP_BENDIAN_TO_HOST);
	return Bytes(stream.begin() + sizeof(TranslatorBitmap), stream.end());
}

// The first of the commands that is on the PATH, or "".
std::string FindCommand(std::initializer_list<const char *> names)
{
	for (const char *name : names) {
		const std::string probe = std::string("command -v ") + name
			+ " >/dev/null 2>&1";
		if (system(probe.c_str()) == 0) {
			return name;
		}
	}
	return "";
}

// What a shell command writes on its standard output.
Bytes OutputOf(const std::string &command)
{
	Bytes output;
	FILE *pipe = popen(command.c_str(), "r");
	if (pipe == NULL) {
		return output;
	}
	uint8 buffer[65536];
	size_t count;
	while ((count = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
		output.insert(output.end(), buffer, buffer + count);
	}
	EXPECT_EQ(pclose(pipe), 0) << command;
	return output;
}

// The sixteen-grey level (0 white .. 15 black) of an 8-bit grey.
int SixteenGreyLevel(uint8 grey)
{
	return (255 - grey + 8) / 17;
}

} // namespace

TEST(WriteRoundTrip, PeersReadSixteenGreysAsQuorvelDoes)
{
	const std::string imageMagick = FindCommand({"magick", "convert-im6.q16",
		"convert"});
	const std::string netpbm = FindCommand({"pdbimgtopam"});
	if (imageMagick.empty() || netpbm.empty()) {
		const char *ci = getenv("CI");
		if (ci != NULL && strcmp(ci, "true") == 0) {
			FAIL() << "ImageMagick and Netpbm are needed (scripts/install-deps)";
		}
		GTEST_SKIP() << "ImageMagick or Netpbm is not installed";
	}
	// Every grey in bands, dithered, on an odd width and height.
	const int width = 171;
	const int height = 163;
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(B_RGB32, width, height);
	for (int y = 0; y < height; y++) {
		for (int x = 0; x < width; x++) {
			const uint8 grey = (uint8)(255 - (x + y) * 255 / (width + height));
			bitmap.SetRgb(x, y, grey, grey, grey);
		}
	}
	BScreen screen(B_MAIN_SCREEN_ID);
	for (bool compression : {false, true}) {
		SCOPED_TRACE(compression ? "packed" : "plain");
		PilotWriteOptions options;
		options.compression = compression;
		options.dithering = true;
		options.depth = 4;
		const Bytes file = WrittenPilot(bitmap.Serialize(), options);
		TranslatorBitmap header;
		const Bytes read = ReadBack(file, &header);
		const int pilotWidth = PilotWidth(file);
		const int pilotHeight = PilotHeight(file);
		const size_t pixels = (size_t)pilotWidth * pilotHeight;
		ASSERT_EQ(read.size(), pixels);

		char path[] = "/tmp/quorvel-sixteen-XXXXXX";
		const int descriptor = mkstemp(path);
		ASSERT_GE(descriptor, 0);
		ASSERT_EQ(write(descriptor, file.data(), file.size()),
			(ssize_t)file.size());
		close(descriptor);
		const Bytes byImageMagick = OutputOf(imageMagick + " PDB:" + path
			+ " -depth 8 gray:-");
		// Netpbm's PGM: its header, then the greys.
		Bytes byNetpbm = OutputOf(netpbm + " " + path + " | pamtopnm");
		unlink(path);
		ASSERT_EQ(byImageMagick.size(), pixels);
		ASSERT_GT(byNetpbm.size(), pixels);
		byNetpbm.erase(byNetpbm.begin(), byNetpbm.end() - pixels);

		for (size_t i = 0; i < pixels; i++) {
			// Quorvel reads the sixteen greys it publishes.
			const rgb_color ours = screen.ColorForIndex(read[i]);
			const uint8 *const greys = PILOT_SIXTEEN_GREYS;
			const int ourLevel = (int)(std::find(greys, greys + 16, ours.red)
				- greys);
			ASSERT_LT(ourLevel, 16) << "grey " << (int)ours.red;
			ASSERT_EQ(SixteenGreyLevel(byImageMagick[i]), ourLevel)
				<< "ImageMagick, pixel " << i;
			ASSERT_EQ(SixteenGreyLevel(byNetpbm[i]), ourLevel)
				<< "Netpbm, pixel " << i;
		}
	}
}

TEST(WriteRoundTrip, FourGreysComeBackAsTheirPaletteIndexes)
{
	// Columns in four bands: white, light, dark and black source greys
	// (darkness 0, 75, 175 and 255: levels 0, 1, 2 and 3).
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(B_RGB32, 160, 170);
	const uint8 greys[4] = {255, 180, 80, 0};
	for (int y = 0; y < 170; y++) {
		for (int x = 0; x < 160; x++) {
			const uint8 grey = greys[x / 40];
			bitmap.SetRgb(x, y, grey, grey, grey);
		}
	}
	for (bool compression : {false, true}) {
		PilotWriteOptions options;
		options.compression = compression;
		TranslatorBitmap header;
		const Bytes pixels = ReadBack(WrittenPilot(bitmap.Serialize(),
			options), &header);
		EXPECT_EQ(header.colors, B_CMAP8);
		EXPECT_EQ(header.bounds.right, 159);
		EXPECT_EQ(header.bounds.bottom, 169);
		ASSERT_EQ(pixels.size(), (size_t)header.rowBytes * 170);
		BScreen screen(B_MAIN_SCREEN_ID);
		const uint8 levelGreys[4] = {255, 170, 85, 0};
		for (int y = 0; y < 170; y += 13) {
			for (int x = 0; x < 160; x++) {
				const uint8 grey = levelGreys[x / 40];
				ASSERT_EQ(pixels[(size_t)y * header.rowBytes + x],
					screen.IndexForColor(grey, grey, grey))
					<< "x " << x << ", y " << y;
			}
		}
	}
}

TEST(WriteRoundTrip, OneBitRowsComeBackUnchanged)
{
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(B_GRAY1, 176, 200);
	for (size_t i = 0; i < bitmap.rows.size(); i++) {
		bitmap.rows[i] = (uint8)(i * 29 + i / 7);
	}
	for (bool compression : {false, true}) {
		PilotWriteOptions options;
		options.compression = compression;
		TranslatorBitmap header;
		const Bytes rows = ReadBack(WrittenPilot(bitmap.Serialize(), options),
			&header);
		EXPECT_EQ(header.colors, B_GRAY1);
		EXPECT_EQ(header.rowBytes, 22u);
		EXPECT_BYTES(rows, bitmap.rows);
	}
}
