// Eight threads run a bounded number of mixed conversions, both ways and
// with every combination of options, while another thread keeps changing
// the stored options: through the settings view's controls in a window,
// as a user would, and through MakeConfigurationView's extension message.
// Every job's output must equal what the same job gives run alone:
//   - a job with all four options in its extension message has exactly
//     one right output, whatever the stored options are;
//   - reading a Pilot image takes no options at all;
//   - a job without an extension message uses the stored options as they
//     were when it was built, which must be one whole set: the changer only
//     ever stores the 16 combinations of three flags and two names, so its
//     output must be one of those 16 states' outputs.
// The workers keep pace with the changer: a worker's job i starts only once
// i changes have been made, so that however the threads are scheduled
// every job after the first runs while options keep changing.
// The thread sanitizer run checks that nothing is shared unguarded.
#include <string.h>

#include <atomic>
#include <iostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <CheckBox.h>
#include <TextControl.h>
#include <View.h>
#include <Window.h>

#include "HardeningSupport.h"

namespace {

const int kWorkers = 8;
const int kJobsPerWorker = 100;
// The changer stops after this many changes even if the workers have not
// finished, so that the test is bounded either way; the workers then stop
// waiting for changes.
const int kMaxChanges = 100000;

// One of the 16 option states the changer stores.
struct OptionState {
	bool compression;
	bool dithering;
	bool highContrast;
	const char *name;
};

OptionState StateNumber(int number)
{
	return OptionState{(number & 1) != 0, (number & 2) != 0,
		(number & 4) != 0, (number & 8) != 0 ? "Beta" : "Alpha"};
}

// Consecutive states of a Gray code differ in one option, so each change
// is a single control, as a user makes it.
int GrayCode(int step)
{
	return (step % 16) ^ ((step % 16) >> 1);
}

BMessage StateMessage(const OptionState &state)
{
	return ExplicitOptions(state.name, state.compression, state.dithering,
		state.highContrast);
}

// A 24 x 20 B_RGB32 picture with a different shade at every pixel, so
// that dithering, high contrast and packing all change the Pilot image.
Bytes Gradient()
{
	Bytes stream = BitmapStream(0, 0, 23, 19, 24 * 4, B_RGB32, 24 * 4 * 20,
		0);
	for (int y = 0; y < 20; y++) {
		for (int x = 0; x < 24; x++) {
			const uint8 grey = (uint8)(x * 10 + y);
			const uint8 pixel[4] = {grey, (uint8)(grey / 2), grey, 255};
			stream.insert(stream.end(), pixel, pixel + 4);
		}
	}
	return stream;
}

struct Job {
	enum Kind { kExplicit, kStored, kRead } kind;
	Bytes input;
	BMessage options;
	// Explicit and reading jobs: one output; stored-options jobs: one for
	// each state.
	std::set<Bytes> expected;
};

class MixedJobs : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }

	Outcome Run(const Job &job)
	{
		if (job.kind == Job::kRead) {
			return PilotToBitmap(fAddon, job.input);
		}
		if (job.kind == Job::kStored) {
			return BitmapToPilot(fAddon, job.input);
		}
		BMessage options(job.options);
		return BitmapToPilot(fAddon, job.input, &options);
	}

	void StoreState(int number)
	{
		BMessage state = StateMessage(StateNumber(number));
		BView *view = NULL;
		BRect extent;
		ASSERT_EQ(fAddon.Roster().MakeConfigurationView(fAddon.ID(), &state,
			&view, &extent), B_OK);
		delete view;
	}

	// Every job, with its outputs run one at a time.
	std::vector<Job> MakeJobs()
	{
		const Bytes sources[] = {Gradient(), BitmapStream(12, 10, B_CMAP8),
			BitmapStream(40, 6, B_GRAY1)};
		std::vector<Job> jobs;
		for (const Bytes &source : sources) {
			for (int flags = 0; flags < 8; flags++) {
				Job job{Job::kExplicit, source, ExplicitOptions("Explicit",
					(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0), {}};
				const Outcome outcome = Run(job);
				EXPECT_EQ(outcome.status, B_OK);
				job.expected.insert(outcome.output);
				// The Pilot images written here are read back in turn.
				if (flags == 1 || flags == 6) {
					Job read{Job::kRead, outcome.output, BMessage(), {}};
					read.expected.insert(Run(read).output);
					jobs.push_back(read);
				}
				jobs.push_back(job);
			}
			Job stored{Job::kStored, source, BMessage(), {}};
			for (int number = 0; number < 16; number++) {
				StoreState(number);
				const Outcome outcome = Run(stored);
				EXPECT_EQ(outcome.status, B_OK);
				stored.expected.insert(outcome.output);
			}
			// 1-bit pictures are neither dithered nor mapped to greys.
			EXPECT_EQ(stored.expected.size(),
				GetBE32(source, 24) == B_GRAY1 ? 4u : 16u);
			jobs.push_back(stored);
		}
		return jobs;
	}

	LoadedTranslator fAddon;
};

