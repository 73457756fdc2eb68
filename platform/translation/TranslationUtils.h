// Helpers of the Translation Kit.
#ifndef _TRANSLATION_UTILS_H
#define _TRANSLATION_UTILS_H

#include <SupportDefs.h>

class BMessage;

class BTranslationUtils {
public:
	// The settings stored for the named translator, as a new message the
	// caller deletes; NULL when none are stored or the store cannot be
	// read. Where the store lives: DefaultSettingsStore.h.
	static BMessage *GetDefaultSettings(const char *translatorName,
		int32 translatorVersion);

private:
	BTranslationUtils();
};

#endif // _TRANSLATION_UTILS_H
