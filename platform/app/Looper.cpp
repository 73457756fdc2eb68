#include <Looper.h>

#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include <AppDefs.h>
#include <Locker.h>
#include <Message.h>

// The queue has a mutex of its own, apart from the looper's lock, so that
// any thread can post without taking the looper's lock, and so that the
// looper's thread can wait for messages without holding it. The handler
// list is guarded by the same mutex, since posting checks the target
// against it; it is changed only with the looper's lock held too.
//
// An entry without a message is the marker that Quit from another thread
// puts behind the messages posted before it.
struct BLooper::Private {
	struct Entry {
		BMessage *message;
		BHandler *handler;
	};

	BLocker lock;
	std::mutex queueMutex;
	std::condition_variable queueChanged;
	std::deque<Entry> queue;
	std::vector<BHandler *> handlers;
	std::thread thread;
	thread_id threadID = -1;
	bool running = false;
	// Set by Quit in the looper's own thread: stop after this message.
	bool quitNow = false;
	// Another thread waits in Quit for the looper's thread to end.
	bool joined = false;
	BMessage *current = NULL;

	explicit Private(const char *name) : lock(name) {}

	bool Holds(const BHandler *handler) const
	{
		return std::find(handlers.begin(), handlers.end(), handler)
			!= handlers.end();
	}
};

static thread_id CurrentThread()
{
	return (thread_id)gettid();
}

BLooper::BLooper(const char *name)
	: BHandler(name), fPrivate(new Private(name))
{
	fLooper = this;
	fPrivate->handlers.push_back(this);
	// Locked by its maker until Run, as on the platform.
	fPrivate->lock.Lock();
}

BLooper::~BLooper()
{
	for (BHandler *handler : fPrivate->handlers) {
		if (handler != this) {
			handler->fLooper = NULL;
		}
	}
	for (const Private::Entry &entry : fPrivate->queue) {
		delete entry.message;
	}
	delete fPrivate;
}

thread_id BLooper::Run()
{
	Private &p = *fPrivate;
	{
		std::lock_guard<std::mutex> guard(p.queueMutex);
		if (p.running) {
			return B_ALREADY_RUNNING;
		}
		p.running = true;
	}
	p.thread = std::thread(&BLooper::_Loop, this);
	thread_id id;
	{
		std::unique_lock<std::mutex> guard(p.queueMutex);
		p.queueChanged.wait(guard, [&p] { return p.threadID != -1; });
		id = p.threadID;
	}
	Unlock();
	return id;
}

// The looper's thread: takes the looper's lock for each message, and keeps
// it when the loop ends, so that the looper is deleted locked.
void BLooper::_Loop()
{
	Private &p = *fPrivate;
	{
		std::lock_guard<std::mutex> guard(p.queueMutex);
		p.threadID = CurrentThread();
		p.queueChanged.notify_all();
	}
	for (;;) {
		{
			std::unique_lock<std::mutex> guard(p.queueMutex);
			p.queueChanged.wait(guard, [&p] { return !p.queue.empty(); });
		}
		Lock();
		// Handlers are removed only under the looper's lock, so the entry
		// taken now stays valid while it is dispatched.
		Private::Entry entry = {NULL, NULL};
		bool quit = false;
		{
			std::lock_guard<std::mutex> guard(p.queueMutex);
			if (!p.queue.empty()) {
				entry = p.queue.front();
				p.queue.pop_front();
				quit = entry.message == NULL;
			}
		}
		if (entry.message != NULL) {
			p.current = entry.message;
			DispatchMessage(entry.message, entry.handler);
			p.current = NULL;
			delete entry.message;
			std::lock_guard<std::mutex> guard(p.queueMutex);
			quit = p.quitNow;
		}
		if (quit) {
			break;
		}
		Unlock();
	}
	{
		std::lock_guard<std::mutex> guard(p.queueMutex);
		if (!p.joined) {
			p.thread.detach();
		}
	}
	delete this;
}

