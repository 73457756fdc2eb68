// The platform's default 8-bit system colour map, the colours of the main
// screen. The table is generated at build time from system-palette.txt.
#ifndef _SYSTEM_PALETTE_H
#define _SYSTEM_PALETTE_H

#include <GraphicsDefs.h>

namespace BPrivate {

// Entry 255 is B_TRANSPARENT_MAGIC_CMAP8: white with alpha 0.
extern const rgb_color kSystemPalette[256];

} // namespace BPrivate

#endif // _SYSTEM_PALETTE_H
