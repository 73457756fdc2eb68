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

#include <functional>
#include <string>

#include <SupportDefs.h>

class BMessage;

namespace BPrivate {

// Settings files larger than this are not read.
const off_t kMaxDefaultSettingsSize = 1024 * 1024;

// The file that holds the named translator's settings; empty when no
// folder can be found (no XDG_CONFIG_HOME and no HOME), or when the name
// cannot be a file name of its own: NULL, empty, too long for its lock
// file's name ("<name>.settings.lock") to be a file name, holding a '/'
// or starting with '.' (no name may reach outside the folder, and names
// starting with '.' are kept for temporary files).
std::string DefaultSettingsPath(const char *translatorName);

// The settings stored for the translator, as a new message the caller
// deletes; NULL when there is no file or it cannot be used (see
// ReadDefaultSettings).
BMessage *LoadDefaultSettings(const char *translatorName);

// Reads the stored settings into settings, and says why they cannot be
// used when they cannot: B_ENTRY_NOT_FOUND when none are stored,
// B_BAD_VALUE for a name that DefaultSettingsPath refuses, the file's
// status when it cannot be read (B_PERMISSION_DENIED, B_IS_A_DIRECTORY,
// ...), B_BAD_TYPE when it is neither a regular file nor a folder (a FIFO,
// a device or a socket, which is never opened), B_FILE_TOO_LARGE when it is larger than kMaxDefaultSettingsSize,
// B_BAD_DATA when it is empty or not one whole flattened message, and
// B_MISMATCHED_VALUES when it was stored for another translator.
status_t ReadDefaultSettings(const char *translatorName, BMessage *settings);

// Writes the settings so that the next GetDefaultSettings call for this
// translator finds them, creating the folders as needed. The file is
// replaced whole (written aside in the same folder, then renamed), so a
// failure leaves the previous settings in place. B_BAD_VALUE for a name
// that DefaultSettingsPath refuses.
status_t StoreDefaultSettings(const char *translatorName,
	int32 translatorVersion, const BMessage &settings);

// The file an update writes aside before it takes the settings file's
// place, for a caller that removes its temporary files when a signal
// stops the process.
class TemporaryFileKeeper {
public:
	virtual ~TemporaryFileKeeper() {}
	// Runs create, which makes the file named path and gives its
	// descriptor (or -1 with errno set), and gives that result; the name
	// is known to the keeper from then on.
	virtual int Create(const std::string &path,
		const std::function<int()> &create) = 0;
	// The file took the settings file's place, or was removed.
	virtual void Forget() = 0;
};

// Reads, changes and stores the settings as one step: change receives the
// stored settings (empty when none can be used) and edits them; they are
// stored when it returns B_OK, and nothing is stored otherwise (its status
// is returned). Every store and update of a translator's settings holds an
// advisory lock on "<name>.settings.lock" beside the file meanwhile, so
// that changes made at the same time, by threads or by processes, follow
// one another and none is lost. A FIFO, a device or a folder where the
// settings file goes, or where a symbolic link there leads, is not
// replaced (B_BAD_TYPE, B_IS_A_DIRECTORY). The
// file written aside is made through keeper when one is given.
status_t UpdateDefaultSettings(const char *translatorName,
	int32 translatorVersion,
	const std::function<status_t(BMessage &settings)> &change,
	TemporaryFileKeeper *keeper = NULL);

} // namespace BPrivate

#endif // _DEFAULT_SETTINGS_STORE_H
