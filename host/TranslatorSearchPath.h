// Where the host looks for translator add-ons, in the order a user can
// override them: --translators DIR, then TRANSLATORS_PATH, then the kit's
// own folders (the user's add-on folder, then the translators installed
// with the program).
#ifndef QUORVEL_HOST_TRANSLATOR_SEARCH_PATH_H
#define QUORVEL_HOST_TRANSLATOR_SEARCH_PATH_H

#include <string>

// The roster's load path, a colon-separated list of files and folders:
// option when it is not empty, else TRANSLATORS_PATH when that is set and
// not empty (each replaces everything after it), else the user's add-on
// folder, $XDG_DATA_HOME/TranslationKit/translators, when it exists,
// followed by the program's own translators folder. The user's folder
// comes first so that, where two translators answer equally well, the one
// the user dropped there wins.
std::string TranslatorSearchPath(const std::string &option);

// The program's own translators folder: <build>/translators when it runs
// from its build tree (<build>/host/quorvel), else the folder installed
// beside it, QUORVEL_INSTALLED_TRANSLATORS relative to the program's folder
// (../lib/quorvel/translators), so that an installed tree can be moved.
std::string BundledTranslatorsFolder();

// The folder of the running program, from /proc/self/exe.
std::string ProgramFolder();

#endif // QUORVEL_HOST_TRANSLATOR_SEARCH_PATH_H
