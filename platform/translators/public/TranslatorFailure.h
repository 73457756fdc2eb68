// Why a translation failed, in words: the field every translator (the
// standard ones here and the Pilot image translator) puts into the
// ioExtension message of a Translate call it refuses or fails, replacing
// any earlier value, and that a host shows instead of a status code:
//
//     TRANSLATOR_FAILURE_INFO   string  one line in the user's words: why,
//                                       and what can be done instead
//
// The platform's translation kit names no such field, and an add-on must
// build against the platform's own headers and load with its own
// libraries, so the name cannot join the kit's headers: it is ours, in
// this header of its own beside them, which needs only the kit's BMessage.
#ifndef QUORVEL_TRANSLATOR_FAILURE_H
#define QUORVEL_TRANSLATOR_FAILURE_H

#include <Message.h>

static const char *const TRANSLATOR_FAILURE_INFO = "failure";

// Puts the reason into the message, when there is one.
inline void ReportTranslatorFailure(BMessage *ioExtension, const char *reason)
{
	if (ioExtension == NULL) {
		return;
	}
	ioExtension->RemoveName(TRANSLATOR_FAILURE_INFO);
	ioExtension->AddString(TRANSLATOR_FAILURE_INFO, reason);
}

#endif // QUORVEL_TRANSLATOR_FAILURE_H
