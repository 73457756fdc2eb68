// The translator's four options, the process-wide store of them and the
// lock that guards it.
#ifndef QUORVEL_PILOT_SETTINGS_H
#define QUORVEL_PILOT_SETTINGS_H

#include <Locker.h>
#include <Message.h>
#include <PilotTranslator.h>

class PilotSettings {
public:
	// The defaults (compression and dithering on, high contrast off, no
	// name), merged with the settings the kit stores for this translator.
	PilotSettings();
	PilotSettings(const PilotSettings &other);

	// Merges the message's options into this object; B_OK, also for NULL.
	status_t GetSettings(const BMessage *message);
	// Replaces the four options in the message, leaving its other fields.
	status_t PutSettings(BMessage *message) const;

	bool compression;
	bool dithering;
	bool highContrast;
	char databaseName[PILOT_DB_NAME_SIZE];
};

// Guarded by gSettingsLock after the add-on is loaded.
extern PilotSettings gSettings;
extern BLocker gSettingsLock;

// Copies text into a name field and ends it, cut to fit on a character
// boundary (FittingNameLength).
void CopyDatabaseName(char (&name)[PILOT_DB_NAME_SIZE], const char *text);

// Overwrites each option that the message holds with the right type, in
// the order name, compression, dithering, high contrast; leaves the others.
void MergeOptions(const BMessage *message, bool &compression, bool &dithering,
	bool &highContrast, char (&databaseName)[PILOT_DB_NAME_SIZE]);

// Replaces every value of the four keys with one value each.
void WriteOptions(BMessage *message, bool compression, bool dithering,
	bool highContrast, const char *databaseName);

#endif // QUORVEL_PILOT_SETTINGS_H
