// Holds a BLocker (or a BLooper's lock) for the life of a scope.
#ifndef _AUTOLOCK_H
#define _AUTOLOCK_H

#include <Locker.h>

class BLooper;

class BAutolock {
public:
	BAutolock(BLocker *locker);
	BAutolock(BLocker &locker);
	BAutolock(BLooper *looper);
	~BAutolock();

	bool IsLocked() { return fIsLocked; }

private:
	BAutolock(const BAutolock &);
	BAutolock &operator=(const BAutolock &);

	BLocker *fLocker;
	BLooper *fLooper;
	bool fIsLocked;
};

#endif // _AUTOLOCK_H
