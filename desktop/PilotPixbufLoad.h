// One Pilot image loaded for gdk-pixbuf, from the bytes it hands over in
// pieces. The Pilot rules are all the codec's (PilotCodec.h): this only
// keeps the bytes, asks the codec what they hold as soon as the headers
// are in, and draws the bitmap stream the codec writes into a pixbuf.
//
// As soon as the codec recognises the headers the pixbuf's size is agreed
// with the caller (a thumbnailer asks for a smaller one) and checked
// against the limits; bytes past the most the picture can use are not
// kept. At the end the pixbuf is made, white, within what the bytes kept
// substantiate, and handed over; the codec reads the picture into it, what
// a cut-short file lacks staying white, and it is reported updated.
#ifndef QUORVEL_PILOT_PIXBUF_LOAD_H
#define QUORVEL_PILOT_PIXBUF_LOAD_H

#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#undef GDK_PIXBUF_ENABLE_BACKEND

#include <DataIO.h>

#include "PixelLimit.h"

// What the caller of a load gave gdk-pixbuf's begin_load.
struct PixbufCallbacks {
	GdkPixbufModuleSizeFunc size;
	GdkPixbufModulePreparedFunc prepared;
	GdkPixbufModuleUpdatedFunc updated;
	gpointer userData;
};

class PilotPixbufLoad {
public:
	// limit is quorvel's, as its environment sets it (PixelLimit.h).
	explicit PilotPixbufLoad(const PixbufCallbacks &callbacks,
		const PixelLimit &limit = PixelLimit());
	~PilotPixbufLoad();

	// False, with error set, once the bytes cannot be a picture we load.
	bool Append(const uint8 *bytes, size_t size, GError **error);
	// Reads the picture into the pixbuf. False, with error set, when there
	// is none.
	bool Finish(GError **error);

	// The pixbuf, once Finish made it; the load keeps its reference.
	GdkPixbuf *Pixbuf() const { return fPixbuf; }

private:
	PilotPixbufLoad(const PilotPixbufLoad &);
	PilotPixbufLoad &operator=(const PilotPixbufLoad &);

	// Asks the codec about the bytes so far; once it recognises them,
	// agrees the pixbuf's size with the caller.
	bool TryIdentify(bool final, GError **error);
	bool AgreeSize(GError **error);
	bool PreparePixbuf(GError **error);
	bool ReadPicture(GError **error);

	PixbufCallbacks fCallbacks;
	PixelLimit fLimit;
	BMallocIO fBytes;
	bool fIdentified = false;
	// Once a piece was refused, the load is over.
	bool fFailed = false;
	// How many bytes the picture can use at most, once identified.
	uint64 fUsefulBytes = 0;
	uint32 fWidth = 0;
	uint32 fHeight = 0;
	// The pixbuf's, as agreed.
	uint32 fOutWidth = 0;
	uint32 fOutHeight = 0;
	GdkPixbuf *fPixbuf = NULL;
};

#endif // QUORVEL_PILOT_PIXBUF_LOAD_H
