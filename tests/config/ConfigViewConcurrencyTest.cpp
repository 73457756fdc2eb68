// Translations in several threads while the window's thread applies the
// changes a host makes in the settings view, and another thread makes and
// deletes views: every job must succeed with a whole name, and the run
// must be clean under the thread sanitizer.
#include <string.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ConfigViewSupport.h"
#include "../platform/interface/LooperSync.h"

namespace {

const int kRounds = 200;
const int kWorkers = 3;
// Each worker goes on at least this long, however soon the rounds end.
const int kLeastJobs = 20;

TEST_F(ConfigViewTest, JobsRunWhileTheWindowThreadChangesOptions)
{
	BRect extent;
	BView *view = MakeView(NULL, &extent);
	ASSERT_NE(view, nullptr);
	Controls controls(view);
	ASSERT_TRUE(controls.Complete());
	BWindow *window = new BWindow(extent, "Settings", B_TITLED_WINDOW, 0);
	window->AddChild(view);
	window->Show();
	window->Lock();
	controls.name->SetText("Odd");
	controls.name->Invoke();
	window->Unlock();
	WaitUntilHandled(window);

	std::atomic<bool> stop(false);
	std::atomic<int> failures(0);
	std::vector<std::thread> threads;
	for (int t = 0; t < kWorkers; t++) {
		threads.emplace_back([&] {
			for (int done = 0; !stop || done < kLeastJobs; done++) {
				const Bytes image = ToPilot(NULL);
				BMallocIO stream;
				Fill(stream, image);
				translator_info info = {};
				if (fAddon.Roster().Identify(&stream, NULL, &info) != B_OK
					|| info.type != PILOT_IMAGE_TYPE) {
					failures++;
				}
				const char *name = (const char *)image.data();
				if (image.size() < 32
					|| (strcmp(name, "Odd") != 0 && strcmp(name, "Even") != 0)) {
					failures++;
				}
				BMessage options = Options();
				const std::string stored
					= options.GetString(PILOT_DB_NAME_SETTING, "");
				if (stored != "Odd" && stored != "Even") {
					failures++;
				}
			}
		});
	}
	threads.emplace_back([&] {
		while (!stop) {
			delete MakeView();
		}
	});

	for (int round = 0; round < kRounds; round++) {
		const bool odd = round % 2 != 0;
		window->Lock();
		BCheckBox *boxes[] = {controls.compression, controls.dithering,
			controls.contrast};
		for (BCheckBox *box : boxes) {
			box->SetValue(odd ? B_CONTROL_ON : B_CONTROL_OFF);
			box->Invoke();
		}
		controls.name->SetText(odd ? "Odd" : "Even");
		controls.name->Invoke();
		window->Unlock();
	}
	WaitUntilHandled(window);
	stop = true;
	for (std::thread &thread : threads) {
		thread.join();
	}
	EXPECT_EQ(failures, 0);

	// The last round was odd: all boxes on.
	BMessage options = Options();
	EXPECT_TRUE(options.GetBool(PILOT_COMPRESS_SETTING, false));
	EXPECT_TRUE(options.GetBool(PILOT_DITHER_SETTING, false));
	EXPECT_TRUE(options.GetBool(PILOT_CONTRAST_SETTING, false));
	EXPECT_STREQ(options.GetString(PILOT_DB_NAME_SETTING, ""), "Odd");
	window->Lock();
	window->Quit();
}

} // namespace
