#include <GraphicsDefs.h>

const uint8 B_TRANSPARENT_MAGIC_CMAP8 = 0xff;

const struct screen_id B_MAIN_SCREEN_ID = {0};
