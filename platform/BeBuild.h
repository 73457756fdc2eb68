// Symbol visibility for libraries and add-ons.
#ifndef _BE_BUILD_H
#define _BE_BUILD_H

#define _EXPORT __attribute__((visibility("default")))
#define _IMPORT

#endif // _BE_BUILD_H
