#include <Handler.h>

#include <stdlib.h>
#include <string.h>

#include <Looper.h>

BHandler::BHandler(const char *name)
	: fName(NULL), fLooper(NULL), fNextHandler(NULL)
{
	SetName(name);
}

BHandler::~BHandler()
{
	free(fName);
}

// A message no handler in the chain understood ends here; the platform
// would answer B_MESSAGE_NOT_UNDERSTOOD to a sender waiting for a reply,
// and nothing here waits for replies.
void BHandler::MessageReceived(BMessage *message)
{
	if (fNextHandler != NULL) {
		fNextHandler->MessageReceived(message);
	}
}

BLooper *BHandler::Looper() const
{
	return fLooper;
}

void BHandler::SetName(const char *name)
{
	free(fName);
	fName = name != NULL ? strdup(name) : NULL;
}

const char *BHandler::Name() const
{
	return fName;
}

void BHandler::SetNextHandler(BHandler *handler)
{
	fNextHandler = handler;
}

BHandler *BHandler::NextHandler() const
{
	return fNextHandler;
}

// The handler may be moved to another looper while we wait for the lock,
// so the looper is checked again once it is held.
bool BHandler::LockLooper()
{
	BLooper *looper = fLooper;
	if (looper == NULL || !looper->Lock()) {
		return false;
	}
	if (fLooper != looper) {
		looper->Unlock();
		return false;
	}
	return true;
}

void BHandler::UnlockLooper()
{
	if (fLooper != NULL) {
		fLooper->Unlock();
	}
}
