#include "TranslationError.h"

#include <new>

#include <Message.h>

#include "StandardImageInfo.h"

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
	ReportTranslatorFailure(ioExtension, error.reason.c_str());
	return error.status;
}
