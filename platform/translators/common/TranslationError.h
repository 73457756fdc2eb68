// Why a translation failed: the status the entry point returns and one line
// for the user. Thrown by the translators' own code (never through libpng's
// or libjpeg's C frames) and caught at the entry points, which put the line
// into the caller's extension message under TRANSLATOR_FAILURE_INFO.
#ifndef QUORVEL_TRANSLATION_ERROR_H
#define QUORVEL_TRANSLATION_ERROR_H

#include <new>
#include <string>

#include <SupportDefs.h>

class BMessage;

struct TranslationError {
	status_t status;
	std::string reason;
};

// Not this format, or a header, colour space or output type refused before
// anything was written.
[[noreturn]] void Refuse(const std::string &reason);
// Damaged or cut-short data.
[[noreturn]] void Damaged(const std::string &reason);

// Runs a translation step, turning what it throws into a status and, when
// there is an extension message, the reason in it.
template <typename Step>
status_t Guarded(BMessage *ioExtension, Step step);

// The status of a failed step, with the reason recorded.
status_t Report(BMessage *ioExtension, const TranslationError &error);

template <typename Step>
status_t Guarded(BMessage *ioExtension, Step step)
{
	try {
		step();
		return B_OK;
	} catch (const TranslationError &error) {
		return Report(ioExtension, error);
	} catch (const std::bad_alloc &) {
		return Report(ioExtension, {B_NO_MEMORY, "out of memory"});
	}
}

#endif // QUORVEL_TRANSLATION_ERROR_H
