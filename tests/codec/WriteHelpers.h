// Bitmap streams to feed the Pilot writer, and the writer reached through
// the roster as an application reaches it.
#ifndef QUORVEL_TEST_WRITE_HELPERS_H
#define QUORVEL_TEST_WRITE_HELPERS_H

#include <string.h>

#include <string>

#include <Message.h>
#include <TranslatorFormats.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "TestStreams.h"

const size_t kPilotHeadersSize = 78 + 8 + 58;

// A bitmap stream: the big-endian header and then the rows as given.
struct BitmapStream {
	uint32 magic = B_TRANSLATOR_BITMAP;
	float left = 0;
	float top = 0;
	float right = 0;
	float bottom = 0;
	uint32 rowBytes = 4;
	uint32 colors = B_RGB32;
	uint32 dataSize = 0;
	Bytes rows;

	// A width x height bitmap with rows of rowBytes bytes (0: the least
	// for the colour space), every byte set to fill.
	static BitmapStream Make(uint32 colors, int width, int height,
		uint8 fill = 0, uint32 rowBytes = 0)
	{
		BitmapStream bitmap;
		bitmap.colors = colors;
		bitmap.right = (float)(width - 1);
		bitmap.bottom = (float)(height - 1);
		if (rowBytes == 0) {
			rowBytes = colors == B_GRAY1 ? (width + 7) / 8
				: colors == B_CMAP8 ? width : 4 * width;
		}
		bitmap.rowBytes = rowBytes;
		bitmap.dataSize = rowBytes * height;
		bitmap.rows.assign((size_t)rowBytes * height, fill);
		return bitmap;
	}

	uint8 *Pixel(int x, int y)
	{
		const size_t size = colors == B_RGB32 ? 4 : 1;
		return rows.data() + (size_t)y * rowBytes + x * size;
	}

	void SetRgb(int x, int y, uint8 red, uint8 green, uint8 blue)
	{
		uint8 *p = Pixel(x, y);
		p[0] = blue;
		p[1] = green;
		p[2] = red;
		p[3] = 255;
	}

	Bytes Serialize() const
	{
		Bytes bytes;
		PutBE32(bytes, magic);
		PutFloat(bytes, left);
		PutFloat(bytes, top);
		PutFloat(bytes, right);
		PutFloat(bytes, bottom);
		PutBE32(bytes, rowBytes);
		PutBE32(bytes, colors);
		PutBE32(bytes, dataSize);
		bytes.insert(bytes.end(), rows.begin(), rows.end());
		return bytes;
	}

	static void PutBE32(Bytes &bytes, uint32 value)
	{
		for (int shift = 24; shift >= 0; shift -= 8) {
			bytes.push_back((uint8)(value >> shift));
		}
	}

	static void PutFloat(Bytes &bytes, float value)
	{
		uint32 bits;
		memcpy(&bits, &value, sizeof(bits));
		PutBE32(bytes, bits);
	}
};

// The options of one call, as an extension message.
struct PilotWriteOptions {
	bool compression = false;
	bool dithering = false;
	bool highContrast = false;
	std::string name = "test";

	void FillMessage(BMessage &message) const
	{
		message.AddString(PILOT_DB_NAME_SETTING, name.c_str());
		message.AddBool(PILOT_COMPRESS_SETTING, compression);
		message.AddBool(PILOT_DITHER_SETTING, dithering);
		message.AddBool(PILOT_CONTRAST_SETTING, highContrast);
	}
};

// The add-on, loaded once per test program.
inline LoadedTranslator &Translator()
{
	static LoadedTranslator translator;
	return translator;
}

// Translate from 'bits' to 'PPiv' through the roster, with the message as
// the extension (NULL for none).
inline status_t WritePilot(const Bytes &input, BMessage *extension,
	BPositionIO &destination)
{
	EXPECT_EQ(Translator().InitCheck(), B_OK);
	BMallocIO source;
	Fill(source, input);
	translator_info info;
	memset(&info, 0, sizeof(info));
	info.type = B_TRANSLATOR_BITMAP;
	info.translator = Translator().ID();
	info.group = B_TRANSLATOR_BITMAP;
	return Translator().Roster().Translate(&source, &info, extension,
		&destination, PILOT_IMAGE_TYPE);
}

inline status_t WritePilot(const Bytes &input, const PilotWriteOptions &options,
	BPositionIO &destination)
{
	BMessage extension;
	options.FillMessage(extension);
	return WritePilot(input, &extension, destination);
}

// The written file, or an empty one when the call did not return expected.
inline Bytes WrittenPilot(const Bytes &input, const PilotWriteOptions &options,
	status_t expected = B_OK)
{
	BMallocIO destination;
	const status_t status = WritePilot(input, options, destination);
	EXPECT_EQ(status, expected);
	return status == expected ? BytesOf(destination) : Bytes();
}

inline int16 PilotWidth(const Bytes &file)
{
	return (int16)((file.at(86 + 54) << 8) | file.at(86 + 55));
}

inline int16 PilotHeight(const Bytes &file)
{
	return (int16)((file.at(86 + 56) << 8) | file.at(86 + 57));
}

inline std::string PilotName(const Bytes &file)
{
	return std::string((const char *)file.data(),
		strnlen((const char *)file.data(), 32));
}

inline Bytes PixelData(const Bytes &file)
{
	return file.size() < kPilotHeadersSize ? Bytes()
		: Bytes(file.begin() + kPilotHeadersSize, file.end());
}

// The level (0..3) of pixel x in row y of four-grey pixel data.
inline int GreyLevel(const Bytes &pixels, int width, int x, int y)
{
	const uint8 byte = pixels.at((size_t)y * (width / 4) + x / 4);
	return (byte >> (6 - 2 * (x % 4))) & 3;
}

#endif // QUORVEL_TEST_WRITE_HELPERS_H
