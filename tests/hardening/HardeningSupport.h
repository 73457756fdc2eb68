// What the hardening tests share: the two conversions run through the
// roster-loaded add-on, with the checks every outcome must pass whatever
// the input. Inputs come from the shared builders (PilotImageBytes.h,
// BitmapStreamBytes.h).
#ifndef QUORVEL_TEST_HARDENING_SUPPORT_H
#define QUORVEL_TEST_HARDENING_SUPPORT_H

#include <string.h>

#include <string>

#include <DataIO.h>
#include <Message.h>
#include <TranslatorFormats.h>

#include <gtest/gtest.h>

#include "BitmapStreamBytes.h"
#include "LoadedTranslator.h"
#include "PilotImageBytes.h"
#include "TestStreams.h"

// A bitmap stream header as given, then pixelBytes bytes of pattern.
inline Bytes BitmapStream(float left, float top, float right, float bottom,
	uint32 rowBytes, uint32 colors, uint32 dataSize, size_t pixelBytes)
{
	BitmapStreamBytes stream = BitmapStreamBytes::Header(left, top, right,
		bottom, rowBytes, colors, dataSize);
	stream.rows = PatternBytes(pixelBytes, 11);
	return stream.Serialize();
}

// A whole, consistent stream of width x height pixels.
inline Bytes BitmapStream(int width, int height, uint32 colors)
{
	return BitmapStreamBytes::Patterned(colors, width, height).Serialize();
}

// The extension message of a job with all four options given.
inline BMessage ExplicitOptions(const char *name, bool compression,
	bool dithering, bool highContrast)
{
	BMessage options;
	options.AddString(PILOT_DB_NAME_SETTING, name);
	options.AddBool(PILOT_COMPRESS_SETTING, compression);
	options.AddBool(PILOT_DITHER_SETTING, dithering);
	options.AddBool(PILOT_CONTRAST_SETTING, highContrast);
	return options;
}

struct Outcome {
	status_t status;
	Bytes output;
};

// A Pilot image to a bitmap stream, as an application asks: the add-on
// identifies the stream itself.
inline Outcome PilotToBitmap(LoadedTranslator &addon, const Bytes &input)
{
	BMemoryIO source(input.data(), input.size());
	BMallocIO destination;
	const status_t status = addon.Roster().Translate(addon.ID(), &source,
		NULL, &destination, B_TRANSLATOR_BITMAP);
	return Outcome{status, BytesOf(destination)};
}

// A bitmap stream to a Pilot image, as a host that knows the stream's type
// asks: no Identify first, so streams it would refuse are written too.
inline Outcome BitmapToPilot(LoadedTranslator &addon, const Bytes &input,
	BMessage *extension = NULL)
{
	BMemoryIO source(input.data(), input.size());
	BMallocIO destination;
	translator_info info = {};
	info.type = B_TRANSLATOR_BITMAP;
	info.translator = addon.ID();
	const status_t status = addon.Roster().Translate(&source, &info,
		extension, &destination, PILOT_IMAGE_TYPE);
	return Outcome{status, BytesOf(destination)};
}

// What every reading outcome must be, whatever the input: a refusal that
// wrote nothing, or a bitmap stream exactly as long as its header says.
// Nothing can be short: the destination takes everything.
inline void ExpectCleanReading(const Outcome &outcome,
	const std::string &what)
{
	if (outcome.status == B_NO_TRANSLATOR) {
		EXPECT_TRUE(outcome.output.empty()) << what;
		return;
	}
	ASSERT_EQ(outcome.status, B_OK) << what;
	ASSERT_GE(outcome.output.size(), kBitmapHeaderBytes) << what;
	EXPECT_EQ(outcome.output.size(),
		kBitmapHeaderBytes + GetBE32(outcome.output, 28)) << what;
}

// What every writing outcome must be: a refusal that wrote nothing; B_OK
// with a Pilot image that the add-on reads back; or B_ERROR for a source
// that ended inside its rows, after the headers and the pixel data.
inline void ExpectCleanWriting(LoadedTranslator &addon,
	const Outcome &outcome, const std::string &what)
{
	switch (outcome.status) {
		case B_NO_TRANSLATOR:
			EXPECT_TRUE(outcome.output.empty()) << what;
			break;
		case B_OK: {
			const Outcome back = PilotToBitmap(addon, outcome.output);
			EXPECT_EQ(back.status, B_OK) << what;
			ExpectCleanReading(back, what);
			break;
		}
		case B_ERROR:
			EXPECT_GT(outcome.output.size(), kPilotHeadersSize) << what;
			break;
		default:
			ADD_FAILURE() << what << ": status " << outcome.status;
	}
}

#endif // QUORVEL_TEST_HARDENING_SUPPORT_H
