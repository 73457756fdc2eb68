// The translator's stored options, one row each: everything an
// application needs to read, show, change or pass one of them. The add-on
// keeps, merges and writes its options by this table, its configuration
// view builds its controls from it, and a host builds its command line,
// its settings command and its extension messages from it, so that an
// option is spelt in one place.
//
// The rows are in the order every reader and writer of options takes them:
// the database name, then compression, dithering and high contrast.
#ifndef QUORVEL_PILOT_SETTING_TABLE_H
#define QUORVEL_PILOT_SETTING_TABLE_H

#include <SupportDefs.h>
#include <TypeConstants.h>

#include "PilotTranslator.h"

struct PilotSettingRow {
	// The key in extension messages and stored settings, and the type of
	// its value there: B_STRING_TYPE (at most PILOT_DB_NAME_SIZE - 1 bytes
	// are kept) or B_BOOL_TYPE. A value of another type is ignored.
	const char *key;
	type_code type;
	// A switch's default; a text option's is the empty string.
	bool defaultOn;
	// The configuration view's control: its name, its label, and the
	// message code it sends when changed.
	const char *control;
	const char *label;
	uint32 changedCode;
	// How a person names it: the host's settings command word and the
	// other spelling it accepts, and the command line's flag (a switch's
	// "--no-" form turns it off).
	const char *word;
	const char *alias;
	const char *flag;
};

enum {
	PILOT_NAME_ROW,
	PILOT_COMPRESS_ROW,
	PILOT_DITHER_ROW,
	PILOT_CONTRAST_ROW,
	PILOT_SETTING_COUNT
};

static constexpr PilotSettingRow PILOT_SETTINGS[PILOT_SETTING_COUNT] = {
	{PILOT_DB_NAME_SETTING, B_STRING_TYPE, false,
		"Name", "Database name:", 'chnm', "name", "database_name", "--name"},
	{PILOT_COMPRESS_SETTING, B_BOOL_TYPE, true,
		"Compression", "Compression", 'chcp', "compression", "compress",
		"--compression"},
	{PILOT_DITHER_SETTING, B_BOOL_TYPE, true,
		"Dithering", "Dithering", 'chdi', "dithering", "dither", "--dither"},
	{PILOT_CONTRAST_SETTING, B_BOOL_TYPE, false,
		"Contrast", "High contrast", 'chct', "high-contrast", "high_contrast",
		"--high-contrast"},
};

#endif // QUORVEL_PILOT_SETTING_TABLE_H
