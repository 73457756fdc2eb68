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

namespace {

// Where each switch of the table is kept, by row; the table's one text
// option is the database name.
bool PilotOptions::*const kSwitchFields[PILOT_SETTING_COUNT] = {
	nullptr, &PilotOptions::compression, &PilotOptions::dithering,
	&PilotOptions::highContrast};

bool IsText(const PilotSettingRow &row)
{
	return row.type == B_STRING_TYPE;
}

} // namespace

bool &SwitchField(PilotOptions &options, int row)
{
	return options.*kSwitchFields[row];
}

bool SwitchField(const PilotOptions &options, int row)
{
	return options.*kSwitchFields[row];
}

void CopyDatabaseName(char (&name)[PILOT_DB_NAME_SIZE], const char *text)
{
	const size_t length = FittingNameLength(text, strlen(text));
	memcpy(name, text, length);
	name[length] = '\0';
}

void MergeOptions(const BMessage *message, PilotOptions &options)
{
	if (message == NULL) {
		return;
	}
	for (int row = 0; row < PILOT_SETTING_COUNT; row++) {
		const char *key = PILOT_SETTINGS[row].key;
		const char *text;
		bool on;
		if (IsText(PILOT_SETTINGS[row])) {
			if (message->FindString(key, &text) == B_OK) {
				CopyDatabaseName(options.databaseName, text);
			}
		} else if (message->FindBool(key, &on) == B_OK) {
			SwitchField(options, row) = on;
		}
	}
}

void WriteOptions(BMessage *message, const PilotOptions &options)
{
	for (const PilotSettingRow &row : PILOT_SETTINGS) {
		message->RemoveName(row.key);
	}
	for (int row = 0; row < PILOT_SETTING_COUNT; row++) {
		const char *key = PILOT_SETTINGS[row].key;
		if (IsText(PILOT_SETTINGS[row])) {
			message->AddString(key, options.databaseName);
		} else {
			message->AddBool(key, SwitchField(options, row));
		}
	}
}

PilotSettings::PilotSettings()
{
	BMessage *stored = BTranslationUtils::GetDefaultSettings(translatorName,
		translatorVersion);
	GetSettings(stored);
	delete stored;
}

status_t PilotSettings::GetSettings(const BMessage *message)
{
	MergeOptions(message, *this);
	return B_OK;
}

status_t PilotSettings::PutSettings(BMessage *message) const
{
	if (message == NULL) {
		return B_BAD_VALUE;
	}
	WriteOptions(message, *this);
	return B_OK;
}

_EXPORT status_t GetConfigMessage(BMessage *ioExtension)
{
	BAutolock lock(gSettingsLock);
	if (ioExtension == NULL) {
		return B_BAD_VALUE;
	}
	WriteOptions(ioExtension, gSettings);
	return B_OK;
}
