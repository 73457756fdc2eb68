#include "XdgBaseDirectory.h"

#include <stdlib.h>

namespace BPrivate {

std::string
XdgBaseDirectory(const char *variable, const char *homeRelativeDefault)
{
	const char *value = getenv(variable);
	if (value != NULL && value[0] == '/') {
		return value;
	}
	const char *home = getenv("HOME");
	if (home == NULL || home[0] == '\0') {
		return std::string();
	}
	return std::string(home) + "/" + homeRelativeDefault;
}

} // namespace BPrivate
