// Waiting for a looper's thread to catch up: messages are handled in the
// order they were posted, so once a message posted now has been handled,
// so has every message posted before it.
#ifndef QUORVEL_TEST_LOOPER_SYNC_H
#define QUORVEL_TEST_LOOPER_SYNC_H

#include <future>

#include <Handler.h>
#include <Looper.h>
#include <Message.h>

namespace looper_sync_detail {

class Signal : public BHandler {
public:
	void MessageReceived(BMessage *) override { fDone.set_value(); }
	std::future<void> Done() { return fDone.get_future(); }

private:
	std::promise<void> fDone;
};

} // namespace looper_sync_detail

// Call without holding the looper's lock.
inline void WaitUntilHandled(BLooper *looper)
{
	looper_sync_detail::Signal signal;
	std::future<void> done = signal.Done();
	looper->Lock();
	looper->AddHandler(&signal);
	BMessage message('sync');
	looper->PostMessage(&message, &signal);
	looper->Unlock();
	done.wait();
	looper->Lock();
	looper->RemoveHandler(&signal);
	looper->Unlock();
}

#endif // QUORVEL_TEST_LOOPER_SYNC_H
