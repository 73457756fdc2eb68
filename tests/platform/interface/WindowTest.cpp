// The window's thread: messages reach their handlers in order, in that
// thread, with the window locked; Quit from another thread lets earlier
// messages through and returns once the window is gone; views are
// detached when the window quits.
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <AppDefs.h>
#include <Message.h>
#include <View.h>
#include <Window.h>

#include <gtest/gtest.h>

#include "LooperSync.h"

namespace {

// What a handler saw: each message's code, whether it came in the
// window's thread and with the window locked.
struct Log {
	std::mutex mutex;
	std::vector<uint32> codes;
	bool allInWindowThread = true;
	bool allLocked = true;

	void Add(BLooper *looper, uint32 code)
	{
		std::lock_guard<std::mutex> guard(mutex);
		codes.push_back(code);
		allInWindowThread &= looper->Thread() == (thread_id)gettid();
		allLocked &= looper->IsLocked();
	}
};

class RecordingHandler : public BHandler {
public:
	explicit RecordingHandler(Log *log) : fLog(log) {}
	void MessageReceived(BMessage *message) override
	{
		fLog->Add(Looper(), message->what);
	}

private:
	Log *fLog;
};

class TestWindow : public BWindow {
public:
	TestWindow(std::atomic<bool> *deleted, bool allowQuit = true)
		: BWindow(BRect(10, 10, 109, 59), "Test", B_TITLED_WINDOW, 0),
		  fDeleted(deleted), fAllowQuit(allowQuit)
	{
	}
	~TestWindow() override { *fDeleted = true; }
	bool QuitRequested() override { return fAllowQuit; }

private:
	std::atomic<bool> *fDeleted;
	bool fAllowQuit;
};

// Records the detach hooks; they must run with the window still known.
class DetachView : public BView {
public:
	DetachView(std::vector<std::string> *events)
		: BView(BRect(0, 0, 9, 9), "detach", B_FOLLOW_NONE, 0),
		  fEvents(events)
	{
	}
	void AllDetached() override
	{
		fEvents->push_back(Window() != NULL ? "detached in window"
			: "detached without window");
	}
	~DetachView() override { fEvents->push_back("deleted"); }

private:
	std::vector<std::string> *fEvents;
};

TEST(Window, DispatchesInOrderInItsOwnThreadWithTheLockHeld)
{
	std::atomic<bool> deleted(false);
	TestWindow *window = new TestWindow(&deleted);
	Log log;
	RecordingHandler handler(&log);
	window->AddHandler(&handler);
	// Posted before the thread runs: they wait in the queue.
	for (uint32 code = 1; code <= 50; code++) {
		BMessage message(code);
		ASSERT_EQ(window->PostMessage(&message, &handler), B_OK);
	}
	window->Show();
	EXPECT_NE(window->Thread(), (thread_id)gettid());
	for (uint32 code = 51; code <= 100; code++) {
		BMessage message(code);
		ASSERT_EQ(window->PostMessage(&message, &handler), B_OK);
	}
	WaitUntilHandled(window);

	std::vector<uint32> expected;
	for (uint32 code = 1; code <= 100; code++) {
		expected.push_back(code);
	}
	EXPECT_EQ(log.codes, expected);
	EXPECT_TRUE(log.allInWindowThread);
	EXPECT_TRUE(log.allLocked);

	window->Lock();
	window->RemoveHandler(&handler);
	window->Quit();
	EXPECT_TRUE(deleted);
}

TEST(Window, QuitFromAnotherThreadHandlesEarlierMessagesThenDeletes)
{
	std::atomic<bool> deleted(false);
	TestWindow *window = new TestWindow(&deleted);
	window->Show();
	Log log;
	RecordingHandler handler(&log);
	// The window is locked over the whole burst, so the messages are
	// still queued when Quit is called.
	window->Lock();
	window->AddHandler(&handler);
	for (uint32 code = 1; code <= 20; code++) {
		BMessage message(code);
		window->PostMessage(&message, &handler);
	}
	window->Lock();  // held twice: Quit gives up every hold
	window->Quit();
	EXPECT_TRUE(deleted);
	EXPECT_EQ(log.codes.size(), 20u);
}

TEST(Window, QuitRequestedMessageQuitsOnlyWhenAllowed)
{
	std::atomic<bool> refusedDeleted(false);
	TestWindow *refusing = new TestWindow(&refusedDeleted, false);
	refusing->Show();
	refusing->PostMessage(B_QUIT_REQUESTED);
	WaitUntilHandled(refusing);
	EXPECT_FALSE(refusedDeleted);
	refusing->Lock();
	refusing->Quit();
	EXPECT_TRUE(refusedDeleted);

	// Quit in the window's own thread: the thread deletes the window and
	// ends on its own.
	std::atomic<bool> deleted(false);
	TestWindow *window = new TestWindow(&deleted);
	window->Show();
	window->PostMessage(B_QUIT_REQUESTED);
	for (int i = 0; i < 2000 && !deleted; i++) {
		usleep(1000);
	}
	EXPECT_TRUE(deleted);
}

TEST(Window, IsLockedByItsMakerUntilShown)
{
	std::atomic<bool> deleted(false);
	TestWindow *window = new TestWindow(&deleted);
	EXPECT_TRUE(window->IsLocked());
	EXPECT_EQ(window->Thread(), -1);
	window->Show();
	EXPECT_FALSE(window->IsLocked());
	status_t other = B_ERROR;
	std::thread([&] {
		other = window->LockWithTimeout(1000000);
		window->Unlock();
	}).join();
	EXPECT_EQ(other, B_OK);
	// Recursive in one thread.
	ASSERT_TRUE(window->Lock());
	ASSERT_TRUE(window->Lock());
	EXPECT_EQ(window->CountLocks(), 2);
	window->Unlock();
	window->Quit();
	EXPECT_TRUE(deleted);
}

TEST(Window, DropsMessagesForRemovedOrForeignHandlers)
{
	std::atomic<bool> deleted(false);
	TestWindow *window = new TestWindow(&deleted);
	Log log;
	RecordingHandler removed(&log);
	RecordingHandler foreign(&log);
	window->AddHandler(&removed);
	BMessage message('gone');
	window->PostMessage(&message, &removed);
	window->RemoveHandler(&removed);
	EXPECT_EQ(window->PostMessage(&message, &foreign), B_MISMATCHED_VALUES);
	EXPECT_EQ(window->PostMessage(&message, &removed), B_MISMATCHED_VALUES);
	window->Show();
	WaitUntilHandled(window);
	EXPECT_TRUE(log.codes.empty());
	window->Lock();
	window->Quit();
}

TEST(Window, QuitDetachesTheViewsInTheWindowThenDeletesThem)
{
	std::vector<std::string> events;
	std::atomic<bool> deleted(false);
	TestWindow *window = new TestWindow(&deleted);
	window->AddChild(new DetachView(&events));
	window->Show();
	window->Lock();
	window->Quit();
	EXPECT_EQ(events, (std::vector<std::string>{"detached in window",
		"deleted"}));

	// A window never shown quits in the calling thread, the same way.
	events.clear();
	window = new TestWindow(&deleted);
	window->AddChild(new DetachView(&events));
	window->Quit();
	EXPECT_EQ(events, (std::vector<std::string>{"detached in window",
		"deleted"}));
}

TEST(Window, RemovedViewSurvivesTheWindow)
{
	std::vector<std::string> events;
	std::atomic<bool> deleted(false);
	TestWindow *window = new TestWindow(&deleted);
	DetachView *view = new DetachView(&events);
	window->AddChild(view);
	EXPECT_EQ(window->FindView("detach"), view);
	EXPECT_TRUE(window->RemoveChild(view));
	EXPECT_EQ(window->CountChildren(), 0);
	EXPECT_EQ(view->Window(), nullptr);
	EXPECT_EQ(view->Looper(), nullptr);
	window->Quit();
	EXPECT_EQ(events, std::vector<std::string>{"detached in window"});
	delete view;
}

TEST(Window, ResizingTheWindowResizesItsViews)
{
	std::atomic<bool> deleted(false);
	TestWindow *window = new TestWindow(&deleted);
	EXPECT_EQ(window->Bounds(), BRect(0, 0, 99, 49));
	BView *all = new BView(BRect(5, 5, 94, 44), "all", B_FOLLOW_ALL_SIDES, 0);
	window->AddChild(all);
	window->ResizeBy(10, 20);
	EXPECT_EQ(window->Frame(), BRect(10, 10, 119, 79));
	EXPECT_EQ(all->Frame(), BRect(5, 5, 104, 64));
	window->Quit();
}

} // namespace
