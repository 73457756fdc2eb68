// The translator's stored options (PilotSettingTable.h), the process-wide
// store of them and the lock that guards it.
#ifndef QUORVEL_PILOT_SETTINGS_H
#define QUORVEL_PILOT_SETTINGS_H

#include <Locker.h>
#include <Message.h>
#include <PilotSettingTable.h>

#include "PilotCodec.h"

// The options are the codec's; only those of the table are stored, merged
// and written.
class PilotSettings : public PilotOptions {
public:
	// The table's defaults (compression and dithering on, high contrast
	// off, no name), merged with the settings the kit stores for this
	// translator.
	PilotSettings();

	// Merges the message's options into this object; B_OK, also for NULL.
	status_t GetSettings(const BMessage *message);
	// Replaces the table's options in the message, leaving its other
	// fields.
	status_t PutSettings(BMessage *message) const;
};

// Guarded by gSettingsLock after the add-on is loaded.
extern PilotSettings gSettings;
extern BLocker gSettingsLock;

// The field of options that keeps the switch of the table's row row.
bool &SwitchField(PilotOptions &options, int row);
bool SwitchField(const PilotOptions &options, int row);

// Copies text into a name field and ends it, cut to fit on a character
// boundary (FittingNameLength).
void CopyDatabaseName(char (&name)[PILOT_DB_NAME_SIZE], const char *text);

// Overwrites each option that the message holds with the right type, in
// the table's order; leaves the others.
void MergeOptions(const BMessage *message, PilotOptions &options);

// Replaces every value of the table's keys with one value each: all are
// removed, then each is added, in the table's order.
void WriteOptions(BMessage *message, const PilotOptions &options);

#endif // QUORVEL_PILOT_SETTINGS_H
