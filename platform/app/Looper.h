// A thread with a message queue. Run starts the thread, which hands each
// posted message to its target handler's MessageReceived with the looper
// locked, one message at a time, in the order they were posted.
//
// As on the platform, a new looper is locked by the thread that built it;
// Run (BWindow::Show for a window) releases that lock once the thread is
// started. Until then messages posted to it wait in the queue.
//
// Quit, called with the looper locked:
// - from the looper's own thread (inside MessageReceived): the thread ends
//   after the current message and deletes the looper;
// - from any other thread: the messages posted before Quit are still
//   handled, then the looper's thread deletes the looper and ends; Quit
//   gives up the caller's hold on the lock, waits for the thread to end
//   and returns when the looper is gone;
// - on a looper that was never Run: deletes it at once.
// A looper must not be deleted with delete once its thread runs.
#ifndef _LOOPER_H
#define _LOOPER_H

#include <Handler.h>
#include <SupportDefs.h>

class BMessage;

class BLooper : public BHandler {
public:
	BLooper(const char *name = NULL);
	virtual ~BLooper();

	// Starts the looper's thread and unlocks the looper; returns the
	// thread's id (B_ALREADY_RUNNING when it runs already).
	virtual thread_id Run();
	virtual void Quit();
	// Asked when a B_QUIT_REQUESTED message reaches the looper; true lets
	// it quit.
	virtual bool QuitRequested();

	// Queues a copy of message for handler (this looper when NULL), which
	// must belong to this looper: B_MISMATCHED_VALUES otherwise. Messages
	// still queued for a handler when it is removed are dropped.
	status_t PostMessage(uint32 command);
	status_t PostMessage(BMessage *message);
	status_t PostMessage(BMessage *message, BHandler *handler,
		BHandler *replyTo = NULL);

	virtual void DispatchMessage(BMessage *message, BHandler *handler);
	virtual void MessageReceived(BMessage *message);
	// The message being dispatched, in the looper's thread.
	BMessage *CurrentMessage() const;

	// Handlers are added and removed with the looper locked.
	void AddHandler(BHandler *handler);
	bool RemoveHandler(BHandler *handler);
	// The looper is its own first handler.
	int32 CountHandlers() const;
	BHandler *HandlerAt(int32 index) const;

	// The looper's lock may be taken again by the thread holding it.
	bool Lock();
	void Unlock();
	status_t LockWithTimeout(bigtime_t timeout);
	// True when the calling thread holds the lock.
	bool IsLocked() const;
	thread_id LockingThread() const;
	int32 CountLocks() const;
	// The looper's thread, or -1 before Run.
	thread_id Thread() const;

private:
	BLooper(const BLooper &);
	BLooper &operator=(const BLooper &);

	void _Loop();

	struct Private;
	Private *fPrivate;
};

#endif // _LOOPER_H
