#include "TranslatorSearchPath.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <TranslatorPath.h>

namespace {

bool Exists(const std::string &path, mode_t type)
{
	struct stat info;
	return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

std::string Parent(const std::string &folder)
{
	size_t slash = folder.rfind('/');
	if (slash == std::string::npos) {
		return ".";
	}
	return slash == 0 ? "/" : folder.substr(0, slash);
}

} // namespace

std::string ProgramFolder()
{
	char path[PATH_MAX];
	ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
	if (length <= 0) {
		return ".";
	}
	path[length] = '\0';
	return Parent(path);
}

std::string BundledTranslatorsFolder()
{
	std::string program = ProgramFolder();
	// A build tree has its cache at the top, one level above host/; an
	// installed tree never does.
	std::string build = Parent(program);
	if (Exists(build + "/CMakeCache.txt", S_IFREG)) {
		return build + "/translators";
	}
	// The folder relative to the program, with its leading ".." steps
	// taken, so that messages show a plain path.
	std::string folder = program;
	std::string relative = QUORVEL_INSTALLED_TRANSLATORS;
	while (relative.compare(0, 3, "../") == 0) {
		folder = Parent(folder);
		relative.erase(0, 3);
	}
	return folder == "/" ? "/" + relative : folder + "/" + relative;
}

std::string TranslatorSearchPath(const std::string &option)
{
	if (!option.empty()) {
		return option;
	}
	const char *environment = getenv("TRANSLATORS_PATH");
	if (environment != NULL && environment[0] != '\0') {
		return environment;
	}
	// With TRANSLATORS_PATH unset, the kit's default is the user's add-on
	// folder. It is left out when missing, as most users have none, so
	// that messages name only the folders that matter.
	std::string user = BPrivate::DefaultTranslatorPath();
	std::string bundled = BundledTranslatorsFolder();
	if (user.empty() || !Exists(user, S_IFDIR)) {
		return bundled;
	}
	return user + ":" + bundled;
}
