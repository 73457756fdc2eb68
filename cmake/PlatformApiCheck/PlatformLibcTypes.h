// Forced into every file compiled against the platform's real headers
// with glibc's C library: the platform's own C library headers provide
// these two, which its kit headers use.
#include <config/types.h>
typedef __haiku_addr_t addr_t;
