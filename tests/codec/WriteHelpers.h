// The Pilot writer reached through the roster as an application reaches
// it, and the parts of what it writes.
#ifndef QUORVEL_TEST_WRITE_HELPERS_H
#define QUORVEL_TEST_WRITE_HELPERS_H

#include <string.h>

#include <string>

#include <Message.h>
#include <TranslatorFormats.h>

#include <gtest/gtest.h>

#include "BitmapStreamBytes.h"
#include "LoadedTranslator.h"
#include "PilotImageBytes.h"
#include "SameBytes.h"
#include "TestStreams.h"

// The options of one call, as an extension message.
struct PilotWriteOptions {
	bool compression = false;
	bool dithering = false;
	bool highContrast = false;
	std::string name = "test";
	// PILOT_DEPTH_OPTION's value; below 0, none is given.
	int32 depth = -1;

	void FillMessage(BMessage &message) const
	{
		if (depth >= 0) {
			message.AddInt32(PILOT_DEPTH_OPTION, depth);
		}
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

// Translate from a bitmap stream to a Pilot image through the roster,
// with the message as the extension (NULL for none).
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
