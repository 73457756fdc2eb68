// Where the roster looks for translator add-ons: the expansion of a
// colon-separated list of files and folders into the files to try.
#ifndef _TRANSLATOR_PATH_H
#define _TRANSLATOR_PATH_H

#include <string>
#include <vector>

namespace BPrivate {

// The candidate add-on files of the list, in the order they are to be
// loaded. Each entry of the list is a file or a folder; empty entries are
// ignored. A file stands for itself; a folder for the regular files directly in
// it, in byte order of their names (sub-folders are not searched). Entries
// that do not exist, and anything that is neither a regular file nor a
// folder (a device or a pipe would block or misbehave when loaded), are
// skipped.
std::vector<std::string> ExpandTranslatorPath(const char *loadPath);

// The folder searched when no list is given: TRANSLATORS_PATH when set and
// not empty, else $XDG_DATA_HOME/TranslationKit/translators
// (~/.local/share when XDG_DATA_HOME is unset, empty or relative); empty
// when neither variable nor HOME gives a place.
std::string DefaultTranslatorPath();

} // namespace BPrivate

#endif // _TRANSLATOR_PATH_H
