// A thread with a message queue: Run starts the thread, which hands each
// posted message to its target handler's MessageReceived with the looper
// locked.
#ifndef _LOOPER_H
#define _LOOPER_H

#include <Handler.h>
#include <SupportDefs.h>

class BMessage;

class BLooper : public BHandler {
public:
	BLooper(const char *name = NULL);
	virtual ~BLooper();

	// Starts the looper's thread; returns its id.
	virtual thread_id Run();
	// Stops the thread and deletes the looper. Called with the looper
	// locked, from any thread.
	virtual void Quit();
	virtual bool QuitRequested();

	// Queues a message for handler (this looper when NULL). The message
	// is copied.
	status_t PostMessage(uint32 command);
	status_t PostMessage(BMessage *message);
	status_t PostMessage(BMessage *message, BHandler *handler,
		BHandler *replyTo = NULL);

	virtual void DispatchMessage(BMessage *message, BHandler *handler);
	virtual void MessageReceived(BMessage *message);
	BMessage *CurrentMessage() const;

	void AddHandler(BHandler *handler);
	bool RemoveHandler(BHandler *handler);
	int32 CountHandlers() const;

	// The looper's lock may be taken again by the thread holding it.
	bool Lock();
	void Unlock();
	status_t LockWithTimeout(bigtime_t timeout);
	bool IsLocked() const;
	thread_id LockingThread() const;
	thread_id Thread() const;

private:
	BLooper(const BLooper &);
	BLooper &operator=(const BLooper &);

	struct Private;
	Private *fPrivate;
};

#endif // _LOOPER_H
