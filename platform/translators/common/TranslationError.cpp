#include "TranslationError.h"

#include <new>

#include <Message.h>

const char *const kFailureKey = "failure";

void Refuse(const std::string &reason)
{
	throw TranslationError{B_NO_TRANSLATOR, reason};
}

void Damaged(const std::string &reason)
{
	throw TranslationError{B_ILLEGAL_DATA, reason};
}

status_t Report(BMessage *ioExtension, const TranslationError &error)
{
	if (ioExtension != NULL) {
		ioExtension->RemoveName(kFailureKey);
		ioExtension->AddString(kFailureKey, error.reason.c_str());
	}
	return error.status;
}
