// Colours, colour spaces and the 8-bit colour map.
#ifndef _GRAPHICS_DEFS_H
#define _GRAPHICS_DEFS_H

#include <SupportDefs.h>

typedef struct rgb_color {
	uint8 red;
	uint8 green;
	uint8 blue;
	uint8 alpha;
} rgb_color;

// The colour map of an 8-bit screen: 256 colours, the index of each
// colour's inverse, and the index nearest to every 15-bit colour
// (red in bits 14-10, green 9-5, blue 4-0).
typedef struct color_map {
	int32 id;
	rgb_color color_list[256];
	uint8 inversion_map[256];
	uint8 index_map[32768];
} color_map;

// 0xff, defined in libbe as in the platform's kit.
extern const uint8 B_TRANSPARENT_MAGIC_CMAP8;

struct screen_id {
	int32 id;
};

extern const struct screen_id B_MAIN_SCREEN_ID;

// Fixed at 32 bits, the size it has in every stream and structure, so that
// any number read into one is a valid value.
typedef enum : uint32 {
	B_NO_COLOR_SPACE = 0x0000,
	B_RGB24 = 0x0003,
	B_RGB32 = 0x0008,
	B_RGBA32 = 0x2008,
	B_RGB16 = 0x0005,
	B_RGB15 = 0x0010,
	B_RGBA15 = 0x2010,
	B_CMAP8 = 0x0004,
	B_GRAY8 = 0x0002,
	B_GRAY1 = 0x0001,

	B_RGB24_BIG = 0x1003,
	B_RGB32_BIG = 0x1008,
	B_RGBA32_BIG = 0x3008,
	B_RGB16_BIG = 0x1005,
	B_RGB15_BIG = 0x1010,
	B_RGBA15_BIG = 0x3010
} color_space;

#endif // _GRAPHICS_DEFS_H
