// Written Pilot images read back through the roster: the four greys come
// back as the screen's palette indexes of white, light grey, dark grey and
// black, and 1-bit rows come back as they went in.
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

} // namespace

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
