#include "TranslatorPath.h"

#include "XdgBaseDirectory.h"

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>

namespace BPrivate {

namespace {

// stat() follows symbolic links, so a link to an add-on counts as the
// add-on.
bool StatEntry(const std::string &path, struct stat *info)
{
	return stat(path.c_str(), info) == 0;
}


std::vector<std::string> RegularFilesIn(const std::string &folder)
{
	std::vector<std::string> names;
	DIR *dir = opendir(folder.c_str());
	if (dir == NULL) {
		return names;
	}
	while (struct dirent *entry = readdir(dir)) {
		std::string name = entry->d_name;
		if (name == "." || name == "..") {
			continue;
		}
		struct stat info;
		if (StatEntry(folder + "/" + name, &info) && S_ISREG(info.st_mode)) {
			names.push_back(name);
		}
	}
	closedir(dir);

	std::sort(names.begin(), names.end());
	for (std::string &name : names) {
		name = folder + "/" + name;
	}
	return names;
}


} // namespace


std::vector<std::string>
ExpandTranslatorPath(const char *loadPath)
{
	std::vector<std::string> result;
	if (loadPath == NULL) {
		return result;
	}

	std::string list = loadPath;
	size_t start = 0;
	while (start <= list.size()) {
		size_t end = list.find(':', start);
		if (end == std::string::npos) {
			end = list.size();
		}
		std::string entry = list.substr(start, end - start);
		start = end + 1;

		struct stat info;
		if (entry.empty() || !StatEntry(entry, &info)) {
			continue;
		}
		if (S_ISDIR(info.st_mode)) {
			std::vector<std::string> files = RegularFilesIn(entry);
			result.insert(result.end(), files.begin(), files.end());
		} else if (S_ISREG(info.st_mode)) {
			result.push_back(entry);
		}
	}
	return result;
}


std::string
DefaultTranslatorPath()
{
	const char *path = getenv("TRANSLATORS_PATH");
	if (path != NULL && path[0] != '\0') {
		return path;
	}
	std::string dataHome = XdgBaseDirectory("XDG_DATA_HOME", ".local/share");
	if (dataHome.empty()) {
		return dataHome;
	}
	return dataHome + "/TranslationKit/translators";
}

} // namespace BPrivate
