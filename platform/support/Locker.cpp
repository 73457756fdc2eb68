#include <Locker.h>

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

// A recursive lock built from a mutex that guards who holds it and how
// often, and a condition variable that waiting threads sleep on. The
// mutex is held only for those few fields, never while the caller works.
struct BLocker::State {
	std::mutex mutex;
	std::condition_variable released;
	thread_id owner = -1;
	int32 count = 0;
	int32 waiting = 0;
};

// Waits longer than this (about 30 years) are taken as no limit at all, so
// that adding the wait to the clock cannot overflow.
static const bigtime_t kLongestTimedWait = 1000000LL * 3600 * 24 * 365 * 30;

static thread_id current_thread()
{
	return (thread_id)gettid();
}

BLocker::BLocker()
	: fState(new(std::nothrow) State)
{
}

// The platform shows the name in its debugging tools only; there is no
// call to read it back, so the stand-in does not keep it.
BLocker::BLocker(const char *)
	: BLocker()
{
}

// The benaphore style of the platform is a speed trade-off only; the lock
// behaves the same either way.
BLocker::BLocker(bool)
	: BLocker()
{
}

BLocker::BLocker(const char *name, bool)
	: BLocker(name)
{
}

BLocker::~BLocker()
{
	delete fState;
}

status_t BLocker::InitCheck() const
{
	return fState != NULL ? B_OK : B_NO_MEMORY;
}

bool BLocker::Lock()
{
	return LockWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

status_t BLocker::LockWithTimeout(bigtime_t timeout)
{
	if (fState == NULL) {
		return B_NO_INIT;
	}
	thread_id self = current_thread();
	std::unique_lock<std::mutex> guard(fState->mutex);
	if (fState->owner == self) {
		fState->count++;
		return B_OK;
	}

	auto isFree = [this] { return fState->owner == -1; };
	fState->waiting++;
	bool acquired;
	if (timeout >= kLongestTimedWait) {
		fState->released.wait(guard, isFree);
		acquired = true;
	} else {
		auto wait = std::chrono::microseconds(timeout > 0 ? timeout : 0);
		acquired = fState->released.wait_for(guard, wait, isFree);
	}
	fState->waiting--;
	if (!acquired) {
		return B_TIMED_OUT;
	}
	fState->owner = self;
	fState->count = 1;
	return B_OK;
}

// Only the holder may unlock; a call from another thread, or one too many,
// is ignored rather than allowed to free the lock under its holder.
void BLocker::Unlock()
{
	if (fState == NULL) {
		return;
	}
	std::unique_lock<std::mutex> guard(fState->mutex);
	if (fState->owner != current_thread()) {
		return;
	}
	if (--fState->count > 0) {
		return;
	}
	fState->owner = -1;
	guard.unlock();
	fState->released.notify_one();
}

thread_id BLocker::LockingThread() const
{
	if (fState == NULL) {
		return -1;
	}
	std::lock_guard<std::mutex> guard(fState->mutex);
	return fState->owner;
}

bool BLocker::IsLocked() const
{
	if (fState == NULL) {
		return false;
	}
	thread_id self = current_thread();
	std::lock_guard<std::mutex> guard(fState->mutex);
	return fState->owner == self;
}

int32 BLocker::CountLocks() const
{
	if (fState == NULL) {
		return 0;
	}
	std::lock_guard<std::mutex> guard(fState->mutex);
	return fState->count;
}

// The threads that hold or wait for the lock.
int32 BLocker::CountLockRequests() const
{
	if (fState == NULL) {
		return 0;
	}
	std::lock_guard<std::mutex> guard(fState->mutex);
	return fState->waiting + (fState->owner != -1 ? 1 : 0);
}
