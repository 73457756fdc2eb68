// Where the kit keeps the settings that GetDefaultSettings returns: one
// flattened BMessage per translator, in
// $XDG_CONFIG_HOME/TranslationKit/<name>.settings (~/.config when
// XDG_CONFIG_HOME is unset or empty). On the platform the Translation
// preferences write this store; here the host does, through these calls.
#ifndef _DEFAULT_SETTINGS_STORE_H
#define _DEFAULT_SETTINGS_STORE_H

#include <string>

#include <SupportDefs.h>

class BMessage;

namespace BPrivate {

// The file that holds the named translator's settings; empty when no
// folder can be found (no XDG_CONFIG_HOME and no HOME).
std::string DefaultSettingsPath(const char *translatorName);

// Writes the settings so that the next GetDefaultSettings call for this
// translator finds them. The file is replaced whole (written aside, then
// renamed), so a failure leaves the previous settings in place.
status_t StoreDefaultSettings(const char *translatorName,
	int32 translatorVersion, const BMessage &settings);

} // namespace BPrivate

#endif // _DEFAULT_SETTINGS_STORE_H
