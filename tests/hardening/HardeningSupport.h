// What the hardening tests share: bitmap streams built byte by byte, as an
// outside program would write them (Pilot images are PilotImageBytes.h's),
// the two conversions run through the roster-loaded add-on with the checks every
// outcome must pass, whatever the input.
#ifndef QUORVEL_TEST_HARDENING_SUPPORT_H
#define QUORVEL_TEST_HARDENING_SUPPORT_H

#include <string.h>

#include <string>

#include <DataIO.h>
#include <Message.h>
#include <TranslatorFormats.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "PilotImageBytes.h"
#include "TestStreams.h"

const size_t kBitmapHeaderSize = 32;

inline uint32 GetBE32(const Bytes &bytes, size_t at)
{
	return (uint32)bytes[at] << 24 | (uint32)bytes[at + 1] << 16
		| (uint32)bytes[at + 2] << 8 | bytes[at + 3];
}

// Bytes that look like a picture: runs of zeros among varied bytes, so that
// packing makes both kinds of run.
inline Bytes PatternBytes(size_t size, int seed)
{
	Bytes bytes(size);
	for (size_t i = 0; i < size; i++) {
		bytes[i] = (uint8)((i / 5 % 3 == 0) ? 0 : i * seed + i / 7);
	}
	return bytes;
}

inline uint32 FloatBits(float value)
{
	uint32 bits;
	memcpy(&bits, &value, sizeof(bits));
	return bits;
}

// A bitmap stream header as given, then pixelBytes bytes of pattern.
inline Bytes BitmapStream(float left, float top, float right, float bottom,
	uint32 rowBytes, uint32 colors, uint32 dataSize, size_t pixelBytes)
{
	Bytes stream(kBitmapHeaderSize);
	PutBE32(stream, 0, B_TRANSLATOR_BITMAP);
	PutBE32(stream, 4, FloatBits(left));
	PutBE32(stream, 8, FloatBits(top));
	PutBE32(stream, 12, FloatBits(right));
	PutBE32(stream, 16, FloatBits(bottom));
	PutBE32(stream, 20, rowBytes);
	PutBE32(stream, 24, colors);
	PutBE32(stream, 28, dataSize);
	const Bytes pixels = PatternBytes(pixelBytes, 11);
	stream.insert(stream.end(), pixels.begin(), pixels.end());
	return stream;
}

// A whole, consistent stream of width x height pixels.
inline Bytes BitmapStream(int width, int height, uint32 colors)
{
	const uint32 rowBytes = colors == B_GRAY1 ? (width + 7) / 8
		: colors == B_CMAP8 ? width : width * 4;
	return BitmapStream(0, 0, width - 1, height - 1, rowBytes, colors,
		rowBytes * height, (size_t)rowBytes * height);
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
	ASSERT_GE(outcome.output.size(), kBitmapHeaderSize) << what;
	EXPECT_EQ(outcome.output.size(),
		kBitmapHeaderSize + GetBE32(outcome.output, 28)) << what;
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
