// Open modes for files.
#ifndef _STORAGE_DEFS_H
#define _STORAGE_DEFS_H

#include <fcntl.h>

// The platform's values. Its headers take them from its C library
// (NAME_MAX, MAXPATHLEN); compiled with glibc's they would read 255 and 4096.
#define B_FILE_NAME_LENGTH 256
#define B_PATH_NAME_LENGTH 1024

enum {
	B_READ_ONLY = O_RDONLY,
	B_WRITE_ONLY = O_WRONLY,
	B_READ_WRITE = O_RDWR,

	B_FAIL_IF_EXISTS = O_EXCL,
	B_CREATE_FILE = O_CREAT,
	B_ERASE_FILE = O_TRUNC,
	B_OPEN_AT_END = O_APPEND
};

#endif // _STORAGE_DEFS_H
