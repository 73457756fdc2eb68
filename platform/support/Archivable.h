// An object that can be stored in a message. Classes that are archivable
// on the platform derive from it here too; the stand-in records only the
// class, under "class", and brings nothing back from an archive.
#ifndef _ARCHIVABLE_H
#define _ARCHIVABLE_H

#include <SupportDefs.h>

class BMessage;

class BArchivable {
public:
	BArchivable();
	BArchivable(BMessage *from);
	virtual ~BArchivable();

	// Adds the object's class name under "class"; B_BAD_VALUE without a
	// message.
	virtual status_t Archive(BMessage *into, bool deep = true) const;
};

#endif // _ARCHIVABLE_H
