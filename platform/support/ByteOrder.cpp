#include <ByteOrder.h>

#include <string.h>

// The width in bytes of one element of a type that has a byte order: 1 for
// single bytes (nothing to swap), 0 for a type with no known layout.
// Sizes, ssize_t and time values are 32-bit, as on the platform's 32-bit
// x86, so that data written there converts the same here. A rectangle is
// four floats and a point two, swapped float by float.
static size_t element_width(type_code type)
{
	switch (type) {
		case B_BOOL_TYPE:
		case B_CHAR_TYPE:
		case B_INT8_TYPE:
		case B_UINT8_TYPE:
			return 1;
		case B_INT16_TYPE:
		case B_UINT16_TYPE:
			return 2;
		case B_INT32_TYPE:
		case B_UINT32_TYPE:
		case B_FLOAT_TYPE:
		case B_SIZE_T_TYPE:
		case B_SSIZE_T_TYPE:
		case B_TIME_TYPE:
		case B_RECT_TYPE:
		case B_POINT_TYPE:
			return 4;
		case B_INT64_TYPE:
		case B_UINT64_TYPE:
		case B_DOUBLE_TYPE:
		case B_OFF_T_TYPE:
			return 8;
		default:
			return 0;
	}
}

// The bytes that make up one whole value: a length must be a multiple of
// it, so that a rectangle is never half converted.
static size_t value_size(type_code type, size_t width)
{
	switch (type) {
		case B_RECT_TYPE:
			return 4 * width;
		case B_POINT_TYPE:
			return 2 * width;
		default:
			return width;
	}
}

static bool action_swaps(swap_action action, bool *swaps)
{
	switch (action) {
		case B_SWAP_HOST_TO_LENDIAN:
		case B_SWAP_LENDIAN_TO_HOST:
			*swaps = B_HOST_IS_BENDIAN;
			return true;
		case B_SWAP_HOST_TO_BENDIAN:
		case B_SWAP_BENDIAN_TO_HOST:
			*swaps = B_HOST_IS_LENDIAN;
			return true;
		case B_SWAP_ALWAYS:
			*swaps = true;
			return true;
	}
	return false;
}

// The data need not be aligned for its type, so every element goes through
// memcpy rather than a cast pointer.
static void swap_elements(uint8 *bytes, size_t length, size_t width)
{
	for (size_t offset = 0; offset < length; offset += width) {
		uint8 *element = bytes + offset;
		if (width == 2) {
			uint16 value;
			memcpy(&value, element, sizeof(value));
			value = __swap_int16(value);
			memcpy(element, &value, sizeof(value));
		} else if (width == 4) {
			uint32 value;
			memcpy(&value, element, sizeof(value));
			value = __swap_int32(value);
			memcpy(element, &value, sizeof(value));
		} else {
			uint64 value;
			memcpy(&value, element, sizeof(value));
			value = __swap_int64(value);
			memcpy(element, &value, sizeof(value));
		}
	}
}

status_t swap_data(type_code type, void *data, size_t length,
	swap_action action)
{
	size_t width = element_width(type);
	bool swaps = false;
	if (width == 0 || !action_swaps(action, &swaps)) {
		return B_BAD_VALUE;
	}
	if (length % value_size(type, width) != 0) {
		return B_BAD_VALUE;
	}
	if (length > 0 && data == NULL) {
		return B_BAD_VALUE;
	}
	if (swaps && width > 1) {
		swap_elements(static_cast<uint8 *>(data), length, width);
	}
	return B_OK;
}

bool is_type_swapped(type_code type)
{
	return element_width(type) != 0;
}
