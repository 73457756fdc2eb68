// Translations in several threads while another thread keeps changing the
// options: every job must see one whole set of options, never a mix, and
// the run must be clean under the thread sanitizer.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <Message.h>
#include <TranslatorFormats.h>
#include <View.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "TestStreams.h"

namespace {


// Two complete sets of options; the changer flips between them.
BMessage OptionSet(bool first)
{
	BMessage options;
	options.AddString(PILOT_DB_NAME_SETTING,
		first ? "First set" : "Second set");
	options.AddBool(PILOT_COMPRESS_SETTING, first);
	options.AddBool(PILOT_DITHER_SETTING, first);
	options.AddBool(PILOT_CONTRAST_SETTING, !first);
	return options;
}

// A 2 x 2 grey B_RGB32 bitmap stream.
Bytes GreyBitmap()
{
	const uint8 header[32] = {'b', 'i', 't', 's', 0, 0, 0, 0, 0, 0, 0, 0,
		0x3F, 0x80, 0, 0, 0x3F, 0x80, 0, 0, 0, 0, 0, 8, 0, 0, 0, 8, 0, 0, 0,
		16};
	Bytes bytes(header, header + sizeof(header));
	bytes.insert(bytes.end(), 16, 0x80);
	return bytes;
}

class OptionsConcurrency : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }

	void ApplyOptions(bool first)
	{
		BMessage options = OptionSet(first);
		BView *view = NULL;
		BRect extent;
		ASSERT_EQ(fAddon.Roster().MakeConfigurationView(fAddon.ID(), &options,
			&view, &extent), B_OK);
		delete view;
	}

	Bytes Convert()
	{
		BMallocIO source;
		Fill(source, GreyBitmap());
		BMallocIO destination;
		translator_info info = {};
		info.type = B_TRANSLATOR_BITMAP;
		info.translator = fAddon.ID();
		fAddon.Roster().Translate(&source, &info, NULL, &destination,
			PILOT_IMAGE_TYPE);
		return BytesOf(destination);
	}

	LoadedTranslator fAddon;
};

TEST_F(OptionsConcurrency, JobsSeeOneWholeSetOfOptions)
{
	ApplyOptions(true);
	const Bytes firstOutput = Convert();
	ApplyOptions(false);
	const Bytes secondOutput = Convert();

	std::atomic<bool> stop(false);
	std::thread changer([&] {
		for (int i = 0; i < 200; i++) {
			ApplyOptions(i % 2 == 0);
		}
		stop = true;
	});

	std::atomic<int> mixed(0);
	std::vector<std::thread> workers;
	for (int t = 0; t < 4; t++) {
		workers.emplace_back([&] {
			while (!stop) {
				Bytes output = Convert();
				if (output != firstOutput && output != secondOutput) {
					mixed++;
				}
				BMessage current;
				fAddon.Roster().GetConfigurationMessage(fAddon.ID(), &current);
				const bool first = current.GetBool(PILOT_COMPRESS_SETTING,
					false);
				if (current.GetBool(PILOT_DITHER_SETTING, !first) != first
					|| current.GetBool(PILOT_CONTRAST_SETTING, first) == first
					|| std::string(current.GetString(PILOT_DB_NAME_SETTING, ""))
						!= (first ? "First set" : "Second set")) {
					mixed++;
				}
			}
		});
	}
	changer.join();
	for (std::thread &worker : workers) {
		worker.join();
	}
	EXPECT_EQ(mixed, 0);
}

} // namespace
