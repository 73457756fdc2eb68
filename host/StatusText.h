// The platform's status codes in the user's words, for messages that
// would otherwise show a constant's name or a bare number.
#ifndef QUORVEL_HOST_STATUS_TEXT_H
#define QUORVEL_HOST_STATUS_TEXT_H

#include <string>

#include <SupportDefs.h>

// "permission denied", "disk full", ...; a status without words of its
// own is called "unexpected error" with the kit it comes from.
std::string DescribeStatus(status_t status);

#endif // QUORVEL_HOST_STATUS_TEXT_H
