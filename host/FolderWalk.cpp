#include "FolderWalk.h"

#include <errno.h>
#include <fts.h>
#include <string.h>
#include <sys/stat.h>

#include <memory>

#include "InputFile.h"

namespace {

// Siblings by name, byte for byte: the order of the sorted paths.
int ByName(const FTSENT **a, const FTSENT **b)
{
	return strcmp((*a)->fts_name, (*b)->fts_name);
}

bool IsHidden(const FTSENT &entry)
{
	return entry.fts_name[0] == '.';
}

// A symbolic link is walked as the file it leads to, when that is a
// regular file; a link to nothing is no file.
bool LeadsToRegularFile(const FTSENT &entry)
{
	struct stat status;
	return stat(entry.fts_path, &status) == 0 && S_ISREG(status.st_mode);
}

// How much of the walked folder's path its entries' paths begin with:
// fts joins a name to a path ending in '/' without adding another.
size_t PathBelowLength(const FTSENT &root)
{
	size_t length = strlen(root.fts_path);
	return length > 0 && root.fts_path[length - 1] == '/' ? length - 1
		: length;
}

// The entry's folder, relative to the walked one: its path between the
// walked folder's path and its own name.
std::string Subfolder(const FTSENT &entry, size_t rootLength)
{
	size_t pathLength = strlen(entry.fts_path);
	size_t nameLength = strlen(entry.fts_name);
	if (entry.fts_level <= FTS_ROOTLEVEL + 1
		|| pathLength < rootLength + nameLength + 2) {
		return "";
	}
	size_t folderEnd = pathLength - nameLength - 1;
	return std::string(entry.fts_path + rootLength + 1,
		folderEnd - rootLength - 1);
}

} // namespace

std::string WalkFolder(const std::string &folder,
	const FolderVisitor &visitor)
{
	std::string root = folder;
	char *roots[] = {&root[0], NULL};
	// FTS_NOCHDIR: the files are opened by their paths while the walk
	// goes on, and later by the jobs, from the user's own folder. fts
	// holds the entries of the folders on the way down, each by its name,
	// and one buffer for the path.
	std::unique_ptr<FTS, int (*)(FTS *)> walk(fts_open(roots,
		FTS_PHYSICAL | FTS_COMFOLLOW | FTS_NOCHDIR, ByName), fts_close);
	if (!walk) {
		return "cannot walk '" + folder + "': " + DescribeError(errno);
	}
	size_t rootLength = 0;
	errno = 0;
	for (FTSENT *entry; (entry = fts_read(walk.get())) != NULL;) {
		std::string reason;
		switch (entry->fts_info) {
			case FTS_D:
				if (entry->fts_level == FTS_ROOTLEVEL) {
					rootLength = PathBelowLength(*entry);
				}
				break;
			case FTS_DNR:
				visitor.unreadable(entry->fts_path, true, entry->fts_errno);
				break;
			case FTS_ERR:
			case FTS_NS:
				visitor.unreadable(entry->fts_path, false, entry->fts_errno);
				break;
			case FTS_F:
			case FTS_SL:
				if (!IsHidden(*entry) && (entry->fts_info == FTS_F
						|| LeadsToRegularFile(*entry))) {
					reason = visitor.file(entry->fts_path,
						Subfolder(*entry, rootLength));
				}
				break;
		}
		if (!reason.empty()) {
			return reason;
		}
		errno = 0;
	}
	if (errno != 0) {
		return "cannot walk '" + folder + "': " + DescribeError(errno);
	}
	return "";
}