void BLooper::Quit()
{
	Private &p = *fPrivate;
	std::unique_lock<std::mutex> guard(p.queueMutex);
	if (!p.running) {
		guard.unlock();
		delete this;
		return;
	}
	if (p.threadID == CurrentThread()) {
		p.quitNow = true;
		return;
	}
	if (p.joined) {
		// Another thread is quitting it already.
		return;
	}
	guard.unlock();

	// Give up the caller's hold before the marker is queued: once it is,
	// the looper's thread may delete the looper, lock and all.
	for (int32 count = IsLocked() ? CountLocks() : 0; count > 0; count--) {
		p.lock.Unlock();
	}
	std::thread thread;
	guard.lock();
	p.queue.push_back(Private::Entry{NULL, NULL});
	p.joined = true;
	thread = std::move(p.thread);
	// Notified under the mutex: after it is released the looper may be
	// gone, so nothing of it is touched again.
	p.queueChanged.notify_all();
	guard.unlock();
	thread.join();
}

bool BLooper::QuitRequested()
{
	return true;
}

status_t BLooper::PostMessage(uint32 command)
{
	BMessage message(command);
	return PostMessage(&message, this);
}

status_t BLooper::PostMessage(BMessage *message)
{
	return PostMessage(message, this);
}

status_t BLooper::PostMessage(BMessage *message, BHandler *handler,
	BHandler *replyTo)
{
	(void)replyTo;
	if (message == NULL) {
		return B_BAD_VALUE;
	}
	if (handler == NULL) {
		handler = this;
	}
	BMessage *copy = new(std::nothrow) BMessage;
	if (copy == NULL) {
		return B_NO_MEMORY;
	}
	try {
		*copy = *message;
		Private &p = *fPrivate;
		std::lock_guard<std::mutex> guard(p.queueMutex);
		if (!p.Holds(handler)) {
			delete copy;
			return B_MISMATCHED_VALUES;
		}
		p.queue.push_back(Private::Entry{copy, handler});
		p.queueChanged.notify_all();
	} catch (const std::bad_alloc &) {
		delete copy;
		return B_NO_MEMORY;
	}
	return B_OK;
}

void BLooper::DispatchMessage(BMessage *message, BHandler *handler)
{
	if (handler == this && message->what == B_QUIT_REQUESTED) {
		if (QuitRequested()) {
			Quit();
		}
		return;
	}
	handler->MessageReceived(message);
}

void BLooper::MessageReceived(BMessage *message)
{
	BHandler::MessageReceived(message);
}

BMessage *BLooper::CurrentMessage() const
{
	return fPrivate->current;
}

void BLooper::AddHandler(BHandler *handler)
{
	if (handler == NULL || handler->fLooper != NULL) {
		return;
	}
	std::lock_guard<std::mutex> guard(fPrivate->queueMutex);
	fPrivate->handlers.push_back(handler);
	handler->fLooper = this;
}

bool BLooper::RemoveHandler(BHandler *handler)
{
	if (handler == NULL || handler == this || handler->fLooper != this) {
		return false;
	}
	Private &p = *fPrivate;
	std::lock_guard<std::mutex> guard(p.queueMutex);
	p.handlers.erase(std::find(p.handlers.begin(), p.handlers.end(),
		handler));
	handler->fLooper = NULL;
	handler->SetNextHandler(NULL);
	// What is still queued for it would reach a handler that may soon be
	// deleted.
	std::deque<Private::Entry> kept;
	for (const Private::Entry &entry : p.queue) {
		if (entry.message != NULL && entry.handler == handler) {
			delete entry.message;
		} else {
			kept.push_back(entry);
		}
	}
	p.queue.swap(kept);
	return true;
}

int32 BLooper::CountHandlers() const
{
	std::lock_guard<std::mutex> guard(fPrivate->queueMutex);
	return (int32)fPrivate->handlers.size();
}

BHandler *BLooper::HandlerAt(int32 index) const
{
	std::lock_guard<std::mutex> guard(fPrivate->queueMutex);
	if (index < 0 || (size_t)index >= fPrivate->handlers.size()) {
		return NULL;
	}
	return fPrivate->handlers[index];
}

bool BLooper::Lock()
{
	return fPrivate->lock.Lock();
}

void BLooper::Unlock()
{
	fPrivate->lock.Unlock();
}

status_t BLooper::LockWithTimeout(bigtime_t timeout)
{
	return fPrivate->lock.LockWithTimeout(timeout);
}

bool BLooper::IsLocked() const
{
	return fPrivate->lock.IsLocked();
}

thread_id BLooper::LockingThread() const
{
	return fPrivate->lock.LockingThread();
}

int32 BLooper::CountLocks() const
{
	return fPrivate->lock.CountLocks();
}

thread_id BLooper::Thread() const
{
	std::lock_guard<std::mutex> guard(fPrivate->queueMutex);
	return fPrivate->threadID;
}
