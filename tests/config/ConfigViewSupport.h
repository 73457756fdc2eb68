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

#include "BitmapStreamBytes.h"
#include "LoadedTranslator.h"
#include "SameBytes.h"
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

// A 16 x 16 B_RGB32 bitmap stream shading from black to white across,
// with a different shade on every row, so that dithering, high contrast
// and packing each change the Pilot image written from it.
inline Bytes GradientBitmap()
{
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(B_RGB32, 16, 16);
	for (int y = 0; y < 16; y++) {
		for (int x = 0; x < 16; x++) {
			const uint8 grey = (uint8)(x * 16 + y);
			bitmap.SetRgb(x, y, grey, grey, grey);
		}
	}
	return bitmap.Serialize();
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

	std::string StoredName()
	{
		return Options().GetString(PILOT_DB_NAME_SETTING, "?");
	}

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
			extension != NULL ? &copy : NULL, &destination,
			PILOT_IMAGE_TYPE), B_OK);
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
