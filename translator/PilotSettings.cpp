#include "PilotSettings.h"

#include <string.h>

#include <Autolock.h>
#include <TranslationUtils.h>
#include <TranslatorAddOn.h>

#include "PilotNaming.h"

// Defined in this order so that the options exist before their lock; both
// are built while the add-on is loaded, before any entry point can run.
PilotSettings gSettings;
BLocker gSettingsLock("Quorvel settings lock");

void CopyDatabaseName(char (&name)[PILOT_DB_NAME_SIZE], const char *text)
{
	const size_t length = FittingNameLength(text, strlen(text));
	memcpy(name, text, length);
	name[length] = '\0';
}

void MergeOptions(const BMessage *message, bool &compression, bool &dithering,
	bool &highContrast, char (&databaseName)[PILOT_DB_NAME_SIZE])
{
	if (message == NULL) {
		return;
	}
	const char *name;
	if (message->FindString(PILOT_DB_NAME_SETTING, &name) == B_OK) {
		CopyDatabaseName(databaseName, name);
	}
	bool value;
	if (message->FindBool(PILOT_COMPRESS_SETTING, &value) == B_OK) {
		compression = value;
	}
	if (message->FindBool(PILOT_DITHER_SETTING, &value) == B_OK) {
		dithering = value;
	}
	if (message->FindBool(PILOT_CONTRAST_SETTING, &value) == B_OK) {
		highContrast = value;
	}
}

void WriteOptions(BMessage *message, bool compression, bool dithering,
	bool highContrast, const char *databaseName)
{
	message->RemoveName(PILOT_DB_NAME_SETTING);
	message->RemoveName(PILOT_COMPRESS_SETTING);
	message->RemoveName(PILOT_DITHER_SETTING);
	message->RemoveName(PILOT_CONTRAST_SETTING);
	message->AddString(PILOT_DB_NAME_SETTING, databaseName);
	message->AddBool(PILOT_COMPRESS_SETTING, compression);
	message->AddBool(PILOT_DITHER_SETTING, dithering);
	message->AddBool(PILOT_CONTRAST_SETTING, highContrast);
}

PilotSettings::PilotSettings()
	: compression(true), dithering(true), highContrast(false)
{
	databaseName[0] = '\0';
	BMessage *stored = BTranslationUtils::GetDefaultSettings(translatorName,
		translatorVersion);
	GetSettings(stored);
	delete stored;
}

PilotSettings::PilotSettings(const PilotSettings &other)
	: compression(other.compression), dithering(other.dithering),
	  highContrast(other.highContrast)
{
	strcpy(databaseName, other.databaseName);
}

status_t PilotSettings::GetSettings(const BMessage *message)
{
	MergeOptions(message, compression, dithering, highContrast, databaseName);
	return B_OK;
}

status_t PilotSettings::PutSettings(BMessage *message) const
{
	if (message == NULL) {
		return B_BAD_VALUE;
	}
	WriteOptions(message, compression, dithering, highContrast, databaseName);
	return B_OK;
}

_EXPORT status_t GetConfigMessage(BMessage *ioExtension)
{
	BAutolock lock(gSettingsLock);
	if (ioExtension == NULL) {
		return B_BAD_VALUE;
	}
	WriteOptions(ioExtension, gSettings.compression, gSettings.dithering,
		gSettings.highContrast, gSettings.databaseName);
	return B_OK;
}
