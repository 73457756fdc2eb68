// A named lock that the thread holding it may take again (each Lock needs
// its Unlock).
#ifndef _LOCKER_H
#define _LOCKER_H

#include <SupportDefs.h>

class BLocker {
public:
	BLocker();
	BLocker(const char *name);
	BLocker(bool benaphoreStyle);
	BLocker(const char *name, bool benaphoreStyle);
	virtual ~BLocker();

	status_t InitCheck() const;

	bool Lock();
	status_t LockWithTimeout(bigtime_t timeout);
	void Unlock();

	thread_id LockingThread() const;
	// True when the calling thread holds the lock.
	bool IsLocked() const;
	int32 CountLocks() const;
	int32 CountLockRequests() const;

private:
	BLocker(const BLocker &);
	BLocker &operator=(const BLocker &);

	struct State;
	State *fState;
};

#endif // _LOCKER_H
