#include "StandardDescriptors.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

bool HoldStandardDescriptorsOpen()
{
	for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; fd++) {
		if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
			continue;
		}
		// The lowest free number is fd itself: those below it are open.
		int opened = open("/dev/null", (fd == STDIN_FILENO ? O_WRONLY
			: O_RDONLY) | O_NOCTTY);
		if (opened != fd) {
			return false;
		}
	}
	return true;
}