// Makes the one change from one state to the next: in the window, on the
// control of that option, or through a view made with an extension
// message holding the whole next state.
void ChangeOption(BWindow *window, BTranslatorRoster &roster,
	translator_id id, int step)
{
	const OptionState from = StateNumber(GrayCode(step));
	const OptionState to = StateNumber(GrayCode(step + 1));
	if (step % 3 == 2) {
		BMessage state = StateMessage(to);
		BView *view = NULL;
		BRect extent;
		roster.MakeConfigurationView(id, &state, &view, &extent);
		delete view;
		return;
	}
	window->Lock();
	if (strcmp(from.name, to.name) != 0) {
		BTextControl *name
			= dynamic_cast<BTextControl *>(window->FindView("Name"));
		name->SetText(to.name);
		name->Invoke();
	} else {
		const char *box = from.compression != to.compression ? "Compression"
			: from.dithering != to.dithering ? "Dithering" : "Contrast";
		const bool on = from.compression != to.compression ? to.compression
			: from.dithering != to.dithering ? to.dithering : to.highContrast;
		BCheckBox *control = dynamic_cast<BCheckBox *>(window->FindView(box));
		control->SetValue(on ? B_CONTROL_ON : B_CONTROL_OFF);
		control->Invoke();
	}
	window->Unlock();
}

TEST_F(MixedJobs, EveryOutputIsTheOneItsOptionsGiveAlone)
{
	const std::vector<Job> jobs = MakeJobs();
	StoreState(GrayCode(0));

	BView *view = NULL;
	BRect extent;
	ASSERT_EQ(fAddon.Roster().MakeConfigurationView(fAddon.ID(), NULL, &view,
		&extent), B_OK);
	BWindow *window = new BWindow(extent, "Settings", B_TITLED_WINDOW, 0);
	window->AddChild(view);
	window->Show();
	ASSERT_NE(window->FindView("Name"), nullptr);

	std::atomic<int> finished(0);
	std::atomic<int> wrong(0);
	std::atomic<int> done(0);
	std::atomic<int> changes(0);
	std::atomic<bool> changerStopped(false);
	std::vector<std::thread> workers;
	for (int worker = 0; worker < kWorkers; worker++) {
		workers.emplace_back([&, worker] {
			for (int i = 0; i < kJobsPerWorker; i++) {
				while (changes < i && !changerStopped) {
					std::this_thread::yield();
				}
				const Job &job = jobs[(worker * 7 + i * 5) % jobs.size()];
				const Outcome outcome = Run(job);
				if (outcome.status != B_OK
					|| job.expected.count(outcome.output) == 0) {
					wrong++;
				}
				done++;
			}
			finished++;
		});
	}
	for (int step = 0; step < kMaxChanges && finished < kWorkers; step++) {
		ChangeOption(window, fAddon.Roster(), fAddon.ID(), step);
		changes++;
		std::this_thread::yield();
	}
	changerStopped = true;
	for (std::thread &worker : workers) {
		worker.join();
	}
	window->Lock();
	window->Quit();

	EXPECT_EQ(wrong, 0);
	EXPECT_EQ(done, kWorkers * kJobsPerWorker);
	EXPECT_GE(changes, kJobsPerWorker - 1)
		<< "every worker's last job waited for this many changes";
	std::cout << done << " jobs of " << jobs.size() << " kinds in "
		<< kWorkers << " threads during " << changes << " option changes"
		<< std::endl;
}

} // namespace
