// The desktop's gdk-pixbuf loader on any bytes, driven as gdk-pixbuf
// drives it. The input's last byte chooses the size the caller asks for
// (its own, or a fraction of it down to nothing) and the pieces the bytes
// come in; the rest is the file. A load ends with a pixbuf of the size
// agreed, never above the pixel limit, or with an error; the sanitizers
// catch any read or write outside a buffer.
#include <stdlib.h>

#include <algorithm>

#include "PilotPixbufLoad.h"

namespace {

// Which share of the picture's size to ask for, in sixteenths: 0 asks for
// nothing, 16 for the picture as it is.
void AskShare(int *width, int *height, gpointer data)
{
	const int share = *static_cast<const int *>(data);
	*width = *width * share / 16;
	*height = *height * share / 16;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	if (size == 0) {
		return 0;
	}
	const uint8 choice = data[size - 1];
	size--;
	int share = choice & 0x1F;
	share = share > 16 ? 16 : share;
	const size_t chunk = (size_t)1 << ((choice >> 5) * 2);

	PilotPixbufLoad load(PixbufCallbacks{AskShare, NULL, NULL, &share});
	GError *error = NULL;
	bool going = true;
	for (size_t at = 0; going && at < size; at += chunk) {
		going = load.Append(data + at, std::min(chunk, size - at), &error);
	}
	const bool loaded = load.Finish(going ? &error : NULL);
	if (loaded) {
		GdkPixbuf *pixbuf = load.Pixbuf();
		const int64 pixels = (int64)gdk_pixbuf_get_width(pixbuf)
			* gdk_pixbuf_get_height(pixbuf);
		if (pixels <= 0 || (uint64)pixels > kDefaultMaxPixels
			|| error != NULL) {
			abort();
		}
	} else if (going && error == NULL) {
		// A failure always says why.
		abort();
	}
	if (error != NULL) {
		g_error_free(error);
	}
	return 0;
}
