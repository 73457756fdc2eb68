// The per-user base folders of the XDG convention, where the kit keeps its
// settings and finds the user's add-ons.
#ifndef _XDG_BASE_DIRECTORY_H
#define _XDG_BASE_DIRECTORY_H

#include <string>

namespace BPrivate {

// The folder the variable names (XDG_CONFIG_HOME, XDG_DATA_HOME, ...) when
// it is set to an absolute path; otherwise $HOME/<homeRelativeDefault>
// (".config", ".local/share", ...). Empty when neither gives a place.
// Relative values are ignored, as the convention asks: they would depend
// on the current folder.
std::string XdgBaseDirectory(const char *variable,
	const char *homeRelativeDefault);

} // namespace BPrivate

#endif // _XDG_BASE_DIRECTORY_H
