#include "ErrnoStatus.h"

#include <errno.h>

namespace BPrivate {

status_t StatusForErrno(int error)
{
	switch (error) {
		case ENOENT:
			return B_ENTRY_NOT_FOUND;
		case EACCES:
		case EPERM:
			return B_PERMISSION_DENIED;
		case ENOSPC:
		case EDQUOT:
			return B_DEVICE_FULL;
		case EFBIG:
			return B_FILE_TOO_LARGE;
		case EISDIR:
			return B_IS_A_DIRECTORY;
		case EEXIST:
			return B_FILE_EXISTS;
		case ENOTDIR:
			return B_NOT_A_DIRECTORY;
		case ENAMETOOLONG:
			return B_NAME_TOO_LONG;
		case EROFS:
			return B_READ_ONLY_DEVICE;
		case EXDEV:
			return B_CROSS_DEVICE_LINK;
		case EMFILE:
		case ENFILE:
			return B_NO_MORE_FDS;
		case ELOOP:
			return B_LINK_LIMIT;
		case ENOMEM:
			return B_NO_MEMORY;
		case EINVAL:
			return B_BAD_VALUE;
		case EBADF:
			return B_FILE_ERROR;
		case EIO:
			return B_IO_ERROR;
		case EINTR:
			return B_INTERRUPTED;
		default:
			return B_ERROR;
	}
}

} // namespace BPrivate
