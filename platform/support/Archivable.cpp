#include <Archivable.h>

#include <cxxabi.h>
#include <stdlib.h>

#include <typeinfo>

#include <Message.h>

BArchivable::BArchivable()
{
}

BArchivable::BArchivable(BMessage *)
{
}

BArchivable::~BArchivable()
{
}

// The name is the class's own, as the source spells it, so that an archive
// names the most derived class.
status_t BArchivable::Archive(BMessage *into, bool) const
{
	if (into == NULL) {
		return B_BAD_VALUE;
	}
	int demangled = 0;
	char *name = abi::__cxa_demangle(typeid(*this).name(), NULL, NULL,
		&demangled);
	if (name == NULL) {
		return demangled == -1 ? B_NO_MEMORY : B_ERROR;
	}
	status_t status = into->AddString("class", name);
	free(name);
	return status;
}
