#include <TranslationUtils.h>

#include <DefaultSettingsStore.h>

// The version is not compared: settings stored by another version of the
// translator are still its settings (see DefaultSettingsStore.h).
BMessage *
BTranslationUtils::GetDefaultSettings(const char *translatorName, int32)
{
	return BPrivate::LoadDefaultSettings(translatorName);
}
