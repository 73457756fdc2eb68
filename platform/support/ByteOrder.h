// Conversions between host byte order and the little- and big-endian
// forms that files and streams use.
#ifndef _BYTE_ORDER_H
#define _BYTE_ORDER_H

#include <SupportDefs.h>
#include <TypeConstants.h>

typedef enum {
	B_SWAP_HOST_TO_LENDIAN,
	B_SWAP_HOST_TO_BENDIAN,
	B_SWAP_LENDIAN_TO_HOST,
	B_SWAP_BENDIAN_TO_HOST,
	B_SWAP_ALWAYS
} swap_action;

// Converts length bytes at data in place. The type decides the width of
// each element: 16-, 32- and 64-bit integers, floats, doubles, and the
// four floats of a rectangle. B_BAD_VALUE for a type it cannot swap or a
// length that is not a whole number of elements.
extern "C" status_t swap_data(type_code type, void *data, size_t length,
	swap_action action);
extern "C" bool is_type_swapped(type_code type);

static inline uint16 __swap_int16(uint16 value)
{
	return __builtin_bswap16(value);
}
static inline uint32 __swap_int32(uint32 value)
{
	return __builtin_bswap32(value);
}
static inline uint64 __swap_int64(uint64 value)
{
	return __builtin_bswap64(value);
}

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define B_HOST_IS_LENDIAN 1
#define B_HOST_IS_BENDIAN 0
#define B_HOST_TO_BENDIAN_INT16(v) __swap_int16(v)
#define B_HOST_TO_BENDIAN_INT32(v) __swap_int32(v)
#define B_HOST_TO_BENDIAN_INT64(v) __swap_int64(v)
#define B_BENDIAN_TO_HOST_INT16(v) __swap_int16(v)
#define B_BENDIAN_TO_HOST_INT32(v) __swap_int32(v)
#define B_BENDIAN_TO_HOST_INT64(v) __swap_int64(v)
#define B_HOST_TO_LENDIAN_INT16(v) (uint16)(v)
#define B_HOST_TO_LENDIAN_INT32(v) (uint32)(v)
#define B_HOST_TO_LENDIAN_INT64(v) (uint64)(v)
#define B_LENDIAN_TO_HOST_INT16(v) (uint16)(v)
#define B_LENDIAN_TO_HOST_INT32(v) (uint32)(v)
#define B_LENDIAN_TO_HOST_INT64(v) (uint64)(v)
#else
#define B_HOST_IS_LENDIAN 0
#define B_HOST_IS_BENDIAN 1
#define B_HOST_TO_BENDIAN_INT16(v) (uint16)(v)
#define B_HOST_TO_BENDIAN_INT32(v) (uint32)(v)
#define B_HOST_TO_BENDIAN_INT64(v) (uint64)(v)
#define B_BENDIAN_TO_HOST_INT16(v) (uint16)(v)
#define B_BENDIAN_TO_HOST_INT32(v) (uint32)(v)
#define B_BENDIAN_TO_HOST_INT64(v) (uint64)(v)
#define B_HOST_TO_LENDIAN_INT16(v) __swap_int16(v)
#define B_HOST_TO_LENDIAN_INT32(v) __swap_int32(v)
#define B_HOST_TO_LENDIAN_INT64(v) __swap_int64(v)
#define B_LENDIAN_TO_HOST_INT16(v) __swap_int16(v)
#define B_LENDIAN_TO_HOST_INT32(v) __swap_int32(v)
#define B_LENDIAN_TO_HOST_INT64(v) __swap_int64(v)
#endif

#endif // _BYTE_ORDER_H
