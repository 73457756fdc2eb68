// An object that receives messages from a looper.
#ifndef _HANDLER_H
#define _HANDLER_H

#include <Archivable.h>
#include <SupportDefs.h>

class BLooper;
class BMessage;

class BHandler : public BArchivable {
public:
	BHandler(const char *name = NULL);
	virtual ~BHandler();

	virtual void MessageReceived(BMessage *message);

	BLooper *Looper() const;
	void SetName(const char *name);
	const char *Name() const;

	void SetNextHandler(BHandler *handler);
	BHandler *NextHandler() const;

	bool LockLooper();
	void UnlockLooper();

private:
	friend class BLooper;

	BHandler(const BHandler &);
	BHandler &operator=(const BHandler &);

	char *fName;
	BLooper *fLooper;
	BHandler *fNextHandler;
};

#endif // _HANDLER_H
