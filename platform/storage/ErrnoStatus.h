// The platform's status for an errno, for the stand-ins that call the
// host system directly (on the platform itself errno values already are
// status codes).
#ifndef _ERRNO_STATUS_H
#define _ERRNO_STATUS_H

#include <SupportDefs.h>

namespace BPrivate {

// B_ERROR for an errno without a status of its own.
status_t StatusForErrno(int error);

} // namespace BPrivate

#endif // _ERRNO_STATUS_H
