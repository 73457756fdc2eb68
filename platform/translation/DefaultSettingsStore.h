// Where the kit keeps the settings that GetDefaultSettings returns: one
// flattened BMessage per translator, in
// $XDG_CONFIG_HOME/TranslationKit/<name>.settings ($HOME/.config when
// XDG_CONFIG_HOME is unset, empty or not an absolute path). On the
// platform the Translation preferences write this store; here the host
// does, through these calls.
//
// Besides the translator's own fields the stored message carries two of
// the kit's: "translator:name" (string) and "translator:version" (int32),
// the version that wrote it. Reading gives back the translator's fields
// only. A file written by another version is still read: settings keys
// outlive versions, a translator ignores keys it does not know, and
// refusing would drop the user's settings at every upgrade. A file whose
// name field names another translator (a copied or renamed file) is not.
#ifndef _DEFAULT_SETTINGS_STORE_H
#define _DEFAULT_SETTINGS_STORE_H

#include <string>

#include <SupportDefs.h>

class BMessage;

namespace BPrivate {

// Settings files larger than this are not read.
const off_t kMaxDefaultSettingsSize = 1024 * 1024;

// The file that holds the named translator's settings; empty when no
// folder can be found (no XDG_CONFIG_HOME and no HOME), or when the name
// cannot be a file name of its own: NULL, empty, longer than a file name
// may be, holding a '/' or starting with '.' (no name may reach outside
// the folder, and names starting with '.' are kept for temporary files).
std::string DefaultSettingsPath(const char *translatorName);

// The settings stored for the translator, as a new message the caller
// deletes; NULL when there is no file or it cannot be used (unreadable,
// empty, larger than kMaxDefaultSettingsSize, not one whole flattened
// message, or stored for another translator).
BMessage *LoadDefaultSettings(const char *translatorName);

// Writes the settings so that the next GetDefaultSettings call for this
// translator finds them, creating the folders as needed. The file is
// replaced whole (written aside in the same folder, then renamed), so a
// failure leaves the previous settings in place. B_BAD_VALUE for a name
// that DefaultSettingsPath refuses.
status_t StoreDefaultSettings(const char *translatorName,
	int32 translatorVersion, const BMessage &settings);

} // namespace BPrivate

#endif // _DEFAULT_SETTINGS_STORE_H
