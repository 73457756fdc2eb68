// The files of a folder and of its subfolders, for a batch that mirrors
// the tree: in the order of their paths sorted, each with its folder
// relative to the walked one. Only the folders on the way down are held,
// each by its own name, so memory follows the depth of the tree, and a
// folder or file that cannot be read is said, not passed over.
#ifndef QUORVEL_HOST_FOLDER_WALK_H
#define QUORVEL_HOST_FOLDER_WALK_H

#include <functional>
#include <string>

struct FolderVisitor {
	// A regular file, or a symbolic link to one, whose name does not start
	// with '.'; subfolder is "" in the walked folder itself. A reason
	// returned (not empty) ends the walk.
	std::function<std::string(const std::string &path,
		const std::string &subfolder)> file;
	// A folder that cannot be opened or a file that cannot be looked at
	// (permission denied, a path longer than PATH_MAX): error is the errno.
	// Nothing below such a folder is seen.
	std::function<void(const std::string &path, bool isFolder, int error)>
		unreadable;
};

// Walks folder; symbolic links to folders are not followed. Empty when
// the walk went to the end, else the visitor's reason or the system's.
std::string WalkFolder(const std::string &folder,
	const FolderVisitor &visitor);

#endif // QUORVEL_HOST_FOLDER_WALK_H
