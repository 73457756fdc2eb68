// The add-on's settings view as a host meets it: made through the roster,
// its controls found by name, its effect read back through the roster's
// configuration message and through the Pilot images later jobs write.
#ifndef QUORVEL_TEST_CONFIG_VIEW_SUPPORT_H
#define QUORVEL_TEST_CONFIG_VIEW_SUPPORT_H

#include <string.h>

#include <string>

#include <CheckBox.h>
#include <Message.h>
#include <TextControl.h>
#include <TextView.h>
#include <TranslatorFormats.h>
#include <Window.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "TestStreams.h"


// The settings view's controls, found by name as a host finds them.
struct Controls {
	BTextControl *name;
	BCheckBox *compression;
	BCheckBox *dithering;
	BCheckBox *contrast;

	explicit Controls(const BView *view)
		: name(dynamic_cast<BTextControl *>(view->FindView("Name"))),
		  compression(dynamic_cast<BCheckBox *>(view->FindView("Compression"))),
		  dithering(dynamic_cast<BCheckBox *>(view->FindView("Dithering"))),
		  contrast(dynamic_cast<BCheckBox *>(view->FindView("Contrast")))
	{
	}

	bool Complete() const
	{
		return name != NULL && compression != NULL && dithering != NULL
			&& contrast != NULL;
	}
};

inline void PutBE32(Bytes &bytes, uint32 value)
{
	for (int shift = 24; shift >= 0; shift -= 8) {
		bytes.push_back((uint8)(value >> shift));
	}
}

// A 16 x 16 B_RGB32 bitmap stream shading from black to white across,
// with a different shade on every row, so that dithering, high contrast
// and packing each change the Pilot image written from it.
inline Bytes GradientBitmap()
{
	const int size = 16;
	Bytes bytes;
	PutBE32(bytes, B_TRANSLATOR_BITMAP);
	const float bounds[4] = {0, 0, size - 1, size - 1};
	for (float coordinate : bounds) {
		uint32 bits;
		memcpy(&bits, &coordinate, sizeof(bits));
		PutBE32(bytes, bits);
	}
	PutBE32(bytes, 4 * size);
	PutBE32(bytes, B_RGB32);
	PutBE32(bytes, 4 * size * size);
	for (int y = 0; y < size; y++) {
		for (int x = 0; x < size; x++) {
			const uint8 grey = (uint8)(x * 16 + y);
			const uint8 pixel[4] = {grey, grey, grey, 255};
			bytes.insert(bytes.end(), pixel, pixel + 4);
		}
	}
	return bytes;
}

class ConfigViewTest : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }

	// A new settings view, and its extent; the caller owns the view.
	BView *MakeView(BMessage *extension = NULL, BRect *extent = NULL)
	{
		BView *view = NULL;
		BRect ignored;
		EXPECT_EQ(fAddon.Roster().MakeConfigurationView(fAddon.ID(),
			extension, &view, extent != NULL ? extent : &ignored), B_OK);
		return view;
	}

	BMessage Options()
	{
		BMessage options;
		EXPECT_EQ(fAddon.Roster().GetConfigurationMessage(fAddon.ID(),
			&options), B_OK);
		return options;
	}

	std::string StoredName() { return Options().GetString(PILOT_DB_NAME_SETTING, "?"); }

	// The Pilot image a job writes from the gradient with the stored
	// options, overridden by extension.
	Bytes ToPilot(const BMessage *extension)
	{
		BMallocIO source;
		Fill(source, GradientBitmap());
		BMallocIO destination;
		translator_info info = {};
		info.type = B_TRANSLATOR_BITMAP;
		info.translator = fAddon.ID();
		BMessage copy;
		if (extension != NULL) {
			copy = *extension;
		}
		EXPECT_EQ(fAddon.Roster().Translate(&source, &info,
			extension != NULL ? &copy : NULL, &destination, PILOT_IMAGE_TYPE), B_OK);
		return BytesOf(destination);
	}

	// The same with a fixed database name, so that images compare byte
	// for byte (an empty name is made up anew for each image), and
	// optionally one option overridden for this job only.
	Bytes NamedPilot(const char *key = NULL, bool value = false)
	{
		BMessage extension;
		extension.AddString(PILOT_DB_NAME_SETTING, "Fixed");
		if (key != NULL) {
			extension.AddBool(key, value);
		}
		return ToPilot(&extension);
	}

	LoadedTranslator fAddon;
};

#endif // QUORVEL_TEST_CONFIG_VIEW_SUPPORT_H
