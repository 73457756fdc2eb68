#include <Autolock.h>
#include <Looper.h>

BAutolock::BAutolock(BLocker *locker)
	: fLocker(locker), fLooper(NULL), fIsLocked(locker->Lock())
{
}

BAutolock::BAutolock(BLocker &locker)
	: fLocker(&locker), fLooper(NULL), fIsLocked(locker.Lock())
{
}

BAutolock::BAutolock(BLooper *looper)
	: fLocker(NULL), fLooper(looper), fIsLocked(looper->Lock())
{
}

BAutolock::~BAutolock()
{
	if (!fIsLocked) {
		return;
	}
	if (fLocker != NULL) {
		fLocker->Unlock();
	} else {
		fLooper->Unlock();
	}
}
